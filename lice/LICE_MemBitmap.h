#pragma once

#include "LICE_IBitmap.h"

// Bitmap whose pixels live in one heap block. Rows start on a 64-byte boundary and
// the row span is the width rounded up to a multiple of 4 pixels. The block only
// grows (by a quarter more than needed), so resizing back and forth is cheap.
// A failed allocation leaves an empty bitmap (0 x 0, no bits).
class LICE_MemBitmap : public LICE_IBitmap
{
public:
  LICE_MemBitmap() = default;
  LICE_MemBitmap(int w, int h) { resize(w, h); }
  ~LICE_MemBitmap() override;

  LICE_pixel* getBits() override;
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override { return (mWidth + mLineAlign) & ~mLineAlign; }
  bool resize(int w, int h) override;

  // Usable bytes of the block (the block itself is 63 bytes larger).
  int GetAllocated() const { return mAllocated; }

private:
  unsigned char* mBuffer = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mAllocated = 0;
  int mLineAlign = 3;
};
