#include <gtest/gtest.h>

#include "LICE_GlyphBlur.h"
#include "LICE_MemBitmap.h"

#include "FlippedBitmap.h"
#include "PixelGrid.h"

namespace
{

// Per channel: half the pixel plus eighths or quarters of its neighbours, each
// share rounded down on its own. The bottom row looks at the row above as already
// blurred, every other row at the original neighbours.
PixelGrid BlurOracle(const PixelGrid& in, int w, int h)
{
  PixelGrid out = in;
  for (int y = 0; y < h; ++y)
  {
    for (int x = 0; x < w; ++x)
    {
      LICE_pixel result = 0;
      for (int ch = 0; ch < 4; ++ch)
      {
        auto v = [&](const PixelGrid& g, int px, int py) { return LICE_GetChannel(g.At(px, py), ch); };
        const int c = v(in, x, y);
        const bool first = x == 0, last = x == w - 1;
        int horizontal = first  ? v(in, x + 1, y) / 4
                         : last ? v(in, x - 1, y) / 4
                                : v(in, x - 1, y) / 8 + v(in, x + 1, y) / 8;
        int vertical;
        if (y == 0)
          vertical = v(in, x, 1) / 4;
        else if (y == h - 1)
          vertical = v(out, x, h - 2) / 4;
        else
          vertical = v(in, x, y - 1) / 8 + v(in, x, y + 1) / 8;
        result |= (LICE_pixel)(c / 2 + horizontal + vertical) << (8 * ch);
      }
      out.At(x, y) = result;
    }
  }
  return out;
}

TEST(GlyphBlur, MatchesPerChannelOracle)
{
  const int sizes[][2] = {{2, 2}, {3, 3}, {5, 4}, {4, 7}, {1030, 3}};
  for (const auto& s : sizes)
  {
    const PixelGrid in = PixelGrid::Random(s[0], s[1], 11u + s[0]);
    LICE_MemBitmap bm(s[0], s[1]);
    in.WriteTo(bm);
    LICE_GlyphBlur::Apply(&bm, s[0], s[1]);
    EXPECT_TRUE(PixelGrid::ReadFrom(bm) == BlurOracle(in, s[0], s[1])) << s[0] << " x " << s[1];
  }
}

TEST(GlyphBlur, SpreadsASinglePoint)
{
  PixelGrid in(3, 3);
  in.At(1, 1) = 0xFFFFFFFF;
  LICE_MemBitmap bm(3, 3);
  in.WriteTo(bm);
  LICE_GlyphBlur::Apply(&bm, 3, 3);
  const PixelGrid out = PixelGrid::ReadFrom(bm);
  EXPECT_EQ(out.At(1, 1), 0x7F7F7F7Fu);
  EXPECT_EQ(out.At(0, 1), 0x3F3F3F3Fu);
  EXPECT_EQ(out.At(1, 0), 0x3F3F3F3Fu);
  // The bottom row sees the blurred centre (127 / 4), not the original.
  EXPECT_EQ(out.At(1, 2), 0x1F1F1F1Fu);
  EXPECT_EQ(out.At(0, 0), 0u);
}

TEST(GlyphBlur, TouchesOnlyItsRegion)
{
  const PixelGrid in = PixelGrid::Random(9, 6, 3);
  FlippedBitmap bm(9, 6);
  in.WriteTo(bm);
  LICE_GlyphBlur::Apply(&bm, 5, 4);
  const PixelGrid out = PixelGrid::ReadFrom(bm);
  const PixelGrid expected = BlurOracle(in, 5, 4);
  EXPECT_TRUE(out == expected);

  in.WriteTo(bm);
  LICE_GlyphBlur::Apply(&bm, 1, 6);
  LICE_GlyphBlur::Apply(&bm, 9, 1);
  LICE_GlyphBlur::Apply(nullptr, 9, 6);
  EXPECT_TRUE(PixelGrid::ReadFrom(bm) == in);
}

}  // namespace
