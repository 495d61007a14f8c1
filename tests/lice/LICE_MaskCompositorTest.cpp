#include <gtest/gtest.h>

#include "LICE_Blend.h"
#include "LICE_IFont.h"
#include "LICE_MaskCompositor.h"
#include "LICE_MemBitmap.h"

#include "FlippedBitmap.h"
#include "PixelGrid.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace
{

int Clamp255(int v)
{
  return v < 0 ? 0 : v > 255 ? 255 : v;
}

// One blend of colour operand c (alpha operand 255) into d with weight w.
LICE_pixel BlendOracle(LICE_pixel d, int mode, LICE_pixel c, int w)
{
  if (mode == LICE_BLEND_HSVADJUST) return LICE_HSVAdjust(d, LICE_GETR(c), LICE_GETG(c), LICE_GETB(c), w, 255);
  LICE_pixel out = 0;
  for (int ch = 0; ch < 4; ++ch)
  {
    const int dv = LICE_GetChannel(d, ch);
    const int s = ch == 3 ? 255 : LICE_GetChannel(c, ch);
    int r = dv;
    switch (mode)
    {
      case 0:
        r = (s + (dv - s) * (256 - w) / 256) & 0xFF;
        break;
      case 1:
        r = Clamp255(dv + s * w / 256);
        break;
      case 2:
      {
        const int q = 256 - s * w / 256;
        r = Clamp255(q > 1 ? dv * 256 / q : dv * 256);
        break;
      }
      case 3:
        r = (dv * (w * s + (256 - w) * 256)) >> 16;
        break;
      case 4:
      {
        const int s2 = s * w + (256 - w) * 128;
        r = Clamp255(((32768 - s2) * dv / 256 + s2) * dv >> 15);
        break;
      }
      default:
        return d;
    }
    out |= (LICE_pixel)r << (8 * ch);
  }
  return out;
}

LICE_pixel CoverageOracle(LICE_pixel d, int a, int mode, float alpha, LICE_pixel text)
{
  const int k = (int)((double)alpha * 256.0);
  if (a == 0 || k == 0) return d;
  const int w = k == 256 ? a + 1 : (k * a >= 65792 ? 256 : k * a / 256);
  return BlendOracle(d, mode, text, w);
}

LICE_MaskStyle Style(int mode, float alpha, int flags)
{
  return LICE_MaskStyle{0x80C03010, 0x40205070, 0xFF0000FF, 1, mode, alpha, flags};
}

TEST(MaskCompositor, CoverageMasksMatchOracleForEveryModeAndLevel)
{
  std::vector<unsigned char> mask(256);
  for (int i = 0; i < 256; ++i) mask[i] = (unsigned char)i;
  const PixelGrid background = PixelGrid::Random(16, 16, 5);
  const float alphas[] = {0.0f, 1.0f / 256, 0.25f, 0.5f, 0.999f, 1.0f};
  for (int mode = 0; mode <= 6; ++mode)
  {
    for (float alpha : alphas)
    {
      LICE_MemBitmap bm(16, 16);
      background.WriteTo(bm);
      const LICE_MaskStyle s = Style(mode | LICE_BLEND_USE_SOURCE_ALPHA, alpha, 0);
      EXPECT_TRUE(LICE_MaskCompositor::Draw(&bm, mask.data(), 16, 16, 0, 0, LICE_Rect{0, 0, 16, 16}, s));
      const PixelGrid out = PixelGrid::ReadFrom(bm);
      for (int i = 0; i < 256; ++i)
      {
        const LICE_pixel expected =
            mode > 5 ? background.pixels[i] : CoverageOracle(background.pixels[i], i, mode, alpha, s.textColor);
        ASSERT_EQ(out.pixels[i], expected) << "mode " << mode << " alpha " << alpha << " level " << i;
      }
    }
  }
}

TEST(MaskCompositor, FullInkAtFullAlphaIsTheTextColour)
{
  const unsigned char full = 255;
  LICE_MemBitmap bm(1, 1);
  *bm.getBits() = 0x00FFFFFF;
  LICE_MaskCompositor::Draw(&bm, &full, 1, 1, 0, 0, LICE_Rect{0, 0, 1, 1}, Style(0, 1.0f, 0));
  EXPECT_EQ(*bm.getBits(), 0xFFC03010u);

  // At alpha 0.5 the text colour gets weight 127 / 256: 129 / 256 of the
  // destination is kept, the product rounded toward zero.
  *bm.getBits() = 0xFF000000;
  LICE_MaskCompositor::Draw(&bm, &full, 1, 1, 0, 0, LICE_Rect{0, 0, 1, 1}, Style(0, 0.5f, 0));
  EXPECT_EQ(*bm.getBits(), LICE_RGBA(0xC0 - 96, 0x30 - 24, 0x10 - 8, 255));
}

TEST(MaskCompositor, MonoAndEffectMasks)
{
  const unsigned char mask[3] = {0, 128, 255};
  const LICE_pixel bg = 0x11223344;
  for (int flags : {LICE_FONT_MONO, LICE_FONT_SHADOW, LICE_FONT_OUTLINE})
  {
    const bool effect = flags != LICE_FONT_MONO;
    const LICE_MaskStyle s = Style(0, 1.0f, flags);
    const LICE_pixel onHalf = effect ? s.effectColor : s.textColor;
    for (int mode = 0; mode <= 6; ++mode)
    {
      for (float alpha : {1.0f, 0.5f, 0.0f, 3.0f})
      {
        LICE_MemBitmap bm(3, 1);
        std::fill(bm.getBits(), bm.getBits() + 3, bg);
        LICE_MaskStyle st = s;
        st.mode = mode;
        st.alpha = alpha;
        LICE_MaskCompositor::Draw(&bm, mask, 3, 1, 0, 0, LICE_Rect{0, 0, 3, 1}, st);
        const int k = std::min((int)(alpha * 256.0f), 256);
        LICE_pixel half = bg, full = bg;
        if (alpha >= 1.0f && mode == 0)
        {
          half = onHalf;
          full = s.textColor;
        }
        else if (k > 0)
        {
          half = BlendOracle(bg, mode, onHalf, k);
          full = BlendOracle(bg, mode, s.textColor, k);
        }
        EXPECT_EQ(bm.getBits()[0], bg);
        EXPECT_EQ(bm.getBits()[1], half) << flags << " " << mode << " " << alpha;
        EXPECT_EQ(bm.getBits()[2], full) << flags << " " << mode << " " << alpha;
      }
    }
  }
}

// Alpha above 1 draws exactly what alpha 1 draws, with every kind of mask, mode and
// an opaque background; NaN and alpha at or below 0 draw nothing at all.
TEST(MaskCompositor, AlphaOutsideTheRangeActsAsTheNearestBound)
{
  std::vector<unsigned char> mask(256);
  for (int i = 0; i < 256; ++i) mask[i] = (unsigned char)(i % 3 == 0 ? 0 : i % 3 == 1 ? 128 : 255 - i / 2);
  const PixelGrid background = PixelGrid::Random(16, 16, 8);
  auto drawn = [&](int mode, float alpha, int flags, int backgroundMode)
  {
    LICE_MemBitmap bm(16, 16);
    background.WriteTo(bm);
    LICE_MaskStyle s = Style(mode, alpha, flags);
    s.backgroundMode = backgroundMode;
    LICE_MaskCompositor::Draw(&bm, mask.data(), 16, 16, 0, 0, LICE_Rect{0, 0, 16, 16}, s);
    return PixelGrid::ReadFrom(bm);
  };
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  for (int flags : {0, (int)LICE_FONT_MONO, (int)LICE_FONT_SHADOW, (int)LICE_FONT_OUTLINE})
    for (int mode = 0; mode <= 5; ++mode)
      for (int backgroundMode : {1, 2})
      {
        const PixelGrid full = drawn(mode, 1.0f, flags, backgroundMode);
        ASSERT_FALSE(full == background);
        for (float over : {1.0001f, 1.5f, 3.0f, inf})
          EXPECT_EQ(drawn(mode, over, flags, backgroundMode), full)
              << "flags " << flags << " mode " << mode << " alpha " << over << " background " << backgroundMode;
        for (float none : {nan, 0.0f, -0.5f, -inf})
          EXPECT_EQ(drawn(mode, none, flags, backgroundMode), background)
              << "flags " << flags << " mode " << mode << " alpha " << none << " background " << backgroundMode;
      }
}

TEST(MaskCompositor, CropsToClipAndDestination)
{
  std::vector<unsigned char> mask(4 * 3, 255);
  mask[0] = 0;
  const LICE_MaskStyle s = Style(0, 1.0f, LICE_FONT_MONO);
  LICE_MemBitmap bm(6, 5);
  std::fill(bm.getBits(), bm.getBits() + bm.getRowSpan() * 5, 0u);

  // Clip {2, 1, 4, 5}: the mask at (1, 0) keeps columns 1..2 and rows 1..2.
  EXPECT_TRUE(LICE_MaskCompositor::Draw(&bm, mask.data(), 4, 3, 1, 0, LICE_Rect{2, 1, 4, 5}, s));
  const PixelGrid out = PixelGrid::ReadFrom(bm);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
    {
      const bool inside = x >= 2 && x < 4 && y >= 1 && y < 3;
      EXPECT_EQ(out.At(x, y), inside ? s.textColor : 0u) << x << "," << y;
    }

  EXPECT_FALSE(LICE_MaskCompositor::Draw(&bm, mask.data(), 4, 3, 4, 0, LICE_Rect{0, 0, 4, 5}, s));
  EXPECT_FALSE(LICE_MaskCompositor::Draw(&bm, mask.data(), 4, 3, -4, 0, LICE_Rect{0, 0, 6, 5}, s));
  EXPECT_FALSE(LICE_MaskCompositor::Draw(&bm, mask.data(), 4, 3, 0, 5, LICE_Rect{0, 0, 60, 50}, s));
  // A clip larger than the bitmap is held to the bitmap.
  LICE_MemBitmap small(2, 2);
  PixelGrid(2, 2, 7).WriteTo(small);
  EXPECT_TRUE(LICE_MaskCompositor::Draw(&small, mask.data(), 4, 3, 0, 0, LICE_Rect{-10, -10, 100, 100}, s));
  EXPECT_EQ(PixelAt(small, 0, 0), 7u);
  EXPECT_EQ(PixelAt(small, 1, 1), s.textColor);
}

TEST(MaskCompositor, OpaqueBackgroundFillsOnlyTheGlyphRectangle)
{
  const unsigned char mask[2 * 2] = {0, 255, 0, 0};
  LICE_MaskStyle s = Style(LICE_BLEND_USE_SOURCE_ALPHA, 1.0f, 0);
  s.backgroundMode = 2;
  s.backgroundColor = 0x000000FF;
  FlippedBitmap bm(4, 4);
  PixelGrid(4, 4, 0xFF444444).WriteTo(bm);
  LICE_MaskCompositor::Draw(&bm, mask, 2, 2, 1, 2, LICE_Rect{0, 0, 4, 4}, s);
  const PixelGrid out = PixelGrid::ReadFrom(bm);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
    {
      LICE_pixel expected = 0xFF444444;
      if (x >= 1 && x < 3 && y >= 2) expected = (x == 2 && y == 2) ? 0xFFC03010 : 0x000000FF;
      EXPECT_EQ(out.At(x, y), expected) << x << "," << y;
    }
}

}  // namespace
