#pragma once

#include <memory>

#include "PlugString.h"

class IMenu;

// One entry of a popup menu: its text, its flags and an optional submenu, which the
// item owns.
class IMenuItem
{
public:
  enum Flags
  {
    kGrayed = 1,
    kDisabled = 2,
    kChecked = 4,
    kSeparator = 8
  };

  // Takes ownership of submenu (may be null).
  explicit IMenuItem(const char* text, int flags = 0, IMenu* submenu = nullptr);
  ~IMenuItem();

  IMenuItem(const IMenuItem&) = delete;
  IMenuItem& operator=(const IMenuItem&) = delete;

  const char* GetText() const { return mText.Get(); }
  void SetText(const char* text) { mText.Set(text); }
  int GetFlags() const { return mFlags; }
  void SetFlags(int flags) { mFlags = flags; }
  bool IsChecked() const { return (mFlags & kChecked) != 0; }
  bool IsSeparator() const { return (mFlags & kSeparator) != 0; }
  IMenu* GetSubmenu() const { return mSubmenu.get(); }

private:
  PlugString mText;
  std::unique_ptr<IMenu> mSubmenu;
  int mFlags;
};
