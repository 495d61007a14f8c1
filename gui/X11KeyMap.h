#pragma once

// The editor's key codes (KeyCode.h) for X11 KeySyms, the same keys the Windows layer
// maps: space, the four arrows (also those of the keypad), the digit keys 0..9 and
// the letter keys, lower or upper case alike.
class X11KeyMap
{
public:
  // The key code, or -1 for a key the editor does not know.
  static int KeyCode(unsigned long keySym);
};
