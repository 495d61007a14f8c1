#include "LICE_Utf8Reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<int> Decode(const char* text, int count)
{
  std::vector<int> codes;
  LICE_Utf8Reader reader(text, count);
  int c;
  while (reader.Next(c)) codes.push_back(c);
  return codes;
}

using Codes = std::vector<int>;

TEST(Utf8Reader, StopsAtNulOrCount)
{
  EXPECT_EQ(Decode("AB\0CD", -1), (Codes{'A', 'B'}));
  EXPECT_EQ(Decode("AB\0CD", 5), (Codes{'A', 'B'}));
  EXPECT_EQ(Decode("ABCD", 2), (Codes{'A', 'B'}));
  EXPECT_TRUE(Decode("ABCD", 0).empty());
  EXPECT_TRUE(Decode(nullptr, -1).empty());
}

TEST(Utf8Reader, DecodesWellFormedSequences)
{
  EXPECT_EQ(Decode("\xC3\xA9", -1), (Codes{0xE9}));
  EXPECT_EQ(Decode("\xE2\x82\xAC!", -1), (Codes{0x20AC, '!'}));
  EXPECT_EQ(Decode("\xEF\xBF\xBF", -1), (Codes{0xFFFF}));
  // Four-byte sequences lie beyond the 16-bit glyph range and become spaces.
  EXPECT_EQ(Decode("a\xF0\x9F\x98\x80z", -1), (Codes{'a', ' ', 'z'}));
}

TEST(Utf8Reader, MalformedBytesStandForThemselves)
{
  EXPECT_EQ(Decode("\xE9x", -1), (Codes{0xE9, 'x'}));
  EXPECT_EQ(Decode("\x80\xBF\xC0\xC1", -1), (Codes{0x80, 0xBF, 0xC0, 0xC1}));
  EXPECT_EQ(Decode("\xE2\x82"
                   "A",
                   -1),
            (Codes{0xE2, 0x82, 'A'}));
  EXPECT_EQ(Decode("\xF5\x80\x80\x80", -1), (Codes{0xF5, 0x80, 0x80, 0x80}));
  EXPECT_EQ(Decode("\xC3", -1), (Codes{0xC3}));
  // 0xC0 is accepted as a continuation byte.
  EXPECT_EQ(Decode("\xC3\xC0", -1), (Codes{0xC0}));
}

TEST(Utf8Reader, SequencesNeverReachPastTheCount)
{
  EXPECT_EQ(Decode("\xC3\xA9", 1), (Codes{0xC3}));
  EXPECT_EQ(Decode("\xE2\x82\xAC", 2), (Codes{0xE2, 0x82}));
  EXPECT_EQ(Decode("\xF0\x9F\x98\x80", 3), (Codes{0xF0, 0x9F, 0x98}));
  EXPECT_EQ(Decode("x\xC3\xA9y", 3), (Codes{'x', 0xE9}));
}

TEST(Utf8Reader, DetectsMultiByteText)
{
  EXPECT_FALSE(LICE_Utf8Reader::HasMultiByteSequence("plain ASCII", -1));
  EXPECT_FALSE(LICE_Utf8Reader::HasMultiByteSequence(nullptr, -1));
  EXPECT_TRUE(LICE_Utf8Reader::HasMultiByteSequence("caf\xC3\xA9", -1));
  EXPECT_TRUE(LICE_Utf8Reader::HasMultiByteSequence("\xE2\x82\xAC", 3));
  EXPECT_TRUE(LICE_Utf8Reader::HasMultiByteSequence("\xF0\x9F\x98", -1));
  EXPECT_FALSE(LICE_Utf8Reader::HasMultiByteSequence("\xE9x", -1));
  EXPECT_FALSE(LICE_Utf8Reader::HasMultiByteSequence("\xC3\xC0", -1));
  EXPECT_FALSE(LICE_Utf8Reader::HasMultiByteSequence("\xC3\xA9", 1));
  EXPECT_FALSE(LICE_Utf8Reader::HasMultiByteSequence("ab\0\xC3\xA9", 5));
}

}  // namespace
