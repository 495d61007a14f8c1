#pragma once

// The editor's key codes (KeyCode.h) for Windows virtual keys: space, the arrows,
// the digit keys 0x30..0x39, the letter keys 0x41..0x5A and the range 0x61..0x7A,
// which reads as the letters again.
class WinKeyMap
{
public:
  // The key code, or -1 for a key the editor does not know.
  static int KeyCode(unsigned virtualKey);
};
