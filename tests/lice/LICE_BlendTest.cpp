#include "LICE_Blend.h"
#include "LICE_Blit.h"
#include "LICE_FillRect.h"
#include "LICE_MemBitmap.h"
#include "PixelOracle.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

TEST(LICE_Blend, WeightTruncatesTowardZero)
{
  EXPECT_EQ(LICE_AlphaToWeight(1.0f), 256);
  EXPECT_EQ(LICE_AlphaToWeight(0.5f), 128);
  EXPECT_EQ(LICE_AlphaToWeight(0.4f), 102);
  EXPECT_EQ(LICE_AlphaToWeight(0.3f), 76);
  EXPECT_EQ(LICE_AlphaToWeight(0.9999f), 255);
  EXPECT_EQ(LICE_AlphaToWeight(-0.4f), -102);
  EXPECT_EQ(LICE_AlphaToWeight(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(LICE_AlphaToWeight(1e30f), 65536);
  EXPECT_EQ(LICE_AlphaToWeight(-1e30f), -65536);
}

TEST(LICE_Blend, HSVAdjustmentExamples)
{
  const LICE_pixel px = LICE_RGBA(200, 100, 50, 255);
  // Neutral operands still round-trip through hue 21, saturation 191, value 200.
  EXPECT_EQ(LICE_HSVAdjust(px, 128, 128, 128, 256, 255), LICE_RGBA(200, 99, 50, 255));
  // Hue operand 0 at full weight moves the hue by -192 to 213.
  EXPECT_EQ(LICE_HSVAdjust(px, 0, 128, 128, 256, 255), LICE_RGBA(50, 151, 200, 255));
  // The alpha byte is taken from the argument's low byte.
  EXPECT_EQ(LICE_HSVAdjust(px, 128, 128, 128, 256, 0x1AB), LICE_RGBA(200, 99, 50, 0xAB));
  // Grey has hue 256 (blue) and no saturation: raising the saturation turns it blue.
  EXPECT_EQ(LICE_HSVAdjust(LICE_RGBA(100, 100, 100, 9), 128, 128, 128, 256, 9), LICE_RGBA(100, 100, 100, 9));
  EXPECT_EQ(LICE_HSVAdjust(LICE_RGBA(100, 100, 100, 9), 128, 255, 128, 256, 9), LICE_RGBA(0, 0, 100, 9));
  // Value operand: V' = clamp(200 + 256 * 127 / 128).
  EXPECT_EQ(LICE_GETR(LICE_HSVAdjust(px, 128, 128, 255, 256, 255)), 255);
  EXPECT_EQ(LICE_HSVAdjust(px, 128, 128, 0, 256, 255), LICE_RGBA(0, 0, 0, 255));
}

TEST(LICE_Blend, HSVAdjustmentMatchesTheOracleEverywhere)
{
  // Walks the colour cube in steps of 15 (ties included) with a spread of operands.
  const int ops[][3] = {{128, 128, 128}, {0, 128, 128}, {255, 128, 128}, {200, 30, 140}, {64, 255, 0}, {17, 99, 250}};
  for (int r = 0; r <= 255; r += 15)
    for (int g = 0; g <= 255; g += 15)
      for (int b = 0; b <= 255; b += 15)
        for (const auto& op : ops)
          for (int w : {0, 1, 77, 128, 255, 256})
          {
            const LICE_pixel px = LICE_RGBA(r, g, b, 0);
            ASSERT_EQ(LICE_HSVAdjust(px, op[0], op[1], op[2], w, 0x42), OracleHsv(px, op[0], op[1], op[2], w, 0x42))
                << r << " " << g << " " << b << " weight " << w;
          }
}

TEST(LICE_Blend, HSVThroughBlitAndFill)
{
  LICE_MemBitmap dest(1, 1), src(1, 1);
  dest.getBits()[0] = LICE_RGBA(200, 100, 50, 255);
  src.getBits()[0] = LICE_RGBA(0, 128, 128, 77);
  LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, LICE_BLEND_HSVADJUST);
  EXPECT_EQ(dest.getBits()[0], LICE_RGBA(50, 151, 200, 77));

  dest.getBits()[0] = LICE_RGBA(200, 100, 50, 255);
  LICE_FillRect(&dest, 0, 0, 1, 1, LICE_RGBA(0, 128, 128, 255), 1.0f, LICE_BLEND_HSVADJUST);
  EXPECT_EQ(dest.getBits()[0], LICE_RGBA(50, 151, 200, 0));  // alpha byte: 256 mod 256
}

}  // namespace
