#include "LICE_MemBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

LICE_MemBitmap::~LICE_MemBitmap()
{
  free(mBuffer);
}

LICE_pixel* LICE_MemBitmap::getBits()
{
  if (!mBuffer) return nullptr;
  const uintptr_t aligned = ((uintptr_t)mBuffer + 63) & ~(uintptr_t)63;
  return (LICE_pixel*)aligned;
}

bool LICE_MemBitmap::resize(int w, int h)
{
  if (w == mWidth && h == mHeight) return false;
  mWidth = w;
  mHeight = h;

  // The byte count must fit an int32 together with the alignment slack; a size that
  // does not is treated like a failed allocation.
  const int64_t rowPixels = ((int64_t)w + mLineAlign) & ~(int64_t)mLineAlign;
  const int64_t wanted = rowPixels * (int64_t)h * 4;
  const bool fits = wanted <= (int64_t)INT_MAX - 63 - INT_MAX / 4;

  if (w >= 1 && h >= 1 && fits)
  {
    const int bytes = (int)wanted;
    if (!mBuffer)
    {
      mBuffer = (unsigned char*)malloc((size_t)bytes + 63);
      mAllocated = mBuffer ? bytes : 0;
    }
    else if (bytes > mAllocated)
    {
      const int grown = bytes + bytes / 4;
      unsigned char* moved = (unsigned char*)realloc(mBuffer, (size_t)grown + 63);
      if (moved)
      {
        mBuffer = moved;
        mAllocated = grown;
      }
      else
      {
        free(mBuffer);
        mBuffer = (unsigned char*)malloc((size_t)bytes + 63);
        mAllocated = mBuffer ? bytes : 0;
      }
    }
  }
  else
  {
    free(mBuffer);
    mBuffer = nullptr;
    mAllocated = 0;
  }

  if (!mBuffer) mWidth = mHeight = 0;
  return true;
}
