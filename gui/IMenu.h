#pragma once

#include "IMenuItem.h"
#include "PtrList.h"

// A popup menu description: its items (owned), how their texts are numbered when
// shown, and the index the user chose (-1 until the platform's ShowPopupMenu sets it
// on the menu it returns).
class IMenu
{
public:
  enum Numbering
  {
    kNumberingNone = 0,
    kNumbering1 = 1,  // "%1d: %s", counted from 1
    kNumbering2 = 2,  // "%02d: %s"
    kNumbering3 = 3   // "%03d: %s"
  };

  explicit IMenu(int numbering = kNumberingNone);
  ~IMenu();

  IMenu(const IMenu&) = delete;
  IMenu& operator=(const IMenu&) = delete;

  // Appends item, taking ownership. Returns it, or null (the item deleted) when the
  // list cannot grow.
  IMenuItem* AddItem(IMenuItem* item);
  IMenuItem* AddItem(const char* text, int flags = 0);
  IMenuItem* AddSeparator();

  int NItems() const { return mItems.GetCount(); }
  // The item at index, or null outside the list.
  IMenuItem* GetItem(int index) const { return mItems.Get(index); }

  int GetNumbering() const { return mNumbering; }
  void SetNumbering(int numbering) { mNumbering = numbering; }
  int GetChosenIndex() const { return mChosenIndex; }
  void SetChosenIndex(int index) { mChosenIndex = index; }

private:
  int mNumbering;
  int mChosenIndex = -1;
  PtrList<IMenuItem> mItems;
};
