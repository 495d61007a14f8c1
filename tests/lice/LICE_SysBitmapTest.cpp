#include "LICE_SysBitmap.h"

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

TEST(LICE_SysBitmap, ReusesItsStorageWhileLargeEnough)
{
  LICE_SysBitmap b(5, 3);
  ASSERT_NE(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 5);
  EXPECT_EQ(b.getHeight(), 3);
  EXPECT_EQ(b.getRowSpan(), 8);
  EXPECT_FALSE(b.isFlipped());
  TouchAllRows(b);

  LICE_pixel* before = b.getBits();
  EXPECT_TRUE(b.resize(7, 2));
  EXPECT_EQ(b.getBits(), before);
  EXPECT_EQ(b.getRowSpan(), 8);
  EXPECT_EQ(b.getWidth(), 7);
  EXPECT_EQ(b.getHeight(), 2);
  EXPECT_FALSE(b.resize(7, 2));

  EXPECT_TRUE(b.resize(9, 2));
  ASSERT_NE(b.getBits(), nullptr);
  EXPECT_EQ(b.getRowSpan(), 12);
  TouchAllRows(b);
}

TEST(LICE_SysBitmap, ZeroSizeDropsTheStorage)
{
  LICE_SysBitmap b(0, 0);
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  b.resize(16, 16);
  ASSERT_NE(b.getBits(), nullptr);
  EXPECT_FALSE(b.resize(0, 16));  // nothing to allocate
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_TRUE(b.resize(4, 4));
  EXPECT_NE(b.getBits(), nullptr);
  EXPECT_EQ(b.getRowSpan(), 4);
}

#ifndef _WIN32
TEST(LICE_SysBitmap, HasNoDeviceContextOffWindows)
{
  LICE_SysBitmap b(4, 4);
  EXPECT_EQ(b.getDC(), nullptr);
}
#else
TEST(LICE_SysBitmap, HasADeviceContextOnWindows)
{
  LICE_SysBitmap b(4, 4);
  EXPECT_NE(b.getDC(), nullptr);
}
#endif

}  // namespace
