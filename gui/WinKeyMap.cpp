#include "WinKeyMap.h"

#include <windows.h>

#include "KeyCode.h"

int WinKeyMap::KeyCode(unsigned virtualKey)
{
  switch (virtualKey)
  {
    case VK_SPACE:
      return kKeySpace;
    case VK_UP:
      return kKeyUp;
    case VK_DOWN:
      return kKeyDown;
    case VK_LEFT:
      return kKeyLeft;
    case VK_RIGHT:
      return kKeyRight;
    default:
      break;
  }
  if (virtualKey >= 0x30 && virtualKey <= 0x39) return (int)virtualKey - 0x30 + kKeyDigit0;
  if (virtualKey >= 0x41 && virtualKey <= 0x5A) return (int)virtualKey - 0x41 + kKeyA;
  if (virtualKey >= 0x61 && virtualKey <= 0x7A) return (int)virtualKey - 0x61 + kKeyA;
  return -1;
}
