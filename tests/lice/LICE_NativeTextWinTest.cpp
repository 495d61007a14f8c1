#include <gtest/gtest.h>

#include "LICE_MemBitmap.h"
#include "LICE_NativeText.h"
#include "LICE_SysBitmap.h"

#include "PixelGrid.h"
#include "TextTestFonts.h"

#include <windows.h>

#include <string>

namespace
{

const int kW = 140;
const int kH = 50;

class NativeText : public ::testing::Test
{
protected:
  void SetUp() override
  {
    mFont = TextTestFonts::Create(30);
    mStyle = LICE_NativeText::Style{mFont, 0xFF1060C0, 0xFF000000, TRANSPARENT, 30, 1.0f};
    mBackground = PixelGrid::Random(kW, kH, 42);
    for (LICE_pixel& p : mBackground.pixels) p |= 0xFF000000;
  }
  void TearDown() override { DeleteObject(mFont); }

  struct Result
  {
    PixelGrid grid;
    int value;
    LICE_Rect rect;
  };

  // Draws into a bitmap with a device context (GDI draws straight into it) or
  // into a memory bitmap (through the scratch surface).
  Result Draw(bool withDC, const char* text, LICE_Rect rect, unsigned int format, int count = -1)
  {
    LICE_SysBitmap sys(kW, kH);
    LICE_MemBitmap mem(kW, kH);
    LICE_IBitmap& bm = withDC ? static_cast<LICE_IBitmap&>(sys) : mem;
    mBackground.WriteTo(bm);
    const int value = LICE_NativeText::Draw(&bm, text, count, &rect, format, mStyle);
    return Result{PixelGrid::ReadFrom(bm), value, rect};
  }

  HFONT mFont = nullptr;
  LICE_NativeText::Style mStyle{};
  PixelGrid mBackground;
};

TEST_F(NativeText, ScratchSurfaceGivesWhatGdiDrawsDirectly)
{
  const LICE_Rect rects[] = {{5, 3, 130, 48}, {-12, -10, 60, 30}, {20, 10, 50, 30}};
  const unsigned int formats[] = {0, DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM | DT_RIGHT, DT_NOCLIP};
  for (const LICE_Rect& r : rects)
    for (unsigned int f : formats)
    {
      const Result direct = Draw(true, "Wave", r, f | DT_SINGLELINE);
      const Result scratch = Draw(false, "Wave", r, f | DT_SINGLELINE);
      EXPECT_FALSE(direct.grid == mBackground) << r.left << " " << f;
      EXPECT_TRUE(scratch.grid == direct.grid) << r.left << " " << f;
      // GDI adds the vertical offset to its result when it aligns vertically itself.
      if (!(f & (DT_VCENTER | DT_BOTTOM)))
      {
        EXPECT_EQ(scratch.value, direct.value);
      }
    }
}

TEST_F(NativeText, ScratchPathBlendsWithTheFontsAlpha)
{
  // The text's own area goes back with the font's alpha (0.5: halves summed).
  const LICE_Rect r = {5, 3, 130, 48};
  const SIZE size = TextTestFonts::Measure(mFont, L"Wave", DT_SINGLELINE);
  const PixelGrid full = Draw(false, "Wave", r, DT_SINGLELINE).grid;
  mStyle.alpha = 0.5f;
  const PixelGrid half = Draw(false, "Wave", r, DT_SINGLELINE).grid;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
    {
      const bool area = x >= r.left && x < r.left + size.cx && y >= r.top && y < r.top + size.cy;
      const LICE_pixel bg = mBackground.At(x, y);
      const LICE_pixel expected = area ? ((full.At(x, y) >> 1) & 0x7F7F7F7F) + ((bg >> 1) & 0x7F7F7F7F) : bg;
      ASSERT_EQ(half.At(x, y), expected) << x << "," << y;
    }
}

TEST_F(NativeText, CentreAndRightTogetherRightAlignsViaScratch)
{
  const LICE_Rect r = {5, 3, 130, 48};
  EXPECT_TRUE(Draw(false, "Wave", r, DT_CENTER | DT_RIGHT).grid == Draw(false, "Wave", r, DT_RIGHT).grid);
}

TEST_F(NativeText, MeasuresLikeGdi)
{
  const SIZE gdi = TextTestFonts::Measure(mFont, L"Wave", 0);
  for (bool withDC : {true, false})
  {
    const Result r = Draw(withDC, "Wave", LICE_Rect{7, 4, 8, 9}, DT_CALCRECT);
    EXPECT_EQ(r.rect.left, 7);
    EXPECT_EQ(r.rect.right, 7 + gdi.cx);
    EXPECT_EQ(r.rect.bottom, 4 + gdi.cy);
    EXPECT_EQ(r.value, gdi.cy);
    EXPECT_TRUE(r.grid == mBackground);
  }
  LICE_Rect r = {0, 0, 0, 0};
  EXPECT_EQ(LICE_NativeText::Draw(nullptr, "Wave", -1, &r, DT_CALCRECT, mStyle), gdi.cy);
  EXPECT_EQ(r.right, gdi.cx);
}

TEST_F(NativeText, Utf8GoesToGdiAsUtf16)
{
  LICE_SysBitmap expected(kW, kH);
  mBackground.WriteTo(expected);
  TextTestFonts::Draw(expected, mFont, L"caf\u00E9 \u20AC", 3, 2, RGB(0x10, 0x60, 0xC0), 0);
  EXPECT_TRUE(Draw(true, "caf\xC3\xA9 \xE2\x82\xAC", LICE_Rect{3, 2, kW, kH}, 0).grid == PixelGrid::ReadFrom(expected));

  // Not valid UTF-8: the bytes go to GDI as they are (0xE9 is e-acute in the ANSI page).
  const SIZE eAcuteX = TextTestFonts::Measure(mFont, L"\u00E9x", 0);
  EXPECT_EQ(Draw(false, "\xE9x", LICE_Rect{0, 0, 0, 0}, DT_CALCRECT).rect.right, eAcuteX.cx);

  std::string longText;
  for (int i = 0; i < 1200; ++i) longText += "\xC3\xA9";
  const SIZE gdiLong = TextTestFonts::Measure(mFont, std::wstring(1200, L'\u00E9'), DT_SINGLELINE);
  const Result measured = Draw(false, longText.c_str(), LICE_Rect{0, 0, 0, 0}, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(measured.rect.right, gdiLong.cx);
  EXPECT_GT(gdiLong.cx, 1200);
}

TEST_F(NativeText, OpaqueBackgroundAndCount)
{
  mStyle.backgroundMode = OPAQUE;
  mStyle.backgroundColor = 0xFF00FF00;
  const LICE_Rect r = {5, 3, 130, 48};
  const Result direct = Draw(true, "Wave!!", r, DT_SINGLELINE, 4);
  EXPECT_TRUE(Draw(false, "Wave!!", r, DT_SINGLELINE, 4).grid == direct.grid);
  EXPECT_TRUE(Draw(false, "Wave", r, DT_SINGLELINE).grid == direct.grid);
  EXPECT_EQ(LICE_GETG(direct.grid.At(5, 3)), 255);
}

}  // namespace
