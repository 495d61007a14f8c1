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

  LICE_pixel* getBits() override { return mPixels.empty() ? nullptr : mPixels.data(); }
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override { return mWidth + 3; }
  bool isFlipped() override { return true; }
  bool resize(int w, int h) override
  {
    if (w == mWidth && h == mHeight) return false;
    if (mMaxPixels >= 0 && (long long)w * h > mMaxPixels) return false;
    mWidth = w;
    mHeight = h;
    mPixels.assign((size_t)(w + 3) * h, 0xDEADBEEF);
    return true;
  }

  void SetMaxPixels(long long n) { mMaxPixels = n; }

private:
  std::vector<LICE_pixel> mPixels;
  int mWidth = 0;
  int mHeight = 0;
  long long mMaxPixels = -1;
};
