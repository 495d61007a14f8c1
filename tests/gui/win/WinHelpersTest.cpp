#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "IParamRecord.h"
#include "WinFileFilter.h"
#include "WinKeyMap.h"
#include "WinTextEntry.h"

TEST(WinKeyMapTest, RangesMapToKeyCodes)
{
  EXPECT_EQ(WinKeyMap::KeyCode(VK_SPACE), 0);
  EXPECT_EQ(WinKeyMap::KeyCode(VK_RIGHT), 4);
  EXPECT_EQ(WinKeyMap::KeyCode(0x30), 5);
  EXPECT_EQ(WinKeyMap::KeyCode(0x39), 14);
  EXPECT_EQ(WinKeyMap::KeyCode(0x5A), 40);
  EXPECT_EQ(WinKeyMap::KeyCode(0x7A), 40);
  EXPECT_EQ(WinKeyMap::KeyCode(0x60), -1);
  EXPECT_EQ(WinKeyMap::KeyCode(0x7B), -1);
  EXPECT_EQ(WinKeyMap::KeyCode(0x40), -1);
}

TEST(WinFileFilterTest, ExtensionsBecomeOneFilterOfAnyLength)
{
  const WinFileFilter filter("png jpg");
  EXPECT_EQ(std::string(filter.Filter(), 24), std::string("*.png;*.jpg\0*.png;*.jpg\0", 24));
  EXPECT_EQ(filter.Filter()[24], '\0');
  EXPECT_STREQ(filter.DefaultExtension(), "png");

  std::string list, patterns;
  for (int i = 0; i < 40; ++i)
  {
    const std::string extension = "extension" + std::to_string(i);
    list += extension + " ";
    patterns += (i ? ";*." : "*.") + extension;
  }
  const WinFileFilter longFilter(("  " + list).c_str());
  EXPECT_EQ(longFilter.Patterns(), patterns);
  EXPECT_STREQ(longFilter.DefaultExtension(), "extension0");

  EXPECT_EQ(WinFileFilter("").Filter(), nullptr);
  EXPECT_EQ(WinFileFilter(nullptr).DefaultExtension(), nullptr);
}

TEST(WinTextEntryTest, EnumerationTextsAndNegatedNumbersGiveTheirPlainValues)
{
  IParamRecord mode;
  mode.DefineEnum("Mode", 0, 3);
  mode.AddDisplayText(0, "Off");
  mode.AddDisplayText(2, "Hot");
  EXPECT_EQ(WinTextEntry::PlainValueFromText(mode, "Hot"), 2.0);
  EXPECT_EQ(WinTextEntry::PlainValueFromText(mode, "hot"), 0.0);
  EXPECT_EQ(WinTextEntry::PlainValueFromText(mode, "2"), 0.0);

  IParamRecord gain;
  gain.DefineContinuous("Gain", 0.0, -10.0, 10.0, 0.1);
  EXPECT_EQ(WinTextEntry::PlainValueFromText(gain, "2.5dB"), 2.5);
  gain.SetNegateDisplay(true);
  EXPECT_EQ(WinTextEntry::PlainValueFromText(gain, "2.5"), -2.5);
}
