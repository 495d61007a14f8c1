#include "LICE_GlyphBlur.h"

#include "LICE_BitmapRow.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace
{

inline LICE_pixel Half(LICE_pixel n)
{
  return (n >> 1) & 0x7F7F7F7F;
}
inline LICE_pixel Quarter(LICE_pixel n)
{
  return (n >> 2) & 0x3F3F3F3F;
}
inline LICE_pixel Eighth(LICE_pixel n)
{
  return (n >> 3) & 0x1F1F1F1F;
}

// Top and bottom rows: one vertical neighbour row v.
void BlurEdgeRow(LICE_pixel* out, const LICE_pixel* c, const LICE_pixel* v, int w)
{
  out[0] = Quarter(v[0]) + Half(c[0]) + Quarter(c[1]);
  for (int x = 1; x < w - 1; ++x) out[x] = Quarter(v[x]) + Eighth(c[x + 1]) + Half(c[x]) + Eighth(c[x - 1]);
  out[w - 1] = Quarter(v[w - 1]) + Half(c[w - 1]) + Quarter(c[w - 2]);
}

void BlurInnerRow(LICE_pixel* out, const LICE_pixel* c, const LICE_pixel* u, const LICE_pixel* d, int w)
{
  out[0] = Eighth(d[0]) + Half(c[0]) + Eighth(u[0]) + Quarter(c[1]);
  for (int x = 1; x < w - 1; ++x)
    out[x] = Eighth(d[x]) + Eighth(u[x]) + Half(c[x]) + Eighth(c[x - 1]) + Eighth(c[x + 1]);
  out[w - 1] = Eighth(u[w - 1]) + Eighth(d[w - 1]) + Half(c[w - 1]) + Quarter(c[w - 2]);
}

}  // namespace

void LICE_GlyphBlur::Apply(LICE_IBitmap* bm, int w, int h)
{
  if (!bm || !bm->getBits()) return;
  w = std::min(w, bm->getWidth());
  h = std::min(h, bm->getHeight());
  if (w < 2 || h < 2) return;

  const int kLocal = 1024;
  LICE_pixel local[2 * kLocal];
  std::unique_ptr<LICE_pixel[]> heap;
  LICE_pixel* rows = local;
  if (w > kLocal)
  {
    heap.reset(new (std::nothrow) LICE_pixel[2 * (size_t)w]);
    if (!heap) return;
    rows = heap.get();
  }
  LICE_pixel* prev = rows;
  LICE_pixel* cur = rows + w;

  for (int y = 0; y < h; ++y)
  {
    LICE_pixel* out = LICE_BitmapRow(bm, y);
    std::memcpy(cur, out, (size_t)w * sizeof(LICE_pixel));
    if (y == 0)
      BlurEdgeRow(out, cur, LICE_BitmapRow(bm, 1), w);
    else if (y == h - 1)
      BlurEdgeRow(out, cur, LICE_BitmapRow(bm, h - 2), w);
    else
      BlurInnerRow(out, cur, prev, LICE_BitmapRow(bm, y + 1), w);
    std::swap(prev, cur);
  }
}
