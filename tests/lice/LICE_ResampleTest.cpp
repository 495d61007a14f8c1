#include "FlippedBitmap.h"
#include "LICE_MemBitmap.h"
#include "LICE_Resample.h"
#include "PixelGrid.h"
#include "ResampleReference.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

std::unique_ptr<LICE_IBitmap> MakeBitmap(bool flipped, int w, int h)
{
  if (flipped) return std::make_unique<FlippedBitmap>(w, h);
  return std::make_unique<LICE_MemBitmap>(w, h);
}

struct Sizes
{
  int sw, sh, dw, dh;
};

// Shrinking by 2 -> 1.5, 2 -> 1.25 and 1 -> 0.75, odd sizes, enlarging by 2 -> 3,
// shrinking one axis while enlarging the other.
const Sizes kScales[] = {{40, 52, 30, 39}, {40, 52, 25, 33}, {36, 44, 27, 33},
                         {37, 23, 19, 17}, {20, 26, 30, 39}, {17, 9, 11, 20}};

// Source rectangles inside a larger source, destination rectangles inside a larger
// destination or reaching beyond each of its sides (the mapping must not move).
struct Placement
{
  int sx, sy, dx, dy;
  bool beyondFarSides;  // then placed half beyond the right and bottom edges instead
};

const Placement kPlacements[] = {{0, 0, 0, 0, false}, {5, 3, 4, 6, false}, {2, 7, -5, -3, false}, {0, 1, 0, 0, true}};

constexpr int kMargin = 8;

// Resamples into a destination kMargin pixels larger than the rectangle, and compares with the reference pasted over the same
// destination pixels.
void ExpectMatchesReference(const Sizes& z, Placement p, bool srcFlipped, bool destFlipped, uint32_t seed)
{
  const int srcW = z.sw + p.sx + 3, srcH = z.sh + p.sy + 2;
  const int destW = z.dw + kMargin, destH = z.dh + kMargin;
  if (p.beyondFarSides)
  {
    p.dx = destW - z.dw / 2;
    p.dy = destH - z.dh / 2;
  }
  const PixelGrid source = PixelGrid::Random(srcW, srcH, seed);
  PixelGrid expected = PixelGrid::Random(destW, destH, seed + 1);
  auto src = MakeBitmap(srcFlipped, srcW, srcH);
  auto dest = MakeBitmap(destFlipped, destW, destH);
  source.WriteTo(*src);
  expected.WriteTo(*dest);

  const PixelGrid scaled = ReferenceResample(source, p.sx, p.sy, z.sw, z.sh, z.dw, z.dh);
  for (int j = 0; j < z.dh; ++j)
    for (int i = 0; i < z.dw; ++i)
    {
      const int x = p.dx + i, y = p.dy + j;
      if (x >= 0 && y >= 0 && x < destW && y < destH) expected.At(x, y) = scaled.At(i, j);
    }

  EXPECT_TRUE(LICE_ResampleArea(dest.get(), p.dx, p.dy, z.dw, z.dh, src.get(), p.sx, p.sy, z.sw, z.sh));
  EXPECT_TRUE(PixelGrid::ReadFrom(*dest) == expected)
      << z.sw << "x" << z.sh << " -> " << z.dw << "x" << z.dh << " from (" << p.sx << ", " << p.sy << ") to (" << p.dx
      << ", " << p.dy << "), flipped source " << srcFlipped << ", flipped destination " << destFlipped;
}

TEST(LICE_Resample, MatchesTheReferenceAtEveryScaleAndPlacement)
{
  uint32_t seed = 1;
  for (const Sizes& z : kScales)
    for (const Placement& p : kPlacements)
      for (int flips = 0; flips < 4; ++flips) ExpectMatchesReference(z, p, flips & 1, flips & 2, seed++);
}

TEST(LICE_Resample, EqualSizesCopyEveryPixel)
{
  // Transparent pixels keep their colour too (row 0 of a random grid is transparent).
  const PixelGrid source = PixelGrid::Random(23, 11, 5);
  FlippedBitmap src(23, 11);
  LICE_MemBitmap dest(23, 11);
  source.WriteTo(src);
  ASSERT_TRUE(LICE_ResampleArea(&dest, 0, 0, 23, 11, &src, 0, 0, 23, 11));
  EXPECT_TRUE(PixelGrid::ReadFrom(dest) == source);
}

TEST(LICE_Resample, AveragesColoursWeightedByAlpha)
{
  LICE_MemBitmap src(3, 1), dest(2, 1);
  // Opaque red beside transparent blue: the blue must not bleed in; 127.5 rounds up.
  src.getBits()[0] = LICE_RGBA(255, 0, 0, 255);
  src.getBits()[1] = LICE_RGBA(0, 0, 255, 0);
  ASSERT_TRUE(LICE_ResampleArea(&dest, 0, 0, 1, 1, &src, 0, 0, 2, 1));
  EXPECT_EQ(dest.getBits()[0], LICE_RGBA(255, 0, 0, 128));

  // 3 -> 2: weights 2:1 and 1:2; alpha (2*90 + 30) / 3 = 70, red (2*90*200 + 30*50) / 210.
  src.getBits()[0] = LICE_RGBA(200, 0, 0, 90);
  src.getBits()[1] = LICE_RGBA(50, 0, 0, 30);
  src.getBits()[2] = LICE_RGBA(0, 0, 0, 0);
  ASSERT_TRUE(LICE_ResampleArea(&dest, 0, 0, 2, 1, &src, 0, 0, 3, 1));
  EXPECT_EQ(dest.getBits()[0], LICE_RGBA(179, 0, 0, 70));
  EXPECT_EQ(dest.getBits()[1], LICE_RGBA(50, 0, 0, 10));
}

TEST(LICE_Resample, BadArgumentsDrawNothing)
{
  LICE_MemBitmap src(10, 10), dest(8, 8), empty;
  const PixelGrid before = PixelGrid::Random(8, 8, 9);
  before.WriteTo(dest);
  auto resample = [&](LICE_IBitmap* d, int dx, int dy, int dw, int dh, LICE_IBitmap* s, int sx, int sy, int sw, int sh)
  { return LICE_ResampleArea(d, dx, dy, dw, dh, s, sx, sy, sw, sh); };
  EXPECT_FALSE(resample(nullptr, 0, 0, 4, 4, &src, 0, 0, 10, 10));
  EXPECT_FALSE(resample(&dest, 0, 0, 4, 4, nullptr, 0, 0, 10, 10));
  EXPECT_FALSE(resample(&dest, 0, 0, 4, 4, &empty, 0, 0, 1, 1));
  EXPECT_FALSE(resample(&dest, 0, 0, 0, 4, &src, 0, 0, 10, 10));
  EXPECT_FALSE(resample(&dest, 0, 0, 4, -1, &src, 0, 0, 10, 10));
  EXPECT_FALSE(resample(&dest, 0, 0, 4, 4, &src, 0, 0, 0, 10));
  EXPECT_FALSE(resample(&dest, 0, 0, 4, 4, &src, 0, 0, 10, -3));
  EXPECT_FALSE(resample(&dest, 0, 0, 4, 4, &src, -1, 0, 10, 10));
  EXPECT_FALSE(resample(&dest, 0, 0, 4, 4, &src, 0, 1, 10, 10));
  EXPECT_FALSE(resample(&dest, 0, 0, 4, 4, &src, 6, 0, 5, 10));
  EXPECT_FALSE(resample(&dest, 8, 0, 4, 4, &src, 0, 0, 10, 10));
  EXPECT_FALSE(resample(&dest, -4, 2, 4, 4, &src, 0, 0, 10, 10));
  EXPECT_FALSE(resample(&dest, 0, 0, 4, 4, &dest, 4, 4, 4, 4));
  EXPECT_FALSE(resample(&dest, 0, 0, 4, 4, &dest, 0, 0, 8, 8));
  EXPECT_TRUE(PixelGrid::ReadFrom(dest) == before);
}

}  // namespace
