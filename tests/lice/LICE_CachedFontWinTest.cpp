#include <gtest/gtest.h>

#include "LICE_CachedFont.h"
#include "LICE_MemBitmap.h"
#include "LICE_SysBitmap.h"
#include "LICE_TextState.h"

#include "PixelGrid.h"
#include "TextTestFonts.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace
{

using Mask = std::vector<unsigned char>;

struct Glyph
{
  LICE_GlyphInfo rec{};
  Mask mask;
  int At(int x, int y) const { return mask[(size_t)y * rec.width + x]; }
};

Glyph GlyphOf(LICE_CachedFont& font, int c)
{
  Glyph g;
  EXPECT_TRUE(font.RenderGlyph(c));
  const LICE_GlyphInfo* rec = font.FindGlyph(c);
  if (!rec || rec->pos < 1)
  {
    ADD_FAILURE() << "no mask for " << c;
    return g;
  }
  g.rec = *rec;
  const unsigned char* m = font.GlyphMask(*rec);
  g.mask.assign(m, m + rec->width * rec->height);
  return g;
}

using TextTestFonts::Smoothing;

Glyph GlyphWithFlags(int height, int flags, int c, bool italic = false, Smoothing smoothing = Smoothing::kGrey)
{
  LICE_CachedFont font;
  font.setFromFont(TextTestFonts::Create(height, italic, smoothing), flags | LICE_FONT_OWNS_HANDLE);
  return GlyphOf(font, c);
}

int GreyCount(const Glyph& g)
{
  int n = 0;
  for (unsigned char m : g.mask) n += m != 0 && m != 255;
  return n;
}

// The text tests' fonts are the pinned face (TextTestFonts::create checks each)
// and draw with the quality they ask for, whatever the system's smoothing is.
TEST(CachedFont, TestFontsAreThePinnedFaceAtTheirOwnQuality)
{
  for (bool italic : {false, true})
  {
    EXPECT_GT(GreyCount(GlyphWithFlags(40, 0, 'W', italic, Smoothing::kGrey)), 0) << italic;
    EXPECT_EQ(GreyCount(GlyphWithFlags(40, 0, 'W', italic, Smoothing::kNone)), 0) << italic;
    EXPECT_EQ(GreyCount(GlyphWithFlags(14, 0, 'W', italic, Smoothing::kNone)), 0) << italic;
  }
}

TEST(CachedFont, LiveFontsShareSurfacesThatGoWithTheLast)
{
  ASSERT_EQ(LICE_TextState::LiveFonts(), 0);
  {
    LICE_CachedFont a;
    auto b = std::make_unique<LICE_CachedFont>();
    EXPECT_EQ(LICE_TextState::LiveFonts(), 2);
    a.setFromFont(TextTestFonts::Create(14), LICE_FONT_OWNS_HANDLE);
    LICE_SysBitmap* surface = LICE_TextState::ExistingGlyphSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_GE(surface->getWidth(), 256);
    EXPECT_GE(surface->getHeight(), 256);
    b.reset();
    EXPECT_EQ(LICE_TextState::ExistingGlyphSurface(), surface);
  }
  EXPECT_EQ(LICE_TextState::LiveFonts(), 0);
  EXPECT_EQ(LICE_TextState::ExistingGlyphSurface(), nullptr);
}

TEST(CachedFont, OwnedHandlesAreDeletedOnlyWhenReplacedOrDestroyed)
{
  HFONT first = TextTestFonts::Create(14);
  HFONT second = TextTestFonts::Create(15);
  HFONT kept = TextTestFonts::Create(16);
  {
    LICE_CachedFont font;
    font.setFromFont(first, LICE_FONT_OWNS_HANDLE);
    ASSERT_TRUE(font.RenderGlyph('A'));
    EXPECT_NE(font.FindGlyph('A')->pos, 0);

    // The same handle again: kept, but the cache starts over.
    font.setFromFont(first, LICE_FONT_OWNS_HANDLE);
    EXPECT_EQ(GetObjectType(first), (DWORD)OBJ_FONT);
    EXPECT_EQ(font.FindGlyph('A')->pos, 0);

    font.setFromFont(second, LICE_FONT_OWNS_HANDLE);
    EXPECT_EQ(GetObjectType(first), 0u);
    font.setFromFont(kept, 0);
    EXPECT_EQ(GetObjectType(second), 0u);
    font.setFromFont(nullptr, LICE_FONT_OWNS_HANDLE);
  }
  EXPECT_EQ(GetObjectType(kept), (DWORD)OBJ_FONT);
  {
    LICE_CachedFont font;
    font.setFromFont(kept, LICE_FONT_OWNS_HANDLE);
  }
  EXPECT_EQ(GetObjectType(kept), 0u);
}

TEST(CachedFont, LineHeightIsTheFontsTextMetricHeight)
{
  HFONT handle = TextTestFonts::Create(-20);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, handle);
  TEXTMETRICA tm;
  ASSERT_TRUE(GetTextMetricsA(dc, &tm));
  SelectObject(dc, old);
  DeleteDC(dc);

  LICE_CachedFont font;
  font.setFromFont(handle, LICE_FONT_OWNS_HANDLE);
  EXPECT_EQ(font.getLineHeight(), tm.tmHeight);
  EXPECT_GT(font.getLineHeight(), 20);
}

// The mask placed at the pen position minus its x offset reproduces, byte for
// byte, GDI's own white-on-black rendering of the character; every inked pixel
// of that rendering lies inside the mask.
void ExpectMaskMatchesGdi(HFONT handle, int c, int flags = 0)
{
  LICE_CachedFont font;
  font.setFromFont(handle, flags);
  const Glyph g = GlyphOf(font, c);
  const SIZE cell = TextTestFonts::Measure(handle, std::wstring(1, (wchar_t)c));
  EXPECT_EQ(g.rec.advance, cell.cx);
  EXPECT_EQ(g.rec.height, cell.cy);

  const int penX = 20;
  LICE_SysBitmap ref(cell.cx + 40, cell.cy);
  PixelGrid(ref.getWidth(), ref.getHeight(), 0).WriteTo(ref);
  TextTestFonts::Draw(ref, handle, std::wstring(1, (wchar_t)c), penX, 0, RGB(255, 255, 255));
  const int left = penX - g.rec.xoffset;
  for (int y = 0; y < ref.getHeight(); ++y)
    for (int x = 0; x < ref.getWidth(); ++x)
    {
      const bool inMask = x >= left && x < left + g.rec.width;
      const int red = LICE_GETR(PixelAt(ref, x, y));
      if (inMask)
      {
        ASSERT_EQ(g.At(x - left, y), red) << (char)c << " at " << x << "," << y;
      }
      else
      {
        ASSERT_EQ(red, 0) << (char)c << " ink outside the mask at " << x << "," << y;
      }
    }
  DeleteObject(handle);
}

TEST(CachedFont, GlyphMasksAreGdiCoverage)
{
  for (int c : {'A', 'g', 'W', '.', '|'}) ExpectMaskMatchesGdi(TextTestFonts::Create(14), c);
  // Italic d and j overhang their cell on the right and left by no more than the pad
  // of 3 pixels, so the mask keeps all of their ink (an italic f overhangs by 5).
  for (int c : {'d', 'j', 'A'}) ExpectMaskMatchesGdi(TextTestFonts::Create(24, true), c);
  ExpectMaskMatchesGdi(TextTestFonts::Create(14), 0xE9);
  ExpectMaskMatchesGdi(TextTestFonts::Create(40), 0x20AC);
}

TEST(CachedFont, EmptyGlyphsAndRefusals)
{
  LICE_CachedFont font;
  font.setFromFont(TextTestFonts::Create(14), LICE_FONT_OWNS_HANDLE);
  const Glyph space = GlyphOf(font, ' ');
  EXPECT_GT(space.rec.advance, 0);
  for (unsigned char m : space.mask) EXPECT_EQ(m, 0);

  LICE_CachedFont huge;
  huge.setFromFont(TextTestFonts::Create(1100), LICE_FONT_OWNS_HANDLE);
  ASSERT_GE(huge.getLineHeight(), 1024);
  EXPECT_FALSE(huge.RenderGlyph('A'));
  EXPECT_EQ(huge.FindGlyph('A')->pos, 0);
  EXPECT_FALSE(huge.RenderGlyph(0xE9));
}

TEST(CachedFont, PrecacheRendersAsciiAndRefusesTheRest)
{
  LICE_CachedFont font;
  font.setFromFont(TextTestFonts::Create(14), LICE_FONT_PRECACHE | LICE_FONT_OWNS_HANDLE);
  for (int c = 32; c < 127; ++c) EXPECT_NE(font.FindGlyph(c)->pos, 0) << c;
  EXPECT_FALSE(font.RenderGlyph(0xE9));
  EXPECT_EQ(font.FindGlyph(0xE9), nullptr);
}

// At 30 pixels (about 25 per em) Tahoma asked for grey is anti-aliased.
TEST(CachedFont, InvertAndMonoTransformTheCoverage)
{
  const Glyph plain = GlyphWithFlags(30, 0, 'S');
  const Glyph inverted = GlyphWithFlags(30, LICE_FONT_INVERT, 'S');
  const Glyph mono = GlyphWithFlags(30, LICE_FONT_MONO, 'S');
  ASSERT_EQ(inverted.mask.size(), plain.mask.size());
  ASSERT_EQ(mono.mask.size(), plain.mask.size());
  bool grey = false;
  for (size_t i = 0; i < plain.mask.size(); ++i)
  {
    EXPECT_EQ(inverted.mask[i], 255 - plain.mask[i]);
    EXPECT_EQ(mono.mask[i], plain.mask[i] > 130 ? 255 : 0);
    grey = grey || (plain.mask[i] > 0 && plain.mask[i] < 255);
  }
  EXPECT_TRUE(grey) << "expected anti-aliased coverage";
}

TEST(CachedFont, BlurSpreadsInk)
{
  const Glyph plain = GlyphWithFlags(18, 0, 'W', false, Smoothing::kNone);
  const Glyph blurred = GlyphWithFlags(18, LICE_FONT_BLUR, 'W', false, Smoothing::kNone);
  auto count = [](const Glyph& g, bool greyOnly)
  {
    int n = 0;
    for (unsigned char m : g.mask) n += m != 0 && (!greyOnly || m != 255);
    return n;
  };
  ASSERT_EQ(count(plain, true), 0);
  EXPECT_EQ(blurred.rec.advance, plain.rec.advance);
  EXPECT_GE(blurred.rec.width, plain.rec.width);
  EXPECT_GT(count(blurred, false), count(plain, false));
  EXPECT_EQ(count(blurred, true), count(blurred, false));
}

TEST(CachedFont, VerticalFontsRotateTheirMasks)
{
  const Glyph plain = GlyphWithFlags(16, 0, 'F');
  const Glyph down = GlyphWithFlags(16, LICE_FONT_VERTICAL, 'F');
  const Glyph up = GlyphWithFlags(16, LICE_FONT_VERTICAL | LICE_FONT_BOTTOMUP, 'F');
  ASSERT_EQ(down.rec.width, plain.rec.height);
  ASSERT_EQ(down.rec.height, plain.rec.width);
  ASSERT_EQ(up.rec.width, plain.rec.height);
  for (int r = 0; r < down.rec.height; ++r)
    for (int k = 0; k < down.rec.width; ++k)
    {
      EXPECT_EQ(down.At(k, r), plain.At(r, plain.rec.height - 1 - k));
      EXPECT_EQ(up.At(k, r), plain.At(plain.rec.width - 1 - r, k));
    }
}

// The mask row that was the pen column lands on the pen: an italic j, whose hook
// overhangs its start, sticks out above downward text and below upward text.
TEST(CachedFont, VerticalOverhangLiesBeforeThePen)
{
  for (int flags : {(int)LICE_FONT_VERTICAL, LICE_FONT_VERTICAL | LICE_FONT_BOTTOMUP})
  {
    LICE_CachedFont font;
    font.setFromFont(TextTestFonts::Create(24, true), flags | LICE_FONT_MONO | LICE_FONT_OWNS_HANDLE);
    font.setTextColor(0xFFFFFFFF);
    const Glyph g = GlyphOf(font, 'j');
    ASSERT_GT(g.rec.xoffset, 0);
    LICE_MemBitmap bm(60, 60);
    PixelGrid(60, 60, 0).WriteTo(bm);
    ASSERT_TRUE(font.drawGlyph(&bm, 'j', 20, 30, LICE_Rect{0, 0, 60, 60}));

    int maskTop = -1, drawnTop = -1;
    for (int y = 0; y < g.rec.height && maskTop < 0; ++y)
      for (int x = 0; x < g.rec.width; ++x)
        if (g.At(x, y)) maskTop = y;
    for (int y = 0; y < 60 && drawnTop < 0; ++y)
      for (int x = 0; x < 60; ++x)
        if (PixelAt(bm, x, y)) drawnTop = y;
    const int expectedTop = (flags & LICE_FONT_BOTTOMUP) ? 30 + g.rec.xoffset : 30 - g.rec.xoffset;
    EXPECT_EQ(drawnTop - maskTop, expectedTop) << flags;
  }
}

TEST(CachedFont, ShadowFallsOneRightAndOneBelowTheStrokes)
{
  LICE_CachedFont font;
  font.setFromFont(TextTestFonts::Create(20), LICE_FONT_SHADOW | LICE_FONT_OWNS_HANDLE);
  font.setTextColor(0xFFFFFFFF);
  font.setEffectColor(0xFF000000);
  const Glyph g = GlyphOf(font, 'I');
  LICE_MemBitmap bm(40, 40);
  PixelGrid(40, 40, 0xFF808080).WriteTo(bm);
  ASSERT_TRUE(font.drawGlyph(&bm, 'I', 10, 5, LICE_Rect{0, 0, 40, 40}));

  const int left = 10 - g.rec.xoffset;
  int black = 0;
  for (int y = 0; y < g.rec.height; ++y)
    for (int x = 0; x < g.rec.width; ++x)
    {
      const LICE_pixel p = PixelAt(bm, left + x, 5 + y);
      if (g.At(x, y) == 255)
      {
        EXPECT_EQ(p, 0xFFFFFFFFu);
        if (x + 1 < g.rec.width)
        {
          EXPECT_NE(PixelAt(bm, left + x + 1, 5 + y), 0xFF808080u);
        }
        if (y + 1 < g.rec.height)
        {
          EXPECT_NE(PixelAt(bm, left + x, 6 + y), 0xFF808080u);
        }
      }
      else if (g.At(x, y) == 128)
      {
        EXPECT_EQ(p, 0xFF000000u);
        ++black;
      }
      else
      {
        EXPECT_EQ(p, 0xFF808080u);
      }
    }
  EXPECT_GT(black, 0);
}

TEST(CachedFont, DrawGlyphPlacesTheMaskAndFillsOpaqueBackground)
{
  LICE_CachedFont font;
  font.setFromFont(TextTestFonts::Create(24, true), LICE_FONT_MONO | LICE_FONT_OWNS_HANDLE);
  font.setTextColor(0xFF00FF00);
  font.setBackgroundColor(0xFF0000FF);
  font.setBackgroundMode(OPAQUE);
  EXPECT_FALSE(font.drawGlyph(nullptr, 'j', 0, 0, LICE_Rect{0, 0, 10, 10}));
  const Glyph g = GlyphOf(font, 'j');

  LICE_MemBitmap bm(60, 50);
  PixelGrid(60, 50, 0xFF444444).WriteTo(bm);
  EXPECT_FALSE(font.drawGlyph(&bm, 0x4E00, 20, 10, LICE_Rect{0, 0, 60, 50}));
  EXPECT_FALSE(font.drawGlyph(&bm, 'j', 20, 10, LICE_Rect{0, 0, 15, 50}));
  ASSERT_TRUE(font.drawGlyph(&bm, 'j', 20, 10, LICE_Rect{0, 0, 60, 50}));
  const int left = 20 - g.rec.xoffset;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 60; ++x)
    {
      const int mx = x - left, my = y - 10;
      LICE_pixel expected = 0xFF444444;
      if (mx >= 0 && mx < g.rec.width && my >= 0 && my < g.rec.height)
        expected = g.At(mx, my) ? 0xFF00FF00 : 0xFF0000FF;
      ASSERT_EQ(PixelAt(bm, x, y), expected) << x << "," << y;
    }
}

}  // namespace
