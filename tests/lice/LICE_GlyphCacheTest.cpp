#include "LICE_GlyphCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace
{

TEST(GlyphCache, DirectEntriesAlwaysExist)
{
  LICE_GlyphCache cache;
  for (int c = 0; c < 128; ++c)
  {
    const LICE_GlyphInfo* rec = cache.Find(c);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->pos, 0);
    EXPECT_EQ(rec->advance, 0);
  }
  EXPECT_EQ(cache.Find(128), nullptr);
  EXPECT_EQ(cache.Find(0xE9), nullptr);
}

TEST(GlyphCache, SortedListFindsEveryCodeAcrossGrowth)
{
  LICE_GlyphCache cache;
  std::vector<int> codes(600);
  std::iota(codes.begin(), codes.end(), 200);
  std::shuffle(codes.begin(), codes.end(), std::mt19937(7));
  for (int c : codes)
  {
    LICE_GlyphInfo* rec = cache.Append(c);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->code, c);
    rec->advance = c * 2;
    cache.SortList();
  }
  EXPECT_EQ(cache.ListSize(), 600);
  for (int c : codes)
  {
    const LICE_GlyphInfo* rec = cache.Find(c);
    ASSERT_NE(rec, nullptr) << c;
    EXPECT_EQ(rec->advance, c * 2);
  }
  EXPECT_EQ(cache.Find(199), nullptr);
  EXPECT_EQ(cache.Find(800), nullptr);
}

TEST(GlyphCache, MasksLieBackToBack)
{
  LICE_GlyphCache cache;
  const int a = cache.AllocMask(10);
  const int b = cache.AllocMask(70000);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 11);
  EXPECT_EQ(cache.Mask(b), cache.Mask(a) + 10);
  cache.Mask(b)[69999] = 42;
  EXPECT_EQ(cache.MaskStoreSize(), 70010);

  cache.TruncateMasks(12);
  EXPECT_EQ(cache.MaskStoreSize(), 12);
  EXPECT_EQ(cache.AllocMask(3), 13);
  EXPECT_EQ(cache.Mask(0), nullptr);
  EXPECT_EQ(cache.Mask(16), nullptr);
  EXPECT_EQ(cache.AllocMask(-1), -1);
}

}  // namespace
