#include <gtest/gtest.h>

#include "LICE_GlyphBlur.h"
#include "LICE_GlyphBuilder.h"
#include "LICE_IFont.h"
#include "LICE_MemBitmap.h"

#include "FlippedBitmap.h"
#include "PixelGrid.h"

#include <vector>

namespace
{

using Bytes = std::vector<unsigned char>;

// A glyph cell as GDI leaves it: grey levels (red = green = blue) with alpha 0.
PixelGrid Cell(int w, int h, const std::vector<int>& reds)
{
  PixelGrid g(w, h);
  for (int i = 0; i < w * h; ++i) g.pixels[i] = LICE_RGBA(reds[i], reds[i] / 2, reds[i] / 3, 0);
  return g;
}

struct Built
{
  LICE_GlyphInfo rec;
  Bytes mask;
};

Built Build(LICE_IBitmap& surface, const PixelGrid& g, int inkWidth, int pad, int flags,
            LICE_GlyphCache* shared = nullptr)
{
  g.WriteTo(surface);
  LICE_GlyphCache local;
  LICE_GlyphCache& cache = shared ? *shared : local;
  Built b;
  b.rec = LICE_GlyphInfo{0, 0, 0, 0, 'x', 0};
  LICE_GlyphBuilder::Build(cache, b.rec, &surface, g.width, g.height, inkWidth, pad, flags);
  if (b.rec.pos > 0)
  {
    const unsigned char* m = cache.Mask(b.rec.pos);
    b.mask.assign(m, m + b.rec.width * b.rec.height);
  }
  return b;
}

Built Build(const PixelGrid& g, int inkWidth, int pad, int flags)
{
  LICE_MemBitmap surface(g.width + 5, g.height + 3);
  return Build(surface, g, inkWidth, pad, flags);
}

TEST(GlyphBuilder, TakesRedChannelAndTrimsEmptyPadding)
{
  // pad 2, ink width 3: columns 2..4 always stay, the padding only where it has ink.
  const Built b = Build(Cell(7, 2, {0, 0, 10, 20, 30, 0, 0, 0, 0, 40, 50, 60, 0, 0}), 3, 2, 0);
  EXPECT_EQ(b.rec.pos, 1);
  EXPECT_EQ(b.rec.width, 3);
  EXPECT_EQ(b.rec.height, 2);
  EXPECT_EQ(b.rec.advance, 3);
  EXPECT_EQ(b.rec.xoffset, 0);
  EXPECT_EQ(b.mask, (Bytes{10, 20, 30, 40, 50, 60}));

  const Built inverted = Build(Cell(7, 2, {0, 0, 10, 20, 30, 0, 0, 0, 0, 40, 50, 60, 0, 0}), 3, 2, LICE_FONT_INVERT);
  EXPECT_EQ(inverted.mask, (Bytes{245, 235, 225, 215, 205, 195}));
}

TEST(GlyphBuilder, KeepsOverhangingInk)
{
  const Built b = Build(Cell(7, 1, {0, 9, 0, 0, 0, 0, 8}), 3, 2, 0);
  EXPECT_EQ(b.rec.width, 6);
  EXPECT_EQ(b.rec.xoffset, 1);
  EXPECT_EQ(b.mask, (Bytes{9, 0, 0, 0, 0, 8}));

  const Built left = Build(Cell(7, 1, {7, 0, 0, 5, 0, 0, 0}), 3, 2, LICE_FONT_INVERT);
  EXPECT_EQ(left.rec.width, 5);
  EXPECT_EQ(left.rec.xoffset, 2);
  EXPECT_EQ(left.mask, (Bytes{248, 255, 255, 250, 255}));
}

TEST(GlyphBuilder, EmptyCellsAreMarkedEmpty)
{
  LICE_GlyphCache cache;
  LICE_MemBitmap surface(16, 16);
  EXPECT_EQ(Build(surface, Cell(4, 1, {0, 0, 0, 0}), 0, 2, 0, &cache).rec.pos, -1);
  EXPECT_EQ(Build(surface, PixelGrid(4, 0), 1, 2, 0, &cache).rec.pos, -1);
  EXPECT_EQ(cache.MaskStoreSize(), 0);
}

TEST(GlyphBuilder, MasksOfSuccessiveGlyphsShareTheStore)
{
  LICE_GlyphCache cache;
  LICE_MemBitmap surface(16, 16);
  const Built a = Build(surface, Cell(6, 2, {0, 0, 1, 2, 0, 0, 0, 0, 3, 4, 0, 0}), 2, 2, 0, &cache);
  const Built b = Build(surface, Cell(5, 1, {0, 0, 7, 0, 0}), 1, 2, 0, &cache);
  EXPECT_EQ(a.rec.pos, 1);
  EXPECT_EQ(b.rec.pos, 5);
  EXPECT_EQ(cache.MaskStoreSize(), 5);
  EXPECT_EQ(b.mask, (Bytes{7}));
}

TEST(GlyphBuilder, RotatesForVerticalFonts)
{
  // 3 wide, 2 high:  1 2 3 / 4 5 6
  const Bytes in = {1, 2, 3, 4, 5, 6};
  Bytes out(6);
  LICE_GlyphBuilder::Rotate(in.data(), 3, 2, false, out.data());
  EXPECT_EQ(out, (Bytes{4, 1, 5, 2, 6, 3}));
  LICE_GlyphBuilder::Rotate(in.data(), 3, 2, true, out.data());
  EXPECT_EQ(out, (Bytes{3, 6, 2, 5, 1, 4}));

  const Built b = Build(Cell(5, 2, {0, 0, 1, 0, 0, 0, 0, 2, 0, 0}), 1, 2, LICE_FONT_VERTICAL);
  EXPECT_EQ(b.rec.width, 2);
  EXPECT_EQ(b.rec.height, 1);
  EXPECT_EQ(b.mask, (Bytes{2, 1}));
  const Built up = Build(Cell(5, 2, {0, 0, 1, 0, 0, 0, 0, 2, 0, 0}), 1, 2, LICE_FONT_VERTICAL | LICE_FONT_BOTTOMUP);
  EXPECT_EQ(up.mask, (Bytes{1, 2}));
}

TEST(GlyphBuilder, MonoThresholdsAt130)
{
  Bytes m = {0, 130, 131, 255};
  LICE_GlyphBuilder::ApplyEffects(m.data(), 4, 1, LICE_FONT_MONO);
  EXPECT_EQ(m, (Bytes{0, 0, 255, 255}));
  Bytes untouched = {0, 130, 131, 255};
  LICE_GlyphBuilder::ApplyEffects(untouched.data(), 4, 1, LICE_FONT_BLUR | LICE_FONT_INVERT);
  EXPECT_EQ(untouched, (Bytes{0, 130, 131, 255}));
}

TEST(GlyphBuilder, ShadowFallsRightAndBelow)
{
  Bytes m(16, 0);
  m[1 * 4 + 1] = 200;
  LICE_GlyphBuilder::ApplyEffects(m.data(), 4, 4, LICE_FONT_SHADOW | LICE_FONT_OUTLINE);
  EXPECT_EQ(m, (Bytes{0, 0, 0, 0,      //
                      0, 255, 128, 0,  //
                      0, 128, 128, 0,  //
                      0, 0, 0, 0}));
}

TEST(GlyphBuilder, OutlineSurroundsInk)
{
  Bytes m(16, 0);
  m[1 * 4 + 1] = 131;
  m[1 * 4 + 2] = 100;
  LICE_GlyphBuilder::ApplyEffects(m.data(), 4, 4, LICE_FONT_OUTLINE);
  EXPECT_EQ(m, (Bytes{0, 128, 0, 0,      //
                      128, 255, 128, 0,  //
                      0, 128, 0, 0,      //
                      0, 0, 0, 0}));
}

TEST(GlyphBuilder, BlurHappensBeforeTrimming)
{
  const PixelGrid g = Cell(6, 3, {0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0});
  LICE_MemBitmap blurred(6, 3);
  g.WriteTo(blurred);
  LICE_GlyphBlur::Apply(&blurred, 6, 3);

  const Built b = Build(g, 2, 2, LICE_FONT_BLUR);
  const Built expected = Build(PixelGrid::ReadFrom(blurred), 2, 2, 0);
  EXPECT_EQ(b.rec.width, 4);
  EXPECT_EQ(b.rec.xoffset, 1);
  EXPECT_EQ(b.rec.width, expected.rec.width);
  EXPECT_EQ(b.mask, expected.mask);
}

TEST(GlyphBuilder, ReadsFlippedSurfacesTopDown)
{
  const PixelGrid g = Cell(5, 3, {0, 0, 1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 4});
  FlippedBitmap flipped(8, 4);
  const Built b = Build(flipped, g, 1, 2, 0);
  EXPECT_EQ(b.mask, (Bytes{1, 0, 0, 2, 0, 0, 3, 0, 4}));
  EXPECT_EQ(b.mask, Build(g, 1, 2, 0).mask);
}

}  // namespace
