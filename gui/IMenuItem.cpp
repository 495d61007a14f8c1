#include "IMenuItem.h"

#include "IMenu.h"

IMenuItem::IMenuItem(const char* text, int flags, IMenu* submenu)
  : mText(text)
  , mSubmenu(submenu)
  , mFlags(flags)
{
}

IMenuItem::~IMenuItem() = default;
