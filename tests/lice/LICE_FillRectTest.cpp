#include "FlippedBitmap.h"
#include "LICE_Blend.h"
#include "LICE_FillRect.h"
#include "LICE_MemBitmap.h"
#include "PixelGrid.h"
#include "PixelOracle.h"

#include <gtest/gtest.h>

#include <climits>

namespace
{

LICE_pixel FillOne(LICE_pixel dest, LICE_pixel color, float alpha, int mode)
{
  LICE_MemBitmap b(1, 1);
  b.getBits()[0] = dest;
  LICE_FillRect(&b, 0, 0, 1, 1, color, alpha, mode);
  return b.getBits()[0];
}

TEST(LICE_FillRect, HalfWeightAveragesWholeValues)
{
  EXPECT_EQ(FillOne(0, 0xFF204060, 0.5f, LICE_BLEND_COPY), 0x7F102030u);
}

TEST(LICE_FillRect, FullWeightWritesTheColourAlphaByteToo)
{
  EXPECT_EQ(FillOne(0xFFFFFFFF, 0x00123456, 1.0f, LICE_BLEND_COPY), 0x00123456u);
  EXPECT_EQ(FillOne(0x00000000, 0x80123456, 1.0f, LICE_BLEND_COPY), 0x80123456u);
}

TEST(LICE_FillRect, PartialCopyPullsAlphaTowardTheWeight)
{
  // alpha 0.3 is weight 76; the colour's own alpha byte plays no part.
  for (LICE_pixel colorAlpha : {0x00000000u, 0xFF000000u})
  {
    const LICE_pixel c = colorAlpha | 0x00C86432;
    EXPECT_EQ(LICE_GETA(FillOne(0x00000000, c, 0.3f, LICE_BLEND_COPY)), 76 + (0 - 76) * 180 / 256);
    EXPECT_EQ(LICE_GETA(FillOne(0xFF000000, c, 0.3f, LICE_BLEND_COPY)), 76 + (255 - 76) * 180 / 256);
    EXPECT_EQ(FillOne(0xFF000000, c, 0.3f, LICE_BLEND_COPY),
              LICE_RGBA(200 - 200 * 180 / 256, 100 - 100 * 180 / 256, 50 - 50 * 180 / 256, 201));
  }
}

TEST(LICE_FillRect, SourceAlphaFlagScalesTheWeightByTheColourAlpha)
{
  // 0x80 / 255 * 1.0 gives weight 128: the whole-value average.
  EXPECT_EQ(FillOne(0, 0x80204060, 1.0f, LICE_BLEND_COPY | LICE_BLEND_USE_SOURCE_ALPHA), 0x40102030u);
  EXPECT_EQ(FillOne(0x11223344, 0x00FFFFFF, 1.0f, LICE_BLEND_ADD | LICE_BLEND_USE_SOURCE_ALPHA), 0x11223344u);
}

TEST(LICE_FillRect, ClipsToTheBitmap)
{
  const PixelGrid start = PixelGrid::Random(10, 8, 9);
  struct R
  {
    int x, y, w, h;
  } rects[] = {{-3, -2, 5, 4},
               {7, 6, 10, 10},
               {-5, 2, 100, 1},
               {0, 0, 0, 5},
               {3, 3, -2, 4},
               {10, 0, 5, 5},
               {0, 8, 5, 5},
               {-20, -20, 10, 10},
               {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
               {INT_MAX, 0, INT_MAX, 1},
               {-1, -1, INT_MAX, INT_MAX}};
  for (bool flipped : {false, true})
  {
    for (const R& r : rects)
    {
      for (float alpha : {1.0f, 0.6f})
      {
        LICE_MemBitmap mem(10, 8);
        FlippedBitmap flip(10, 8);
        LICE_IBitmap& b = flipped ? (LICE_IBitmap&)flip : (LICE_IBitmap&)mem;
        start.WriteTo(b);
        PixelGrid expected = start;
        LICE_FillRect(&b, r.x, r.y, r.w, r.h, 0xFF336699, alpha, LICE_BLEND_COPY);
        OracleFillRect(expected, r.x, r.y, r.w, r.h, 0xFF336699, alpha, LICE_BLEND_COPY);
        ASSERT_EQ(PixelGrid::ReadFrom(b), expected) << r.x << "," << r.y << "," << r.w << "," << r.h;
      }
    }
  }
}

TEST(LICE_FillRect, NothingHappensWithoutSomethingToFill)
{
  const PixelGrid start = PixelGrid::Random(6, 6, 2);
  LICE_MemBitmap b(6, 6), empty;
  start.WriteTo(b);
  LICE_FillRect(nullptr, 0, 0, 6, 6, 0xFFFFFFFF, 1.0f, 0);
  LICE_FillRect(&empty, 0, 0, 6, 6, 0xFFFFFFFF, 1.0f, 0);
  LICE_FillRect(&b, 0, 0, 6, 6, 0xFFFFFFFF, 0.0f, 0);
  LICE_FillRect(&b, 0, 0, 6, 6, 0x00FFFFFF, 1.0f, LICE_BLEND_USE_SOURCE_ALPHA);
  LICE_FillRect(&b, 0, 0, 6, 6, 0xFFFFFFFF, 0.001f, 1);
  for (int mode : {6, 0x7F, 0xF0, 0xFF, 0x10006}) LICE_FillRect(&b, 0, 0, 6, 6, 0xFFFFFFFF, 0.7f, mode);
  EXPECT_EQ(PixelGrid::ReadFrom(b), start);
}

// Every mode at every weight against the oracle, on both bitmap orientations.
class LICE_FillRectOracle : public ::testing::TestWithParam<bool>
{
};

TEST_P(LICE_FillRectOracle, EveryModeAtEveryWeight)
{
  const LICE_pixel colors[] = {0xFF204060, 0x00FFFFFF, 0x80FF0080, 0x7F000000, 0xC80A96E1};
  const int modes[] = {0, 1, 2, 3, 4, 5, 0x10000, 0x10001, 0x10002, 0x10003, 0x10004, 0x10005};
  for (int mode : modes)
  {
    for (LICE_pixel color : colors)
    {
      for (int w = 0; w <= 256; ++w)
      {
        LICE_MemBitmap mem(11, 7);
        FlippedBitmap flip(11, 7);
        LICE_IBitmap& b = GetParam() ? (LICE_IBitmap&)flip : (LICE_IBitmap&)mem;
        PixelGrid expected = PixelGrid::Random(11, 7, (uint32_t)(w + mode * 7 + color));
        expected.WriteTo(b);
        const float alpha = (float)w / 256.0f;
        LICE_FillRect(&b, 1, -1, 9, 7, color, alpha, mode);
        OracleFillRect(expected, 1, -1, 9, 7, color, alpha, mode);
        ASSERT_EQ(PixelGrid::ReadFrom(b), expected) << "mode " << mode << " colour " << color << " weight " << w;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Orientation, LICE_FillRectOracle, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info)
                         { return std::string(info.param ? "Flipped" : "TopDown"); });

}  // namespace
