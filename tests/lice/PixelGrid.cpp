#include "PixelGrid.h"

LICE_pixel& PixelAt(LICE_IBitmap& bmp, int x, int y)
{
  const int row = bmp.isFlipped() ? bmp.getHeight() - 1 - y : y;
  return bmp.getBits()[(size_t)row * bmp.getRowSpan() + x];
}

PixelGrid PixelGrid::ReadFrom(LICE_IBitmap& bmp)
{
  PixelGrid g(bmp.getWidth(), bmp.getHeight());
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) g.At(x, y) = PixelAt(bmp, x, y);
  return g;
}

void PixelGrid::WriteTo(LICE_IBitmap& bmp) const
{
  for (int y = 0; y < height && y < bmp.getHeight(); ++y)
    for (int x = 0; x < width && x < bmp.getWidth(); ++x) PixelAt(bmp, x, y) = At(x, y);
}

PixelGrid PixelGrid::Random(int w, int h, uint32_t seed)
{
  PixelGrid g(w, h);
  uint32_t state = seed * 2654435761u + 1;
  auto next = [&state]()
  {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  static const int kAlphas[] = {0, 1, 127, 128, 254, 255};
  for (int y = 0; y < h; ++y)
  {
    for (int x = 0; x < w; ++x)
    {
      const uint32_t r = next();
      int a;
      if (y == 0)
        a = 0;
      else if (y == 1)
        a = 255;
      else if ((r & 3) == 0)
        a = kAlphas[(r >> 2) % 6];
      else
        a = (int)(next() & 0xFF);
      g.At(x, y) = (next() & 0x00FFFFFF) | (LICE_pixel)a << 24;
    }
  }
  return g;
}
