#pragma once

#include "LICE_IBitmap.h"

#include <cstddef>
#include <vector>

// Bottom-up bitmap for tests: row 0 (top) is the last stored row. Its row span is
// the width plus 3, so it is never a multiple of 4 unlike the library's bitmaps.
// With a size limit set, resize refuses anything larger and keeps the old size.
class FlippedBitmap : public LICE_IBitmap
{
public:
  FlippedBitmap(int w, int h) { resize(w, h); }

  LICE_pixel* getBits() override { return m_pixels.empty() ? nullptr : m_pixels.data(); }
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  int getRowSpan() override { return m_width + 3; }
  bool isFlipped() override { return true; }
  bool resize(int w, int h) override
  {
    if (w == m_width && h == m_height) return false;
    if (m_maxPixels >= 0 && (long long)w * h > m_maxPixels) return false;
    m_width = w;
    m_height = h;
    m_pixels.assign((size_t)(w + 3) * h, 0xDEADBEEF);
    return true;
  }

  void setMaxPixels(long long n) { m_maxPixels = n; }

private:
  std::vector<LICE_pixel> m_pixels;
  int m_width = 0;
  int m_height = 0;
  long long m_maxPixels = -1;
};
