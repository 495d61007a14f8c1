#include "LICE_SysBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

// Memory-backed variant for systems without GDI: no device context, pixels on the heap.

LICE_SysBitmap::LICE_SysBitmap(int w, int h)
{
  resize(w, h);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  free(mBits);
}

bool LICE_SysBitmap::resize(int w, int h)
{
  if (w == mWidth && h == mHeight) return false;
  mWidth = w;
  mHeight = h;
  if (w != 0 && h != 0 && w <= mAllocW && h <= mAllocH && mBits) return true;

  mAllocH = h;
  mAllocW = (int)(((int64_t)w + 3) & ~(int64_t)3);
  free(mBits);
  mBits = nullptr;
  if (mAllocW < 1 || h < 1) return false;

  const int64_t bytes = (int64_t)mAllocW * h * 4;
  if (bytes <= INT_MAX) mBits = (LICE_pixel*)malloc((size_t)bytes);
  if (!mBits) mWidth = mHeight = 0;
  return true;
}
