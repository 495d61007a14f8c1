#include "WinPopupMenu.h"

#include <windows.h>

#include <cstdio>

#include "IMenu.h"
#include "IMenuItem.h"

WinPopupMenu::~WinPopupMenu()
{
  Destroy();
}

void WinPopupMenu::Destroy()
{
  if (mHandle) DestroyMenu(mHandle);
  mHandle = nullptr;
  mNextId = 0;
  mRanges.clear();
}

bool WinPopupMenu::Build(IMenu& menu)
{
  Destroy();
  mHandle = BuildMenu(menu);
  return mHandle != nullptr;
}

HMENU WinPopupMenu::BuildMenu(IMenu& menu)
{
  HMENU handle = CreatePopupMenu();
  if (!handle) return nullptr;
  const int first = mNextId;
  mNextId += menu.NItems();
  mRanges.push_back(Range{&menu, first});
  for (int i = 0; i < menu.NItems(); ++i) AppendItem(handle, menu, i, first + i);
  return handle;
}

static void ItemText(const IMenu& menu, const IMenuItem& item, int position, char* out, size_t outSize)
{
  static const char* const kFormats[] = {"%s", "%1d: %s", "%02d: %s", "%03d: %s"};
  const int numbering = menu.GetNumbering();
  if (numbering >= 1 && numbering <= 3)
    snprintf(out, outSize, kFormats[numbering], position, item.GetText());
  else
    snprintf(out, outSize, "%s", item.GetText());
}

bool WinPopupMenu::AppendItem(HMENU handle, IMenu& menu, int index, int id)
{
  IMenuItem* item = menu.GetItem(index);
  if (!item) return false;
  if (item->IsSeparator()) return AppendMenuA(handle, MF_SEPARATOR, 0, nullptr) != 0;

  char text[1024];
  ItemText(menu, *item, index + 1, text, sizeof(text));
  if (IMenu* submenu = item->GetSubmenu())
  {
    HMENU sub = BuildMenu(*submenu);
    if (!sub) return false;
    if (AppendMenuA(handle, MF_POPUP, (UINT_PTR)sub, text)) return true;
    DestroyMenu(sub);
    return false;
  }
  UINT flags = MF_STRING;
  if (item->GetFlags() & IMenuItem::kGrayed) flags |= MF_GRAYED;
  if (item->GetFlags() & IMenuItem::kDisabled) flags |= MF_DISABLED;
  if (item->GetFlags() & IMenuItem::kChecked) flags |= MF_CHECKED;
  return AppendMenuA(handle, flags, (UINT_PTR)id, text) != 0;
}

IMenu* WinPopupMenu::Choose(int commandId)
{
  for (const Range& range : mRanges)
  {
    if (commandId >= range.first && commandId < range.first + range.menu->NItems())
    {
      range.menu->SetChosenIndex(commandId - range.first);
      return range.menu;
    }
  }
  return nullptr;
}
