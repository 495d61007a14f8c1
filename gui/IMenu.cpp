#include "IMenu.h"

#include <new>

IMenu::IMenu(int numbering)
  : mNumbering(numbering)
{
}

IMenu::~IMenu() = default;

IMenuItem* IMenu::AddItem(IMenuItem* item)
{
  if (!item) return nullptr;
  if (!mItems.Add(item))
  {
    delete item;
    return nullptr;
  }
  return item;
}

IMenuItem* IMenu::AddItem(const char* text, int flags)
{
  return AddItem(new (std::nothrow) IMenuItem(text, flags));
}

IMenuItem* IMenu::AddSeparator()
{
  return AddItem(new (std::nothrow) IMenuItem("", IMenuItem::kSeparator));
}
