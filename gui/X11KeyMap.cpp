#include "X11KeyMap.h"

#include <X11/keysym.h>

#include "KeyCode.h"

int X11KeyMap::KeyCode(unsigned long keySym)
{
  switch (keySym)
  {
    case XK_space:
      return kKeySpace;
    case XK_Up:
    case XK_KP_Up:
      return kKeyUp;
    case XK_Down:
    case XK_KP_Down:
      return kKeyDown;
    case XK_Left:
    case XK_KP_Left:
      return kKeyLeft;
    case XK_Right:
    case XK_KP_Right:
      return kKeyRight;
    default:
      break;
  }
  if (keySym >= XK_0 && keySym <= XK_9) return (int)(keySym - XK_0) + kKeyDigit0;
  if (keySym >= XK_A && keySym <= XK_Z) return (int)(keySym - XK_A) + kKeyA;
  if (keySym >= XK_a && keySym <= XK_z) return (int)(keySym - XK_a) + kKeyA;
  return -1;
}
