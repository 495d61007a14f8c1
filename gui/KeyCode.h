#pragma once

// The editor's key numbering: space, the four arrows, digits 0..9 (5..14) and
// letters A..Z (15..40).
enum KeyCode
{
  kKeySpace = 0,
  kKeyUp,
  kKeyDown,
  kKeyLeft,
  kKeyRight,
  kKeyDigit0 = 5,
  kKeyDigit9 = 14,
  kKeyA = 15,
  kKeyZ = 40
};
