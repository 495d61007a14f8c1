#pragma once

#include "LICE_pixel.h"

#include <cstdint>

// GDI device context handle (HDC on Windows); never defined, so null off Windows.
typedef struct HDC__* LICE_HDC;

// Abstract 32-bit bitmap. Row r (0 = top) starts at getBits() + r * getRowSpan()
// pixels, or at getBits() + (getHeight() - 1 - r) * getRowSpan() when isFlipped().
// Every drawing operation of the raster library works through this interface.
class LICE_IBitmap
{
public:
  virtual ~LICE_IBitmap() = default;

  // Pixel storage, or null when the bitmap has none.
  virtual LICE_pixel* getBits() = 0;
  virtual int getWidth() = 0;
  virtual int getHeight() = 0;
  // Pixels per stored row (at least the width).
  virtual int getRowSpan() = 0;
  virtual bool isFlipped() { return false; }
  // True when the size changed. Pixel contents afterwards are unspecified.
  virtual bool resize(int w, int h) = 0;
  virtual LICE_HDC getDC() { return nullptr; }
  // Hook for bitmap kinds that need special handling; 0 = nothing special.
  virtual intptr_t extendedQuery(int code, void* data)
  {
    (void)code;
    (void)data;
    return 0;
  }

  LICE_IBitmap(const LICE_IBitmap&) = delete;
  LICE_IBitmap& operator=(const LICE_IBitmap&) = delete;

protected:
  LICE_IBitmap() = default;
};
