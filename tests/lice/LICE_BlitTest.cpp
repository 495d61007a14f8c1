#include "FlippedBitmap.h"
#include "LICE_Blend.h"
#include "LICE_Blit.h"
#include "LICE_MemBitmap.h"
#include "LICE_SourceAlphaCopy.h"
#include "PixelGrid.h"
#include "PixelOracle.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <memory>
#include <tuple>

namespace
{

std::unique_ptr<LICE_IBitmap> MakeBitmap(bool flipped, int w, int h)
{
  if (flipped) return std::make_unique<FlippedBitmap>(w, h);
  return std::make_unique<LICE_MemBitmap>(w, h);
}

// Blits between real bitmaps and the oracle's grids side by side.
struct BlitCase
{
  std::unique_ptr<LICE_IBitmap> dest, src;
  PixelGrid expected, source;

  BlitCase(bool destFlipped, bool srcFlipped, int dw, int dh, int sw, int sh, uint32_t seed)
    : dest(MakeBitmap(destFlipped, dw, dh))
    , src(MakeBitmap(srcFlipped, sw, sh))
    , expected(PixelGrid::Random(dw, dh, seed))
    , source(PixelGrid::Random(sw, sh, seed + 1000))
  {
    expected.WriteTo(*dest);
    source.WriteTo(*src);
  }

  void Blit(int x, int y, const LICE_Rect* r, float alpha, int mode)
  {
    LICE_Blit(dest.get(), src.get(), x, y, r, alpha, mode);
    OracleBlit(expected, source, x, y, r, alpha, mode);
  }

  PixelGrid Actual() const { return PixelGrid::ReadFrom(*dest); }
};

std::unique_ptr<LICE_MemBitmap> BitmapOf(const PixelGrid& g)
{
  auto b = std::make_unique<LICE_MemBitmap>(g.width, g.height);
  g.WriteTo(*b);
  return b;
}

TEST(LICE_Blit, HalfCopyAveragesWholeValues)
{
  LICE_MemBitmap dest(2, 1), src(2, 1);
  dest.getBits()[0] = dest.getBits()[1] = 0xFFFFFFFF;
  src.getBits()[0] = src.getBits()[1] = 0xFF000000;
  LICE_Blit(&dest, &src, 0, 0, nullptr, 0.5f, LICE_BLEND_COPY);
  EXPECT_EQ(dest.getBits()[0], 0xFE7F7F7Fu);
  EXPECT_EQ(dest.getBits()[1], 0xFE7F7F7Fu);
}

TEST(LICE_Blit, WeightedCopyKeepsTheComplementOfTheWeight)
{
  // alpha 0.4 is weight 102: each channel becomes S + (D - S) * 154 / 256.
  LICE_MemBitmap dest(1, 1), src(1, 1);
  dest.getBits()[0] = LICE_RGBA(200, 10, 0, 255);
  src.getBits()[0] = LICE_RGBA(0, 250, 100, 50);
  LICE_Blit(&dest, &src, 0, 0, nullptr, 0.4f, LICE_BLEND_COPY);
  EXPECT_EQ(dest.getBits()[0],
            LICE_RGBA(0 + 200 * 154 / 256, 250 + (10 - 250) * 154 / 256, 100 - 100 * 154 / 256, 50 + 205 * 154 / 256));
  EXPECT_EQ(dest.getBits()[0], LICE_RGBA(120, 106, 40, 173));
}

TEST(LICE_Blit, SourceAlphaCopyAtFullWeight)
{
  LICE_MemBitmap dest(3, 1), src(3, 1);
  for (int i = 0; i < 3; ++i) dest.getBits()[i] = LICE_RGBA(10, 100, 250, 255);
  src.getBits()[0] = LICE_RGBA(1, 2, 3, 0);
  src.getBits()[1] = LICE_RGBA(1, 2, 3, 255);
  src.getBits()[2] = LICE_RGBA(200, 50, 0, 128);
  LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, LICE_BLEND_COPY | LICE_BLEND_USE_SOURCE_ALPHA);
  EXPECT_EQ(dest.getBits()[0], LICE_RGBA(10, 100, 250, 255));
  EXPECT_EQ(dest.getBits()[1], LICE_RGBA(1, 2, 3, 255));
  EXPECT_EQ(dest.getBits()[2],
            LICE_RGBA(200 + (10 - 200) * 127 / 256, 50 + (100 - 50) * 127 / 256, 0 + 250 * 127 / 256, 255));
  EXPECT_EQ(dest.getBits()[2], LICE_RGBA(106, 74, 124, 255));
}

TEST(LICE_Blit, NegativeOffsetsAndRectanglesShiftTheOtherSide)
{
  PixelGrid s(10, 1), d(10, 1, 0xAAAAAAAA);
  for (int x = 0; x < 10; ++x) s.At(x, 0) = (LICE_pixel)x;
  auto src = BitmapOf(s), dest = BitmapOf(d);

  LICE_Blit(dest.get(), src.get(), -5, 0, nullptr, 1.0f, LICE_BLEND_COPY);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(dest->getBits()[x], (LICE_pixel)(x + 5));
  for (int x = 5; x < 10; ++x) EXPECT_EQ(dest->getBits()[x], 0xAAAAAAAAu);

  d.WriteTo(*dest);
  const LICE_Rect r = {-3, 0, 4, 1};
  LICE_Blit(dest.get(), src.get(), 0, 0, &r, 1.0f, LICE_BLEND_COPY);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(dest->getBits()[x], 0xAAAAAAAAu);
  for (int x = 3; x < 7; ++x) EXPECT_EQ(dest->getBits()[x], (LICE_pixel)(x - 3));
  for (int x = 7; x < 10; ++x) EXPECT_EQ(dest->getBits()[x], 0xAAAAAAAAu);
}

TEST(LICE_Blit, NothingHappensWithoutSomethingToDraw)
{
  const PixelGrid d = PixelGrid::Random(8, 8, 3);
  auto destOwner = BitmapOf(d), srcOwner = BitmapOf(PixelGrid::Random(8, 8, 4));
  LICE_MemBitmap& dest = *destOwner;
  LICE_MemBitmap& src = *srcOwner;
  LICE_MemBitmap empty;
  const LICE_Rect emptyRect = {4, 4, 4, 8}, beyond = {8, 0, 12, 8};
  const int modes[] = {0, 1, 2, 3, 4, 5, 0x10000, 0x10005, 0xF3};

  for (int mode : modes)
  {
    LICE_Blit(&dest, &src, 8, 0, nullptr, 1.0f, mode);
    LICE_Blit(&dest, &src, 0, 8, nullptr, 1.0f, mode);
    LICE_Blit(&dest, &src, -8, 0, nullptr, 1.0f, mode);
    LICE_Blit(&dest, &src, 0, -8, nullptr, 1.0f, mode);
    LICE_Blit(&dest, &src, 0, 0, &emptyRect, 1.0f, mode);
    LICE_Blit(&dest, &src, 0, 0, &beyond, 1.0f, mode);
    LICE_Blit(&dest, &src, 0, 0, nullptr, 0.0f, mode);
    LICE_Blit(&dest, &src, 0, 0, nullptr, -0.5f, mode);
    LICE_Blit(&dest, &src, 0, 0, nullptr, std::numeric_limits<float>::quiet_NaN(), mode);
    LICE_Blit(&dest, &src, 0, 0, nullptr, -std::numeric_limits<float>::infinity(), mode);
    LICE_Blit(&dest, &empty, 0, 0, nullptr, 1.0f, mode);
    LICE_Blit(&empty, &src, 0, 0, nullptr, 1.0f, mode);
    LICE_Blit(nullptr, &src, 0, 0, nullptr, 1.0f, mode);
    LICE_Blit(&dest, nullptr, 0, 0, nullptr, 1.0f, mode);
    LICE_Blit(&dest, &src, INT_MAX, INT_MAX, nullptr, 1.0f, mode);
    LICE_Blit(&dest, &src, INT_MIN, INT_MIN, nullptr, 1.0f, mode);
    const LICE_Rect huge = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    LICE_Blit(&dest, &src, INT_MAX, 0, &huge, 1.0f, mode);
    EXPECT_EQ(PixelGrid::ReadFrom(dest), d) << "mode " << mode;
  }
  for (int mode : {6, 0x10006, 0x80, 0xEF, 0x100EF})
  {
    LICE_Blit(&dest, &src, 0, 0, nullptr, 0.7f, mode);
    LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, mode);
    EXPECT_EQ(PixelGrid::ReadFrom(dest), d) << "mode " << mode;
  }
}

TEST(LICE_Blit, OnlyTheLowByteAndTheSourceAlphaBitCount)
{
  for (int mode : {0, 1, 3, 0x10000, 0x10002})
  {
    BlitCase plain(false, false, 9, 7, 9, 7, 11), noisy(false, false, 9, 7, 9, 7, 11);
    plain.Blit(0, 0, nullptr, 0.6f, mode);
    noisy.Blit(0, 0, nullptr, 0.6f, mode | 0x7F00 | 0x7FFE0000);
    EXPECT_EQ(plain.Actual(), noisy.Actual()) << mode;
  }
}

TEST(LICE_Blit, WeightsOutsideTheRangeActAsTheNearestBound)
{
  for (int mode : {0, 2, 0x10000, 0x10004})
  {
    BlitCase over(false, false, 9, 7, 9, 7, 5), full(false, false, 9, 7, 9, 7, 5);
    over.Blit(0, 0, nullptr, 3.5f, mode);
    full.Blit(0, 0, nullptr, 1.0f, mode);
    EXPECT_EQ(over.Actual(), full.Actual()) << mode;
  }
}

TEST(LICE_Blit, ChannelCopyMovesOneByte)
{
  LICE_MemBitmap dest(1, 1), src(1, 1);
  dest.getBits()[0] = 0x11223344;
  src.getBits()[0] = 0xAABBCCDD;
  LICE_Blit(&dest, &src, 0, 0, nullptr, 0.25f, LICE_BlendChannelCopy(LICE_PIXEL_B, LICE_PIXEL_A));
  EXPECT_EQ(dest.getBits()[0], 0x112233AAu);
  LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, LICE_BlendChannelCopy(LICE_PIXEL_A, LICE_PIXEL_G));
  EXPECT_EQ(dest.getBits()[0], 0xCC2233AAu);
}

// Blits of a bitmap onto itself, in every blend (copy at 1.0 and 0.5 take their
// own paths) and with every source-alpha kernel this processor runs, must give
// what the same blit from a separate copy of the source gives.
struct Blend
{
  float alpha;
  int mode;
};
const Blend kOverlapBlends[] = {{1.0f, 0},       {0.5f, 0},       {0.3f, 0},       {0.7f, 1},       {0.7f, 2},
                                {0.7f, 3},       {0.7f, 4},       {0.7f, 5},       {1.0f, 0x10000}, {0.6f, 0x10000},
                                {0.8f, 0x10001}, {0.8f, 0x10002}, {0.8f, 0x10003}, {0.8f, 0x10004}, {0.8f, 0x10005},
                                {1.0f, 0xF3},    {0.2f, 0xFC},    {1.0f, 0xF5}};

const LICE_SourceAlphaKernel kKernels[] = {LICE_SourceAlphaKernel::kScalar, LICE_SourceAlphaKernel::kSse2,
                                           LICE_SourceAlphaKernel::kAvx2, LICE_SourceAlphaKernel::kBest};
const char* const kKernelNames[] = {"Scalar", "SSE2", "AVX2", "Best"};

// Puts the processor's own choice of kernel back when a test ends.
struct KernelChoice
{
  ~KernelChoice() { LICE_SelectSourceAlphaKernel(LICE_SourceAlphaKernel::kBest); }
};

// The block r moved by (dx, dy) within one bitmap, and the same blit from a copy.
bool SelfBlitMatchesCopy(bool flipped, const PixelGrid& start, const LICE_Rect& r, int dx, int dy, Blend b)
{
  auto self = MakeBitmap(flipped, start.width, start.height);
  auto expected = MakeBitmap(flipped, start.width, start.height);
  auto copy = MakeBitmap(flipped, start.width, start.height);
  start.WriteTo(*self);
  start.WriteTo(*expected);
  start.WriteTo(*copy);
  LICE_Blit(self.get(), self.get(), r.left + dx, r.top + dy, &r, b.alpha, b.mode);
  LICE_Blit(expected.get(), copy.get(), r.left + dx, r.top + dy, &r, b.alpha, b.mode);
  return PixelGrid::ReadFrom(*self) == PixelGrid::ReadFrom(*expected);
}

TEST(LICE_BlitOverlap, MovesInEveryDirectionMatchABlitFromACopy)
{
  KernelChoice restore;
  const PixelGrid small = PixelGrid::Random(37, 23, 61), wide = PixelGrid::Random(700, 3, 62);
  const LICE_Rect inSmall = {10, 6, 27, 17}, inWide = {40, 0, 660, 3};
  const int shifts[] = {-9, -2, -1, 0, 1, 2, 9};
  const int wideShifts[] = {-300, -37, -1, 0, 1, 37, 300};
  for (size_t k = 0; k < sizeof(kKernels) / sizeof(kKernels[0]); ++k)
  {
    if (!LICE_SelectSourceAlphaKernel(kKernels[k]))
    {
      printf("kernel %s not available here, not tested\n", kKernelNames[k]);
      continue;
    }
    SCOPED_TRACE(kKernelNames[k]);
    for (bool flipped : {false, true})
      for (const Blend& b : kOverlapBlends)
      {
        for (int dy : shifts)
          for (int dx : shifts)
            EXPECT_TRUE(SelfBlitMatchesCopy(flipped, small, inSmall, dx, dy, b))
                << "mode " << std::hex << b.mode << std::dec << " alpha " << b.alpha << " by " << dx << "," << dy
                << (flipped ? " flipped" : "");
        for (int dy : {-1, 0, 1})
          for (int dx : wideShifts)
            EXPECT_TRUE(SelfBlitMatchesCopy(flipped, wide, inWide, dx, dy, b))
                << "wide, mode " << std::hex << b.mode << std::dec << " by " << dx << "," << dy
                << (flipped ? " flipped" : "");
      }
  }
}

// Another bitmap object over the pixels of a LICE_MemBitmap: the same rows upside
// down, or every second row.
class PixelView : public LICE_IBitmap
{
public:
  PixelView(LICE_MemBitmap& of, bool flipped, int rowStep)
    : mBits(of.getBits())
    , mWidth(of.getWidth())
    , mHeight(of.getHeight() / rowStep)
    , mSpan(of.getRowSpan() * rowStep)
    , mFlipped(flipped)
  {
  }
  LICE_pixel* getBits() override { return mBits; }
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override { return mSpan; }
  bool isFlipped() override { return mFlipped; }
  bool resize(int, int) override { return false; }

private:
  LICE_pixel* mBits;
  int mWidth, mHeight, mSpan;
  bool mFlipped;
};

TEST(LICE_BlitOverlap, ViewsOfTheSamePixelsWithOtherRowsMatchABlitFromACopy)
{
  const PixelGrid start = PixelGrid::Random(19, 16, 63);
  const LICE_Rect r = {2, 1, 15, 7};
  for (int rowStep : {1, 2})
    for (const Blend& b : kOverlapBlends)
      for (int d : {-1, 0, 1})
      {
        auto pixels = BitmapOf(start), expectedPixels = BitmapOf(start), copy = BitmapOf(start);
        PixelView view(*pixels, rowStep == 1, rowStep), expectedView(*expectedPixels, rowStep == 1, rowStep);
        LICE_Blit(&view, pixels.get(), r.left + d, r.top + d, &r, b.alpha, b.mode);
        LICE_Blit(&expectedView, copy.get(), r.left + d, r.top + d, &r, b.alpha, b.mode);
        EXPECT_EQ(PixelGrid::ReadFrom(*pixels), PixelGrid::ReadFrom(*expectedPixels))
            << "row step " << rowStep << " mode " << std::hex << b.mode << std::dec << " by " << d;
      }
}

// Every mode at every weight, against the oracle, for each combination of flipped
// and unflipped bitmaps, with clipping on the left, top and right and a width that
// is not a multiple of 4.
class LICE_BlitOracle : public ::testing::TestWithParam<std::tuple<bool, bool>>
{
};

TEST_P(LICE_BlitOracle, EveryModeAtEveryWeight)
{
  const bool destFlipped = std::get<0>(GetParam()), srcFlipped = std::get<1>(GetParam());
  const int modes[] = {0, 1, 2, 3, 4, 5, 0x10000, 0x10001, 0x10002, 0x10003, 0x10004, 0x10005};
  const LICE_Rect rect = {2, 1, 39, 26};
  for (int mode : modes)
  {
    for (int w = 0; w <= 256; ++w)
    {
      BlitCase c(destFlipped, srcFlipped, 33, 21, 41, 27, (uint32_t)(mode * 300 + w));
      c.Blit(-1, -2, &rect, (float)w / 256.0f, mode);
      ASSERT_EQ(c.Actual(), c.expected) << "mode " << mode << " weight " << w;
    }
  }
}

TEST_P(LICE_BlitOracle, NonDyadicAlphas)
{
  const bool destFlipped = std::get<0>(GetParam()), srcFlipped = std::get<1>(GetParam());
  const float alphas[] = {0.1f, 0.3f, 0.4f, 0.499f, 0.501f, 0.7f, 0.999f, 0.9999999f, 1e-6f};
  for (int mode : {0, 1, 2, 3, 4, 5, 0x10000, 0x10001, 0x10002, 0x10003, 0x10004, 0x10005})
  {
    for (float alpha : alphas)
    {
      BlitCase c(destFlipped, srcFlipped, 19, 13, 23, 15, (uint32_t)mode + 77);
      c.Blit(3, 2, nullptr, alpha, mode);
      ASSERT_EQ(c.Actual(), c.expected) << "mode " << mode << " alpha " << alpha;
    }
  }
}

TEST_P(LICE_BlitOracle, EveryChannelCopy)
{
  const bool destFlipped = std::get<0>(GetParam()), srcFlipped = std::get<1>(GetParam());
  for (int mode = 0xF0; mode <= 0xFF; ++mode)
  {
    BlitCase c(destFlipped, srcFlipped, 12, 9, 10, 10, (uint32_t)mode);
    c.Blit(4, -3, nullptr, 0.3f, mode);
    ASSERT_EQ(c.Actual(), c.expected) << "mode " << mode;
  }
}

TEST_P(LICE_BlitOracle, ClippingOnEverySide)
{
  const bool destFlipped = std::get<0>(GetParam()), srcFlipped = std::get<1>(GetParam());
  const int offsets[] = {-20, -7, -1, 0, 3, 9, 15, 16};
  const LICE_Rect rects[] = {{0, 0, 12, 10}, {-4, -2, 5, 7}, {3, 2, 40, 30}, {-30, -30, 30, 30}, {5, 5, 2, 9}};
  uint32_t seed = 1;
  for (const LICE_Rect& r : rects)
  {
    for (int x : offsets)
    {
      for (int y : offsets)
      {
        for (int mode : {0, 0x10000})
        {
          BlitCase c(destFlipped, srcFlipped, 16, 16, 12, 10, seed++);
          c.Blit(x, y, &r, 1.0f, mode);
          ASSERT_EQ(c.Actual(), c.expected)
              << "rect " << r.left << "," << r.top << "," << r.right << "," << r.bottom << " at " << x << "," << y;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Flips, LICE_BlitOracle, ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<bool, bool>>& info)
                         {
                           return std::string(std::get<0>(info.param) ? "FlippedDest" : "Dest") +
                                  (std::get<1>(info.param) ? "FlippedSrc" : "Src");
                         });

}  // namespace
