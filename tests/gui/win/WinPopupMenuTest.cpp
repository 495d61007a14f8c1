#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "IMenu.h"
#include "IMenuItem.h"
#include "WinPopupMenu.h"

// Command IDs of a built menu, read back from Win32 without tracking it.

namespace
{
std::string TextOf(HMENU menu, UINT id)
{
  char text[128] = "";
  GetMenuStringA(menu, id, text, sizeof(text), MF_BYCOMMAND);
  return text;
}
}  // namespace

TEST(WinPopupMenuTest, MenusReserveTheirIdsBeforeTheirSubmenusDepthFirst)
{
  // top: a, b > (b1 > (deep), b2), separator, c > (c1)
  IMenu top(IMenu::kNumbering2);
  top.AddItem("a", IMenuItem::kChecked | IMenuItem::kGrayed);
  IMenu* b = new IMenu();
  IMenu* deep = new IMenu(IMenu::kNumbering1);
  deep->AddItem("deep");
  b->AddItem(new IMenuItem("b1", 0, deep));
  b->AddItem("b2", IMenuItem::kDisabled);
  top.AddItem(new IMenuItem("b", 0, b));
  top.AddSeparator();
  IMenu* c = new IMenu(IMenu::kNumbering3);
  c->AddItem("c1");
  top.AddItem(new IMenuItem("c", 0, c));

  WinPopupMenu popup;
  ASSERT_TRUE(popup.Build(top));
  HMENU handle = popup.Handle();
  // top 0..3, b 4..5, deep 6, c 7
  EXPECT_EQ(TextOf(handle, 0), "01: a");
  EXPECT_EQ(GetMenuState(handle, 0, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), (UINT)(MF_CHECKED | MF_GRAYED));
  EXPECT_EQ(GetMenuItemCount(handle), 4);
  EXPECT_NE(GetSubMenu(handle, 1), nullptr);
  EXPECT_EQ(TextOf(handle, 5), "b2");
  EXPECT_TRUE(GetMenuState(handle, 5, MF_BYCOMMAND) & MF_DISABLED);
  EXPECT_EQ(TextOf(handle, 6), "1: deep");
  EXPECT_EQ(TextOf(handle, 7), "001: c1");
  EXPECT_EQ(GetMenuState(handle, 8, MF_BYCOMMAND), (UINT)-1);

  EXPECT_EQ(popup.Choose(2), &top);
  EXPECT_EQ(top.GetChosenIndex(), 2);
  EXPECT_EQ(popup.Choose(5), b);
  EXPECT_EQ(b->GetChosenIndex(), 1);
  EXPECT_EQ(popup.Choose(6), deep);
  EXPECT_EQ(deep->GetChosenIndex(), 0);
  EXPECT_EQ(popup.Choose(7), c);
  EXPECT_EQ(c->GetChosenIndex(), 0);
  EXPECT_EQ(popup.Choose(8), nullptr);
  EXPECT_EQ(popup.Choose(-1), nullptr);
}
