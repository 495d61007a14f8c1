#include <gtest/gtest.h>

#include "LICE_Blend.h"
#include "LICE_CachedFont.h"
#include "LICE_MemBitmap.h"
#include "LICE_NativeText.h"
#include "LICE_TextState.h"

#include "PixelGrid.h"
#include "TextTestFonts.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace
{

const int kW = 160;
const int kH = 90;
const PixelGrid& Background()
{
  static const PixelGrid grid = PixelGrid::Random(kW, kH, 99);
  return grid;
}

std::unique_ptr<LICE_CachedFont> MakeFont(int height, int flags = 0, bool italic = false)
{
  auto font = std::make_unique<LICE_CachedFont>();
  font->setFromFont(TextTestFonts::Create(height, italic), flags | LICE_FONT_OWNS_HANDLE);
  font->setTextColor(0xFF2050F0);
  return font;
}

struct Drawn
{
  PixelGrid grid;
  int result;
};

Drawn Draw(LICE_CachedFont& font, const char* text, LICE_Rect rect, unsigned int format, int count = -1)
{
  LICE_MemBitmap bm(kW, kH);
  Background().WriteTo(bm);
  const int result = font.drawText(&bm, text, count, &rect, format);
  return Drawn{PixelGrid::ReadFrom(bm), result};
}

LICE_Rect Measure(LICE_CachedFont& font, const char* text, int count = -1, unsigned int format = 0)
{
  LICE_Rect r = {0, 0, 0, 0};
  font.drawText(nullptr, text, count, &r, format | DT_CALCRECT);
  return r;
}

// Lays text out by hand from the font's glyph records, one line, and composites
// each mask with the copy formula: keep (256 - weight) / 256 of the destination,
// alpha pulled toward 255.
PixelGrid ComposeByHand(LICE_CachedFont& font, const std::u16string& text, int x, int y, LICE_Rect clip, float alpha,
                        int* height = nullptr)
{
  PixelGrid out = Background();
  clip = LICE_Rect{std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, kW), std::min(clip.bottom, kH)};
  const LICE_pixel color = font.getTextColor();
  const int k = (int)(alpha * 256.0);
  if (height) *height = 0;
  for (char16_t c : text)
  {
    const LICE_GlyphInfo* rec = font.FindGlyph(c);
    if (!rec || rec->pos < 1) continue;
    const unsigned char* mask = font.GlyphMask(*rec);
    for (int my = 0; my < rec->height; ++my)
      for (int mx = 0; mx < rec->width; ++mx)
      {
        const int px = x - rec->xoffset + mx, py = y + my;
        const int a = mask[my * rec->width + mx];
        if (a == 0 || px < clip.left || px >= clip.right || py < clip.top || py >= clip.bottom) continue;
        const int w = k == 256 ? a + 1 : std::min(k * a / 256, 256);
        LICE_pixel& d = out.At(px, py);
        LICE_pixel r = 0;
        for (int ch = 0; ch < 4; ++ch)
        {
          const int s = ch == 3 ? 255 : LICE_GetChannel(color, ch);
          const int dv = LICE_GetChannel(d, ch);
          r |= (LICE_pixel)((s + (dv - s) * (256 - w) / 256) & 0xFF) << (8 * ch);
        }
        d = r;
      }
    if (height) *height = std::max(*height, rec->height);
    x += rec->advance;
  }
  return out;
}

PixelGrid Shifted(LICE_CachedFont& font, const char* text, int dx, int dy)
{
  return Draw(font, text, LICE_Rect{10 + dx, 10 + dy, 150 + dx, 80 + dy}, DT_NOCLIP).grid;
}

TEST(TextOutput, DrawsMasksAsCompositedByHand)
{
  auto font = MakeFont(30);
  for (float alpha : {1.0f, 0.5f})
  {
    font->setCombineMode(LICE_BLEND_COPY, alpha);
    const Drawn d = Draw(*font, "Wave!", LICE_Rect{3, 4, 150, 80}, 0);
    int height = 0;
    const PixelGrid expected = ComposeByHand(*font, u"Wave!", 3, 4, LICE_Rect{3, 4, 150, 80}, alpha, &height);
    EXPECT_TRUE(d.grid == expected) << "alpha " << alpha;
    EXPECT_EQ(d.result, height);
    EXPECT_GT(height, 20);
  }
}

TEST(TextOutput, MeasuresFromTheGlyphRecords)
{
  auto font = MakeFont(30, 0, true);
  LICE_Rect r = {5, 7, 5, 7};
  const int h = font->drawText(nullptr, "Waft", -1, &r, DT_CALCRECT);
  int x = 0, width = 0, height = 0;
  for (char c : std::string("Waft"))
  {
    const LICE_GlyphInfo* g = font->FindGlyph(c);
    width = std::max({width, x + g->advance, x + g->width - g->xoffset});
    height = std::max(height, g->height);
    x += g->advance;
  }
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 7);
  EXPECT_EQ(r.right, 5 + width);
  EXPECT_EQ(r.bottom, 7 + height);
  EXPECT_EQ(h, height);
  EXPECT_GT(width, x);  // the italic t overhangs its advance

  LICE_Rect none = {5, 7, 9, 9};
  EXPECT_EQ(font->drawText(nullptr, "Waft", -1, &none, 0), 0);
  EXPECT_EQ(none.right, 9);
}

TEST(TextOutput, CountLimitsTheText)
{
  auto font = MakeFont(16);
  const LICE_Rect ab = Measure(*font, "AB");
  EXPECT_EQ(Measure(*font, "AB\0CD", 5).right, ab.right);
  EXPECT_EQ(Measure(*font, "ABCD", 2).right, ab.right);
  EXPECT_GT(Measure(*font, "ABCD").right, ab.right);
  const LICE_Rect empty = Measure(*font, "ABCD", 0);
  EXPECT_EQ(empty.right, 0);
  EXPECT_EQ(empty.bottom, 0);

  const Drawn d = Draw(*font, "ABCD", LICE_Rect{0, 0, kW, kH}, 0, 0);
  EXPECT_EQ(d.result, 0);
  EXPECT_TRUE(d.grid == Background());
}

TEST(TextOutput, DecodesUtf8AsWritten)
{
  auto font = MakeFont(16);
  const int eAcute = Measure(*font, "\xC3\xA9").right;
  ASSERT_NE(font->FindGlyph(0xE9), nullptr);
  EXPECT_EQ(eAcute, font->FindGlyph(0xE9)->advance);
  EXPECT_EQ(font->FindGlyph(0xC3), nullptr);
  EXPECT_EQ(Measure(*font, "\xE9x").right, Measure(*font, "\xC3\xA9x").right);
  EXPECT_EQ(Measure(*font, "a\xF0\x9F\x98\x80z").right, Measure(*font, "a z").right);
  const int aEuro = Measure(*font, "a\xE2\x82\xAC").right;
  ASSERT_NE(font->FindGlyph(0x20AC), nullptr);
  EXPECT_EQ(aEuro, Measure(*font, "a").right + font->FindGlyph(0x20AC)->advance);

  const Drawn d = Draw(*font, "\xE9x", LICE_Rect{2, 2, kW, kH}, 0);
  EXPECT_TRUE(d.grid == ComposeByHand(*font, u"\u00E9x", 2, 2, LICE_Rect{2, 2, kW, kH}, 1.0f));
}

TEST(TextOutput, LineBreaksAndCarriageReturns)
{
  auto font = MakeFont(16);
  const int lh = font->getLineHeight();
  const LICE_Rect two = Measure(*font, "AW\nB");
  EXPECT_EQ(two.bottom, lh + font->FindGlyph('B')->height);
  EXPECT_EQ(two.right, Measure(*font, "AW").right);
  EXPECT_EQ(Measure(*font, "A\nB", -1, DT_SINGLELINE).right, Measure(*font, "A B").right);
  EXPECT_EQ(Measure(*font, "A\rB").right, Measure(*font, "AB").right);

  const LICE_Rect all = {4, 3, kW, kH};
  const Drawn d = Draw(*font, "A\r\nBC", all, 0);
  PixelGrid expected = ComposeByHand(*font, u"A", 4, 3, all, 1.0f);
  PixelGrid secondLine = ComposeByHand(*font, u"BC", 4, 3 + lh, all, 1.0f);
  for (size_t i = 0; i < expected.pixels.size(); ++i)
    if (secondLine.pixels[i] != Background().pixels[i]) expected.pixels[i] = secondLine.pixels[i];
  EXPECT_TRUE(d.grid == expected);
  EXPECT_EQ(d.result, lh + font->FindGlyph('B')->height);

  EXPECT_TRUE(Draw(*font, "A\nB", all, DT_SINGLELINE).grid == ComposeByHand(*font, u"A B", 4, 3, all, 1.0f));
}

TEST(TextOutput, AlignsWithinTheRectangle)
{
  auto font = MakeFont(16);
  const LICE_Rect m = Measure(*font, "Wave");
  const int freeX = 140 - m.right, freeY = 70 - m.bottom;
  struct Case
  {
    unsigned int format;
    int dx, dy;
  } cases[] = {{DT_CENTER, freeX / 2, 0},
               {DT_RIGHT, freeX, 0},
               {DT_VCENTER, 0, freeY / 2},
               {DT_BOTTOM, 0, freeY},
               {DT_CENTER | DT_RIGHT, freeX / 2, 0},
               {DT_RIGHT | DT_BOTTOM, freeX, freeY}};
  for (const Case& c : cases)
  {
    const Drawn d = Draw(*font, "Wave", LICE_Rect{10, 10, 150, 80}, c.format | DT_NOCLIP);
    EXPECT_TRUE(d.grid == Shifted(*font, "Wave", c.dx, c.dy)) << std::hex << c.format;
  }
}

TEST(TextOutput, ClipsToTheRectangleUnlessNoClip)
{
  auto font = MakeFont(30);
  const LICE_Rect rect = {20, 10, 45, 25};
  const Drawn clipped = Draw(*font, "Wave", rect, 0);
  const PixelGrid full = Draw(*font, "Wave", rect, DT_NOCLIP).grid;
  EXPECT_FALSE(full == Background());
  bool outside = false;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
    {
      const bool in = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
      EXPECT_EQ(clipped.grid.At(x, y), in ? full.At(x, y) : Background().At(x, y));
      outside = outside || (!in && full.At(x, y) != Background().At(x, y));
    }
  EXPECT_TRUE(outside);

  EXPECT_EQ(Draw(*font, "Wave", LICE_Rect{kW, 0, kW + 50, 40}, 0).result, 0);
  EXPECT_EQ(Draw(*font, "Wave", LICE_Rect{10, 10, 10, 40}, 0).result, 0);
  const LICE_Rect offLeft = {-30, 5, 60, 60};
  EXPECT_TRUE(Draw(*font, "Wave", offLeft, 0).grid == ComposeByHand(*font, u"Wave", -30, 5, offLeft, 1.0f));
}

TEST(TextOutput, ColourAlphaScalesOnlyThatCall)
{
  auto font = MakeFont(30);
  font->setTextColor(0x802050F0);
  const LICE_Rect r = {0, 0, kW, kH};
  const PixelGrid scaled = Draw(*font, "Wave", r, LICE_TEXT_USE_COLOR_ALPHA).grid;
  const PixelGrid opaque = Draw(*font, "Wave", r, 0).grid;
  EXPECT_TRUE(opaque == ComposeByHand(*font, u"Wave", 0, 0, r, 1.0f));
  EXPECT_TRUE(scaled == ComposeByHand(*font, u"Wave", 0, 0, r, 128.0f / 255.0f));

  font->setCombineMode(LICE_BLEND_COPY, 0.0f);
  const Drawn none = Draw(*font, "Wave", r, 0);
  EXPECT_EQ(none.result, 0);
  EXPECT_TRUE(none.grid == Background());
}

TEST(TextOutput, VerticalFontsRunDownOrUp)
{
  for (int flags : {(int)LICE_FONT_VERTICAL, LICE_FONT_VERTICAL | LICE_FONT_BOTTOMUP})
  {
    auto font = MakeFont(24, flags, true);
    LICE_Rect m = {0, 0, 0, 0};
    const int width = font->drawText(nullptr, "fA", -1, &m, DT_CALCRECT);
    const LICE_GlyphInfo a = *font->FindGlyph('f');
    const LICE_GlyphInfo b = *font->FindGlyph('A');
    EXPECT_EQ(width, m.right);
    EXPECT_EQ(m.right, std::max(a.width, b.width));
    EXPECT_EQ(m.bottom, std::max({a.advance + b.advance, a.height - a.xoffset, a.advance + b.height - b.xoffset}));

    const LICE_Rect rect = {10, 5, kW, kH};
    const Drawn d = Draw(*font, "fA", rect, 0);
    LICE_MemBitmap expected(kW, kH);
    Background().WriteTo(expected);
    if (flags & LICE_FONT_BOTTOMUP)
    {
      int y = rect.top + m.bottom - a.height;
      font->drawGlyph(&expected, 'f', 10, y, rect);
      y += a.height - a.advance - b.height;
      font->drawGlyph(&expected, 'A', 10, y, rect);
    }
    else
    {
      font->drawGlyph(&expected, 'f', 10, 5, rect);
      font->drawGlyph(&expected, 'A', 10, 5 + a.advance, rect);
    }
    EXPECT_NE(a.height, a.advance);
    EXPECT_TRUE(d.grid == PixelGrid::ReadFrom(expected)) << flags;
    EXPECT_EQ(d.result, std::max(a.width, b.width));
  }
}

// A destination that asks for text without GDI.
class NoGdiBitmap : public LICE_MemBitmap
{
public:
  using LICE_MemBitmap::LICE_MemBitmap;
  intptr_t extendedQuery(int code, void* data) override { return code == 0x59555678 && !data; }
};

bool DrewCached(LICE_CachedFont& font, LICE_IBitmap* dest, unsigned int format = 0)
{
  LICE_Rect r = {0, 0, 100, 100};
  font.drawText(dest, "Q", -1, &r, format);
  return font.FindGlyph('Q')->pos != 0;
}

TEST(TextOutput, WineIsDetectedFromTheRegistry)
{
  EXPECT_EQ(LICE_TextState::RunningUnderWine(), TextTestFonts::UnderWine());
  EXPECT_EQ(LICE_TextState::RunningUnderWine(), TextTestFonts::UnderWine());
}

TEST(TextOutput, ChoosesBetweenCachedAndNative)
{
  LICE_MemBitmap bm(100, 100);
  const int guiFlags = LICE_FONT_OWNS_HANDLE | LICE_FONT_ALLOW_NATIVE;
  EXPECT_EQ(DrewCached(*MakeFont(16, guiFlags), &bm), TextTestFonts::UnderWine());
  EXPECT_TRUE(DrewCached(*MakeFont(16, guiFlags), &bm, LICE_TEXT_NO_NATIVE));
  EXPECT_TRUE(DrewCached(*MakeFont(16, guiFlags), &bm, LICE_TEXT_USE_COLOR_ALPHA));
  EXPECT_TRUE(DrewCached(*MakeFont(16, guiFlags | LICE_FONT_MONO), &bm));
  EXPECT_TRUE(DrewCached(*MakeFont(16, 0), &bm));

  auto big = MakeFont(300, LICE_FONT_MONO);
  ASSERT_GE(big->getLineHeight(), 256);
  EXPECT_FALSE(DrewCached(*big, &bm, LICE_TEXT_NO_NATIVE));
  NoGdiBitmap special(100, 100);
  EXPECT_TRUE(DrewCached(*big, &special));
}

TEST(TextOutput, LargeFontsDrawNatively)
{
  auto font = MakeFont(300, LICE_FONT_MONO);
  LICE_Rect r = {0, 0, 0, 0};
  const int h = font->drawText(nullptr, "Hi", -1, &r, DT_CALCRECT);
  const SIZE gdi = TextTestFonts::Measure(font->getFontHandle(), L"Hi", 0);
  EXPECT_EQ(r.right, gdi.cx);
  EXPECT_EQ(r.bottom, gdi.cy);
  EXPECT_EQ(h, gdi.cy);

  LICE_MemBitmap viaFont(kW, kH), direct(kW, kH);
  Background().WriteTo(viaFont);
  Background().WriteTo(direct);
  LICE_Rect a = {-20, -40, kW, kH}, b = a;
  font->drawText(&viaFont, "Hi", -1, &a, 0);
  const LICE_NativeText::Style style = {font->getFontHandle(), font->getTextColor(),  0xFFFFFFFF,
                                        TRANSPARENT,           font->getLineHeight(), 1.0f};
  LICE_NativeText::Draw(&direct, "Hi", -1, &b, 0, style);
  EXPECT_TRUE(PixelGrid::ReadFrom(viaFont) == PixelGrid::ReadFrom(direct));
  EXPECT_FALSE(PixelGrid::ReadFrom(viaFont) == Background());
  EXPECT_EQ(font->FindGlyph('H')->pos, 0);
}

}  // namespace
