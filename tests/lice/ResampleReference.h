#pragma once

#include "PixelGrid.h"

#include <algorithm>

// A plain model of the area-averaging resample for tests: every destination pixel on
// its own, summing each source pixel it overlaps, the overlap measured in fractions of
// a source pixel. Destination pixel i of an axis with source size s and destination
// size d spans [i*s/d, (i+1)*s/d); source pixel k spans [k, k+1). Alpha is the
// weighted mean of alpha, each colour its alpha-weighted mean, both rounded half up;
// a destination pixel within one source pixel is that pixel.

namespace resample_reference
{

// Overlap of destination pixel i with source pixel k, in 1/d of a source pixel.
inline long long Overlap(long long i, long long k, long long s, long long d)
{
  const long long lo = std::max(i * s, k * d), hi = std::min((i + 1) * s, (k + 1) * d);
  return hi > lo ? hi - lo : 0;
}

inline int RoundHalfUp(long long n, long long q)
{
  return (int)((2 * n + q) / (2 * q));
}

}  // namespace resample_reference

// Pixel (i, j) of the sw x sh pixels of src at (sx, sy) resampled to dw x dh.
inline LICE_pixel ReferenceResamplePixel(const PixelGrid& src, int sx, int sy, int sw, int sh, int dw, int dh, int i,
                                         int j)
{
  using resample_reference::Overlap;
  using resample_reference::RoundHalfUp;
  long long weights = 0, alpha = 0, red = 0, green = 0, blue = 0;
  int overlapped = 0;
  LICE_pixel last = 0;
  for (long long y = (long long)j * sh / dh; y * dh < (j + 1LL) * sh; ++y)
  {
    for (long long x = (long long)i * sw / dw; x * dw < (i + 1LL) * sw; ++x)
    {
      const long long w = Overlap(i, x, sw, dw) * Overlap(j, y, sh, dh);
      if (w == 0) continue;
      last = src.At(sx + (int)x, sy + (int)y);
      ++overlapped;
      const long long wa = w * LICE_GETA(last);
      weights += w;
      alpha += wa;
      red += wa * LICE_GETR(last);
      green += wa * LICE_GETG(last);
      blue += wa * LICE_GETB(last);
    }
  }
  if (overlapped == 1) return last;
  if (alpha == 0) return 0;
  return LICE_RGBA(RoundHalfUp(red, alpha), RoundHalfUp(green, alpha), RoundHalfUp(blue, alpha),
                   RoundHalfUp(alpha, weights));
}

// The sw x sh pixels of src at (sx, sy) resampled to a dw x dh grid.
inline PixelGrid ReferenceResample(const PixelGrid& src, int sx, int sy, int sw, int sh, int dw, int dh)
{
  PixelGrid out(dw, dh);
  for (int j = 0; j < dh; ++j)
    for (int i = 0; i < dw; ++i) out.At(i, j) = ReferenceResamplePixel(src, sx, sy, sw, sh, dw, dh, i, j);
  return out;
}
