#pragma once

#include <vector>

class IMenu;
typedef struct HMENU__* HMENU;

// The Win32 popup menu of an IMenu and the way back from a command ID to the menu
// and item it stands for. Each menu reserves consecutive command IDs for its own
// items (the top menu 0 .. n - 1) before its submenus are built; submenus are built
// and numbered depth first as their items are appended. Numbered menus show their
// texts as "%1d: %s", "%02d: %s" or "%03d: %s" with the position counted from 1.
// The Win32 menu lives as long as this object.
class WinPopupMenu
{
public:
  WinPopupMenu() = default;
  ~WinPopupMenu();

  WinPopupMenu(const WinPopupMenu&) = delete;
  WinPopupMenu& operator=(const WinPopupMenu&) = delete;

  // Builds the Win32 menu of menu (replacing an earlier one); false when none could
  // be made.
  bool Build(IMenu& menu);
  HMENU Handle() const { return mHandle; }

  // The menu whose ID range holds commandId with its chosen index set to the item,
  // or null when no range holds it.
  IMenu* Choose(int commandId);

private:
  struct Range
  {
    IMenu* menu;
    int first;
  };

  HMENU BuildMenu(IMenu& menu);
  // Appends item index of menu, whose command ID is id; false when it failed.
  bool AppendItem(HMENU handle, IMenu& menu, int index, int id);
  void Destroy();

  HMENU mHandle = nullptr;
  int mNextId = 0;
  std::vector<Range> mRanges;
};
