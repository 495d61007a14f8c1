#pragma once

// Buttons and keys held during a mouse event: left and right button, shift,
// control, alt.
struct IMouseModifiers
{
  bool L = false, R = false, S = false, C = false, A = false;
};
