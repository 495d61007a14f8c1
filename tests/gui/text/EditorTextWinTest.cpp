#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "IEditorText.h"
#include "IFontCache.h"
#include "IRectangle.h"
#include "ITextStyle.h"
#include "LICE_CachedFont.h"
#include "TextTestFonts.h"

namespace
{

ITextStyle StyleOf(const char* face, int size, int style = ITextStyle::kStyleNormal)
{
  ITextStyle s;
  std::strcpy(s.face, face);
  s.size = size;
  s.style = style;
  return s;
}

LOGFONTA LogFontOf(LICE_CachedFont* font)
{
  LOGFONTA lf = {};
  EXPECT_EQ(GetObjectA(font->getFontHandle(), sizeof(lf), &lf), (int)sizeof(lf));
  return lf;
}

// A font of the cache's kind that records the format of each drawText call.
class FormatRecordingFont : public LICE_CachedFont
{
public:
  int drawText(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format) override
  {
    mFormat = format;
    return LICE_CachedFont::drawText(dest, text, count, rect, format);
  }
  unsigned int mFormat = 0;
};

TEST(FontCache, OneFontPerSizeOrientationStyleAndExactFace)
{
  ITextStyle upper = StyleOf("Tahoma", 13);
  ITextStyle lower = StyleOf("tahoma", 13);
  LICE_CachedFont* a = IEditorText::GetCachedFont(upper);
  LICE_CachedFont* b = IEditorText::GetCachedFont(lower);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(upper.cachedFont, a);
  EXPECT_EQ(lower.cachedFont, b);

  ITextStyle again = StyleOf("Tahoma", 13);
  EXPECT_EQ(IEditorText::GetCachedFont(again), a);
  EXPECT_EQ(again.cachedFont, a);

  ITextStyle bold = StyleOf("Tahoma", 13, ITextStyle::kStyleBold);
  ITextStyle rotated = StyleOf("Tahoma", 13);
  rotated.orientation = 90;
  ITextStyle larger = StyleOf("Tahoma", 14);
  for (ITextStyle* other : {&bold, &rotated, &larger})
  {
    LICE_CachedFont* font = IEditorText::GetCachedFont(*other);
    EXPECT_NE(font, nullptr);
    EXPECT_NE(font, a);
  }
}

TEST(FontCache, CreatesTheGdiFontTheStyleDescribes)
{
  ITextStyle italic = StyleOf("Tahoma", 17, ITextStyle::kStyleItalic);
  italic.orientation = 45;
  const LOGFONTA lf = LogFontOf(IEditorText::GetCachedFont(italic));
  EXPECT_STREQ(lf.lfFaceName, "Tahoma");
  EXPECT_EQ(lf.lfHeight, 17);
  EXPECT_EQ(lf.lfWidth, 0);
  EXPECT_EQ(lf.lfEscapement, 450);
  EXPECT_EQ(lf.lfOrientation, 450);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_FALSE(lf.lfUnderline);
  EXPECT_FALSE(lf.lfStrikeOut);
  EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);

  ITextStyle bold = StyleOf("Tahoma", 17, ITextStyle::kStyleBold);
  EXPECT_EQ(LogFontOf(IEditorText::GetCachedFont(bold)).lfWeight, FW_BOLD);
  EXPECT_FALSE(LogFontOf(IEditorText::GetCachedFont(bold)).lfItalic);

  // Quality 0..3 and any other value; the size keeps each a font of its own.
  const int qualities[][2] = {{0, DEFAULT_QUALITY},   {1, NONANTIALIASED_QUALITY}, {2, ANTIALIASED_QUALITY},
                              {3, CLEARTYPE_QUALITY}, {7, NONANTIALIASED_QUALITY}, {-1, NONANTIALIASED_QUALITY}};
  int size = 30;
  for (const auto& q : qualities)
  {
    ITextStyle s = StyleOf("Tahoma", size++);
    s.quality = q[0];
    EXPECT_EQ(LogFontOf(IEditorText::GetCachedFont(s)).lfQuality, q[1]) << "quality " << q[0];
  }
}

TEST(FontCache, ReadsAFullFaceFieldNoFurther)
{
  // A face name that fills its field has no terminator: the cache must stop at the
  // field's end, here the end of the last readable page.
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  const DWORD page = info.dwPageSize;
  char* block = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(block, nullptr);
  DWORD old;
  ASSERT_TRUE(VirtualProtect(block + page, page, PAGE_NOACCESS, &old));
  char* face = block + page - ITextStyle::kFaceSize;
  std::memset(face, 'Q', ITextStyle::kFaceSize);

  IFontCache& cache = IFontCache::Instance();
  LICE_CachedFont* font = new LICE_CachedFont;
  EXPECT_EQ(cache.Find(21, 0, 0, face), nullptr);
  EXPECT_EQ(cache.Add(21, 0, 0, face, font), font);
  EXPECT_EQ(cache.Find(21, 0, 0, face), font);
  const std::string terminated(face, ITextStyle::kFaceSize);
  EXPECT_EQ(cache.Find(21, 0, 0, terminated.c_str()), font);
  EXPECT_EQ(cache.Find(21, 0, 0, terminated.substr(1).c_str()), nullptr);
  VirtualFree(block, 0, MEM_RELEASE);
}

TEST(EditorText, EmptyTextNeedsNoFontAndKeepsTheRectangle)
{
  ITextStyle style = StyleOf("Tahoma", 12);
  IRectangle r(3, 4, 50, 60);
  EXPECT_TRUE(IEditorText::MeasureText(style, "", r, nullptr));
  EXPECT_TRUE(IEditorText::MeasureText(style, nullptr, r, nullptr));
  EXPECT_EQ(r, IRectangle(3, 4, 50, 60));
  EXPECT_EQ(style.cachedFont, nullptr);
}

TEST(EditorText, FitsTheRectangleToTheTextByAlignment)
{
  DeleteObject(TextTestFonts::Create(12));  // loads the pinned Tahoma before the cache makes the font
  ITextStyle style = StyleOf("Tahoma", 12);
  LICE_CachedFont* font = IEditorText::GetCachedFont(style);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(TextTestFonts::PinnedFaceProblem(font->getFontHandle()), "");

  // The oracle: GDI's own extent of the same string in the same font.
  const char* text = "Gain 42 dB";
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->getFontHandle());
  SIZE extent = {};
  ASSERT_TRUE(GetTextExtentPoint32A(dc, text, (int)std::strlen(text), &extent));
  TEXTMETRICA tm = {};
  ASSERT_TRUE(GetTextMetricsA(dc, &tm));
  SelectObject(dc, old);
  DeleteDC(dc);
  const int w = extent.cx;
  const int h = tm.tmHeight;
  ASSERT_GT(w, 20);

  struct Case
  {
    int align;
    IRectangle in;
    IRectangle out;
  };
  const Case cases[] = {
      {ITextStyle::kAlignLeft, {5, 7, 50, 9}, {5, 7, 5 + w, 7 + h}},
      {ITextStyle::kAlignCenter, {10, 0, 30, 0}, {20 - w / 2, 0, 20 - w / 2 + w, h}},
      // (-31 + 10) / 2 = -10.5 is cut toward zero, to -10.
      {ITextStyle::kAlignCenter, {-31, 3, 10, 3}, {-10 - w / 2, 3, -10 - w / 2 + w, 3 + h}},
      // The centre of coordinates whose sum exceeds the int range.
      {ITextStyle::kAlignCenter, {2000000000, 0, 2000000010, 0}, {2000000005 - w / 2, 0, 2000000005 - w / 2 + w, h}},
      {ITextStyle::kAlignRight, {0, -4, 100, 0}, {100 - w, -4, 100, -4 + h}},
  };
  for (const Case& c : cases)
  {
    style.align = c.align;
    IRectangle r = c.in;
    EXPECT_TRUE(IEditorText::MeasureText(style, text, r, nullptr));
    EXPECT_EQ(r, c.out) << "align " << c.align << " from (" << c.in.L << ", " << c.in.T << ", " << c.in.R << ", "
                        << c.in.B << "): (" << r.L << ", " << r.T << ", " << r.R << ", " << r.B << ")";
  }
}

TEST(EditorText, ColourAlphaBelowOpaqueOnlyAddsTheAlphaFlag)
{
  FormatRecordingFont font;
  font.setFromFont(TextTestFonts::Create(12), LICE_FONT_OWNS_HANDLE | LICE_FONT_ALLOW_NATIVE);
  const unsigned int base[] = {DT_NOCLIP | DT_CALCRECT, DT_NOCLIP | DT_CENTER | DT_CALCRECT,
                               DT_NOCLIP | DT_RIGHT | DT_CALCRECT};
  for (int align = 0; align < 3; ++align)
  {
    ITextStyle style = StyleOf("Tahoma", 12);
    style.cachedFont = &font;
    style.align = align;
    style.color = IArgbColor{255, 10, 20, 30};
    IRectangle opaque(0, 0, 40, 0);
    ASSERT_TRUE(IEditorText::MeasureText(style, "Level", opaque, nullptr));
    EXPECT_EQ(font.mFormat, base[align]) << "align " << align;
    EXPECT_EQ(font.getTextColor(), style.color.Packed());

    style.color.A = 254;
    IRectangle translucent(0, 0, 40, 0);
    ASSERT_TRUE(IEditorText::MeasureText(style, "Level", translucent, nullptr));
    EXPECT_EQ(font.mFormat, base[align] | LICE_TEXT_USE_COLOR_ALPHA) << "align " << align;
    EXPECT_EQ(font.getTextColor(), style.color.Packed());
    EXPECT_EQ(translucent, opaque);
    EXPECT_GT(opaque.W(), 0);
  }
}

}  // namespace
