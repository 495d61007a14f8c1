#include "LICE_MemBitmap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace
{

// Writes every pixel of every stored row, span included, so that AddressSanitizer
// sees any storage smaller than the geometry claims.
void TouchAllRows(LICE_IBitmap& bmp)
{
  LICE_pixel* bits = bmp.getBits();
  for (int i = 0; i < bmp.getRowSpan() * bmp.getHeight(); ++i) bits[i] = (LICE_pixel)i;
}

TEST(LICE_MemBitmap, StartsEmpty)
{
  LICE_MemBitmap b;
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  EXPECT_EQ(b.getHeight(), 0);
  EXPECT_EQ(b.GetAllocated(), 0);
  EXPECT_EQ(b.getRowSpan(), 0);
  EXPECT_FALSE(b.isFlipped());
  EXPECT_EQ(b.getDC(), nullptr);
  EXPECT_EQ(b.extendedQuery(0x59555678, nullptr), 0);
}

TEST(LICE_MemBitmap, RowsAreAlignedAndSpanRoundsUpToFourPixels)
{
  LICE_MemBitmap b(5, 3);
  ASSERT_NE(b.getBits(), nullptr);
  EXPECT_EQ((uintptr_t)b.getBits() % 64, 0u);
  EXPECT_EQ(b.getRowSpan(), 8);
  EXPECT_EQ(b.GetAllocated(), 8 * 3 * 4);
  TouchAllRows(b);
  for (int w = 1; w <= 9; ++w)
  {
    b.resize(w, 2);
    EXPECT_EQ(b.getRowSpan(), (w + 3) / 4 * 4) << w;
    EXPECT_EQ((uintptr_t)b.getBits() % 64, 0u);
    TouchAllRows(b);
  }
}

TEST(LICE_MemBitmap, ResizeGrowsByAQuarterAndNeverShrinks)
{
  LICE_MemBitmap b;
  EXPECT_TRUE(b.resize(100, 100));
  EXPECT_EQ(b.GetAllocated(), 40000);
  LICE_pixel* before = b.getBits();
  EXPECT_FALSE(b.resize(100, 100));
  EXPECT_EQ(b.getBits(), before);

  EXPECT_TRUE(b.resize(101, 101));
  EXPECT_EQ(b.GetAllocated(), 52520);
  EXPECT_EQ(b.getRowSpan(), 104);
  TouchAllRows(b);

  before = b.getBits();
  EXPECT_TRUE(b.resize(20, 20));
  EXPECT_EQ(b.GetAllocated(), 52520);
  EXPECT_EQ(b.getBits(), before);
  EXPECT_EQ(b.getWidth(), 20);
  EXPECT_TRUE(b.resize(110, 110));  // 112 * 110 * 4 = 49 280 still fits
  EXPECT_EQ(b.GetAllocated(), 52520);
  TouchAllRows(b);
}

TEST(LICE_MemBitmap, ResizeToNothingFreesTheBlock)
{
  LICE_MemBitmap b(10, 10);
  EXPECT_TRUE(b.resize(0, 0));
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.GetAllocated(), 0);
  EXPECT_TRUE(b.resize(10, 10));
  EXPECT_TRUE(b.resize(10, 0));
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  EXPECT_EQ(b.getHeight(), 0);
  EXPECT_TRUE(b.resize(-4, 7));
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
}

TEST(LICE_MemBitmap, SizesBeyondTheByteRangeLeaveAnEmptyBitmap)
{
  // 1 000 000 x 1 000 000 pixels overflow a 32-bit byte count; the bitmap must not
  // end up claiming that size over a small block.
  LICE_MemBitmap b(16, 16);
  EXPECT_TRUE(b.resize(1000000, 1000000));
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  EXPECT_EQ(b.getHeight(), 0);
  EXPECT_TRUE(b.resize(65536, 65536));  // exactly 2^34 bytes: wraps to 0 in 32 bits
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  EXPECT_TRUE(b.resize(4, 4));
  EXPECT_NE(b.getBits(), nullptr);
}

}  // namespace
