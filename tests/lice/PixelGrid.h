#pragma once

#include "LICE_IBitmap.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A top-down grid of pixel values, used as the expected picture in tests and as
// the model the oracle works on. It can be read from and written into any bitmap
// through the bitmap's own geometry (span, flip).
struct PixelGrid
{
  int width = 0;
  int height = 0;
  std::vector<LICE_pixel> pixels;

  PixelGrid() = default;
  PixelGrid(int w, int h, LICE_pixel fill = 0)
    : width(w)
    , height(h)
    , pixels((size_t)w * h, fill)
  {
  }

  LICE_pixel& At(int x, int y) { return pixels[(size_t)y * width + x]; }
  LICE_pixel At(int x, int y) const { return pixels[(size_t)y * width + x]; }

  static PixelGrid ReadFrom(LICE_IBitmap& bmp);
  void WriteTo(LICE_IBitmap& bmp) const;

  // Deterministic pseudo-random pixels. Alpha favours 0, 1, 127, 128, 254 and 255;
  // rows 0 and 1 are wholly transparent and wholly opaque respectively.
  static PixelGrid Random(int w, int h, uint32_t seed);

  bool operator==(const PixelGrid& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
};

// Pixel (x, y), y = 0 the top row, of any bitmap.
LICE_pixel& PixelAt(LICE_IBitmap& bmp, int x, int y);
