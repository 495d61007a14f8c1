#include <gtest/gtest.h>

#include <string>

#include "FailingAllocator.h"
#include "PlugString.h"

TEST(PlugString, SetAtPositionReplacesTheRest)
{
  PlugString s("abcdef");
  s.Set(3, "xyz", 2);
  EXPECT_STREQ(s.Get(), "abcxy");
  s.Set(5, "12345", 5);
  EXPECT_STREQ(s.Get(), "abcxy12345");
}

TEST(PlugString, ZeroLengthEmptiesOnlyFromStart)
{
  PlugString s("abcdef");
  s.Set(2, "q", 0);
  EXPECT_STREQ(s.Get(), "abcdef");
  s.Set(-1, "q", 1);
  s.Set(1, "q", -1);
  EXPECT_STREQ(s.Get(), "abcdef");
  s.Set(0, "q", 0);
  EXPECT_STREQ(s.Get(), "");
}

TEST(PlugString, SetFromItsOwnCharactersAcrossGrowth)
{
  PlugString s("0123456789");
  std::string expected = "0123456789";
  for (int round = 0; round < 6; ++round)
  {
    // Appends a copy of itself; every few rounds the block has to move.
    const int len = s.GetLength();
    s.Set(len, s.Get(), len);
    expected += expected;
    ASSERT_EQ(std::string(s.Get()), expected);
  }
  s.Set(0, s.Get() + 5, 3);
  EXPECT_STREQ(s.Get(), "567");
}

TEST(PlugString, PositionBeyondTheEndLeavesNulGap)
{
  PlugString s;
  s.Set(4, "z", 1);
  EXPECT_STREQ(s.Get(), "");
  PlugString t("ab");
  t.Set(6, "z", 1);
  EXPECT_STREQ(t.Get(), "ab");
}

TEST(PlugString, FailedGrowthLeavesStringUnchanged)
{
  FailingAllocator alloc;
  PlugString s("short", &alloc);
  alloc.FailAll(true);
  const std::string longText(500, 'x');
  s.Set(longText.c_str());
  EXPECT_STREQ(s.Get(), "short");
  s.Set("ok");
  EXPECT_STREQ(s.Get(), "ok");
}
