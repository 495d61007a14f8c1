#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "FailingAllocator.h"
#include "GrowBuffer.h"

TEST(GrowBufferGrowth, PageGranularityEndsNinetySixShortOfPages)
{
  GrowBuffer buf(4096);
  EXPECT_EQ(buf.Get(), nullptr);
  ASSERT_NE(buf.Resize(1, false), nullptr);
  EXPECT_EQ(buf.GetAllocated(), 4000);
  EXPECT_EQ(buf.GetSize(), 1);
  ASSERT_NE(buf.Resize(4000, false), nullptr);
  EXPECT_EQ(buf.GetAllocated(), 4000);
  buf.Resize(4001, false);
  EXPECT_EQ(buf.GetAllocated(), 8096);
  buf.Resize(100000, false);
  // Half of 100000 rounded down to pages is 49152; 100000 + 96 + 49152 rounds down to 147456.
  EXPECT_EQ(buf.GetAllocated(), 147360);
}

TEST(GrowBufferGrowth, LargeStepIsLimitedToFourMegabytes)
{
  GrowBuffer buf(4096);
  buf.Resize(20000000, false);
  // Half of 20 000 000 exceeds the step limit, so the block is n + 4 MiB, rounded.
  EXPECT_EQ(buf.GetAllocated(), ((20000000 + 96 + 4194304) & ~4095) - 96);
}

TEST(GrowBufferGrowth, SmallGranularityGrowsByHalfOrGranularity)
{
  GrowBuffer buf(128);
  buf.Resize(10, false);
  EXPECT_EQ(buf.GetAllocated(), 138);
  buf.Resize(138, false);
  EXPECT_EQ(buf.GetAllocated(), 138);
  buf.Resize(300, false);
  EXPECT_EQ(buf.GetAllocated(), 450);
}

TEST(GrowBufferShrink, SameSizeWithShrinkChangesNothing)
{
  GrowBuffer buf(4096);
  void* p = buf.Resize(3000, false);
  EXPECT_EQ(buf.Resize(3000, true), p);
  EXPECT_EQ(buf.GetAllocated(), 4000);
  EXPECT_EQ(buf.GetSize(), 3000);
}

TEST(GrowBufferShrink, PageBlockIsKeptForSmallerSizeAndFreedAtZero)
{
  FailingAllocator alloc;
  GrowBuffer buf(4096, &alloc);
  void* p = buf.Resize(3000, false);
  EXPECT_EQ(buf.Resize(100, true), p);
  EXPECT_EQ(buf.GetAllocated(), 4000);
  EXPECT_EQ(buf.GetSize(), 100);
  EXPECT_EQ(buf.Resize(0, true), nullptr);
  EXPECT_EQ(buf.GetAllocated(), 0);
  EXPECT_EQ(buf.GetSize(), 0);
  EXPECT_EQ(alloc.releases, 1);
}

TEST(GrowBufferShrink, LargeBlockShrinksOnlyWhenAllowed)
{
  GrowBuffer buf(128);
  buf.Resize(10000, false);
  const int big = buf.GetAllocated();
  EXPECT_EQ(big, 15000);
  buf.Resize(100, false);
  EXPECT_EQ(buf.GetAllocated(), big);
  buf.Resize(200, false);
  buf.Resize(100, true);  // below half of 15000 - 4 * 128: reallocated to 100 + 128
  EXPECT_EQ(buf.GetAllocated(), 228);
  EXPECT_EQ(buf.GetSize(), 100);
}

TEST(GrowBufferShrink, NegativeSizeActsAsZero)
{
  GrowBuffer kept(4096);
  kept.Resize(50, false);
  EXPECT_EQ(kept.Resize(-5, false), nullptr);
  EXPECT_EQ(kept.GetSize(), 0);
  EXPECT_EQ(kept.GetAllocated(), 4000);

  GrowBuffer freed(4096);
  freed.Resize(50, false);
  EXPECT_EQ(freed.Resize(-5, true), nullptr);
  EXPECT_EQ(freed.GetAllocated(), 0);
}

TEST(GrowBufferShrink, EmptyBufferKeepsItsBlockEitherWay)
{
  GrowBuffer buf(4096);
  buf.Resize(50, false);
  buf.Resize(0, false);
  ASSERT_EQ(buf.GetAllocated(), 4000);
  buf.Resize(0, true);
  EXPECT_EQ(buf.GetAllocated(), 4000);
  buf.Resize(-1, true);
  EXPECT_EQ(buf.GetAllocated(), 4000);
}

TEST(GrowBufferFailure, ReallocFailureFallsBackToFreshBlock)
{
  FailingAllocator alloc;
  GrowBuffer buf(128, &alloc);
  auto* p = static_cast<char*>(buf.Resize(6, false));
  std::memcpy(p, "abcde", 6);
  alloc.failReallocate = true;
  auto* q = static_cast<char*>(buf.Resize(1000, false));
  ASSERT_NE(q, nullptr);
  EXPECT_STREQ(q, "abcde");
  EXPECT_EQ(buf.GetAllocated(), 1500);
  EXPECT_EQ(alloc.allocations, 1);
  EXPECT_EQ(alloc.releases, 1);
}

TEST(GrowBufferFailure, FailedGrowthLeavesBufferUnchanged)
{
  FailingAllocator alloc;
  GrowBuffer buf(4096, &alloc);
  auto* p = static_cast<char*>(buf.Resize(3, false));
  std::memcpy(p, "xy", 3);
  alloc.FailAll(true);
  EXPECT_EQ(buf.Resize(5000, false), p);
  EXPECT_EQ(buf.GetSize(), 3);
  EXPECT_EQ(buf.GetAllocated(), 4000);
  EXPECT_STREQ(static_cast<char*>(buf.Get()), "xy");
  EXPECT_EQ(alloc.releases, 0);
}

TEST(GrowBufferFailure, FailedShrinkKeepsOldBlockAndSize)
{
  FailingAllocator alloc;
  GrowBuffer buf(128, &alloc);
  void* p = buf.Resize(10000, false);
  alloc.FailAll(true);
  EXPECT_EQ(buf.Resize(10, true), p);
  EXPECT_EQ(buf.GetSize(), 10000);
  EXPECT_EQ(buf.GetAllocated(), 15000);
}

TEST(GrowBufferFailure, SizeBeyondIntRangeIsRefused)
{
  FailingAllocator alloc;
  GrowBuffer buf(4096, &alloc);
  buf.Resize(16, false);
  EXPECT_NE(buf.Resize(INT_MAX, false), nullptr);  // the old data stays
  EXPECT_EQ(buf.GetSize(), 16);
  EXPECT_EQ(alloc.reallocations, 1);
}
