#pragma once

#include "LICE_IBitmap.h"

typedef struct HBITMAP__* LICE_HBITMAP;

// Bitmap that a window can copy to the screen: on Windows its pixels are a top-down
// 32-bit GDI DIB section selected into a memory device context; elsewhere they are a
// plain heap block and getDC() is null. The storage is reused while it is at least
// as large as the requested size; the row span is the allocated width, a multiple
// of 4 pixels.
class LICE_SysBitmap : public LICE_IBitmap
{
public:
  LICE_SysBitmap(int w = 0, int h = 0);
  ~LICE_SysBitmap() override;

  LICE_pixel* getBits() override { return mBits; }
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override { return mAllocW; }
  bool resize(int w, int h) override;
  LICE_HDC getDC() override { return mDC; }

private:
  int mWidth = 0;
  int mHeight = 0;
  LICE_HDC mDC = nullptr;
  LICE_pixel* mBits = nullptr;
  int mAllocW = 0;
  int mAllocH = 0;
  LICE_HBITMAP mBitmap = nullptr;
  void* mOldBitmap = nullptr;
};
