#include <gtest/gtest.h>

#include "LICE_SysBitmap.h"

#include "PixelGrid.h"

#include <windows.h>

namespace
{

// GDI and the pixel pointer see the same top-down storage.
void ExpectSharedWithGdi(LICE_SysBitmap& bm)
{
  HDC dc = bm.getDC();
  ASSERT_NE(dc, nullptr);
  PixelGrid(bm.getWidth(), bm.getHeight(), 0).WriteTo(bm);
  RECT r = {2, 1, 5, 3};
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  GdiFlush();
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
    {
      const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
      EXPECT_EQ(LICE_GETR(PixelAt(bm, x, y)), inside ? 255 : 0) << x << "," << y;
    }

  PixelAt(bm, 0, bm.getHeight() - 1) = LICE_RGBA(10, 20, 30, 255);
  EXPECT_EQ(GetPixel(dc, 0, bm.getHeight() - 1), RGB(10, 20, 30));
}

TEST(SysBitmapWin, PixelsAreTheSelectedTopDownSection)
{
  LICE_SysBitmap bm(7, 5);
  ExpectSharedWithGdi(bm);
  // A section kept on shrinking and a new one after growing stay selected.
  bm.resize(6, 4);
  ExpectSharedWithGdi(bm);
  bm.resize(40, 30);
  ExpectSharedWithGdi(bm);
}

TEST(SysBitmapWin, FailedSectionLeavesAnEmptyBitmap)
{
  LICE_SysBitmap bm(8, 8);
  EXPECT_TRUE(bm.resize(200000, 200000));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
  EXPECT_TRUE(bm.resize(8, 8));
  ExpectSharedWithGdi(bm);
}

}  // namespace
