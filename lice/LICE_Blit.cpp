#include "LICE_Blit.h"

#include "LICE_Blend.h"
#include "LICE_SourceAlphaCopy.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace
{

// Rows of a clipped block: first row pointers and the signed steps between rows.
struct Block
{
  LICE_pixel* d;
  ptrdiff_t dstep;
  const LICE_pixel* s;
  ptrdiff_t sstep;
  int cols;
  int rows;
};

// Source pixels set aside at a time when a block is copied within its own pixels.
constexpr int kHeldPixels = 256;

inline uintptr_t AddressOf(const LICE_pixel* p)
{
  return reinterpret_cast<uintptr_t>(p);
}

// Whether the source and destination rows of a block share any memory.
bool SharesPixels(const Block& b)
{
  auto lowest = [&b](const LICE_pixel* first, ptrdiff_t step)
  { return AddressOf(step < 0 ? first + (b.rows - 1) * step : first); };
  auto beyond = [&b](const LICE_pixel* first, ptrdiff_t step)
  { return AddressOf((step < 0 ? first : first + (b.rows - 1) * step) + b.cols); };
  return lowest(b.s, b.sstep) < beyond(b.d, b.dstep) && lowest(b.d, b.dstep) < beyond(b.s, b.sstep);
}

template <class Row>
void EachRowApart(const Block& b, Row row)
{
  LICE_pixel* d = b.d;
  const LICE_pixel* s = b.s;
  for (int r = 0; r < b.rows; ++r, d += b.dstep, s += b.sstep) row(d, s, b.cols);
}

// Source and destination rows lie at one fixed distance from each other. Pieces of
// each row are worked on in address order away from the destination's side, each
// piece's source set aside before its destination is written, so every source
// pixel is read before anything overwrites it.
template <class Row>
void EachRowInPlace(const Block& b, Row row)
{
  LICE_pixel held[kHeldPixels];
  const bool backward = AddressOf(b.d) > AddressOf(b.s);
  const bool topDown = (b.dstep > 0) != backward;
  for (int i = 0; i < b.rows; ++i)
  {
    const ptrdiff_t r = topDown ? i : b.rows - 1 - i;
    LICE_pixel* d = b.d + r * b.dstep;
    const LICE_pixel* s = b.s + r * b.sstep;
    for (int done = 0; done < b.cols; done += kHeldPixels)
    {
      const int n = b.cols - done < kHeldPixels ? b.cols - done : kHeldPixels;
      const int x = backward ? b.cols - done - n : done;
      memcpy(held, s + x, (size_t)n * sizeof(LICE_pixel));
      row(d + x, held, n);
    }
  }
}

// Shared pixels seen through other row steps: the source block is copied first.
// Nothing is drawn when there is no memory for the copy.
template <class Row>
void EachRowFromACopy(const Block& b, Row row)
{
  std::unique_ptr<LICE_pixel[]> copy(new (std::nothrow) LICE_pixel[(size_t)b.cols * b.rows]);
  if (!copy) return;
  Block fromCopy = b;
  fromCopy.s = copy.get();
  fromCopy.sstep = b.cols;
  for (int r = 0; r < b.rows; ++r)
    memcpy(copy.get() + (ptrdiff_t)r * b.cols, b.s + r * b.sstep, (size_t)b.cols * sizeof(LICE_pixel));
  EachRowApart(fromCopy, row);
}

// Runs row(d, s, n) over every row of the block with the result a blit from a
// separate copy of the source would give, also when the two share pixels.
template <class Row>
void EachRow(const Block& b, Row row)
{
  const bool sameSteps = b.sstep == b.dstep && (b.dstep >= b.cols || -b.dstep >= b.cols);
  if (!SharesPixels(b))
    EachRowApart(b, row);
  else if (sameSteps)
    EachRowInPlace(b, row);
  else
    EachRowFromACopy(b, row);
}

template <class Op>
void ForEachPixel(const Block& b, Op op)
{
  EachRow(b,
          [op](LICE_pixel* d, const LICE_pixel* s, int n)
          {
            for (int c = 0; c < n; ++c) d[c] = op(d[c], s[c]);
          });
}

// Weight of a source pixel under LICE_BLEND_USE_SOURCE_ALPHA.
inline int SourceWeight(int w, LICE_pixel s)
{
  return w * (LICE_GETA(s) + 1) / 256;
}

void BlitSourceAlphaCopy(const Block& b, int w)
{
  EachRow(b, [w](LICE_pixel* d, const LICE_pixel* s, int n) { LICE_SourceAlphaCopyRow(d, s, n, w); });
}

void BlitChannelCopy(const Block& b, int mode)
{
  const int dshift = 8 * ((mode >> 2) & 3), sshift = 8 * (mode & 3);
  const LICE_pixel keepMask = ~((LICE_pixel)0xFF << dshift);
  ForEachPixel(b, [=](LICE_pixel d, LICE_pixel s) { return (d & keepMask) | ((s >> sshift) & 0xFF) << dshift; });
}

void BlitHalf(const Block& b)
{
  ForEachPixel(b, [](LICE_pixel d, LICE_pixel s) { return ((s >> 1) & 0x7F7F7F7F) + ((d >> 1) & 0x7F7F7F7F); });
}

void BlitRows(const Block& b)
{
  EachRow(b, [](LICE_pixel* d, const LICE_pixel* s, int n) { memmove(d, s, (size_t)n * sizeof(LICE_pixel)); });
}

// One of modes 1..5 applied with the source as operand and a constant weight.
template <int Mode>
void BlitWeighted(const Block& b, int w)
{
  ForEachPixel(b, [w](LICE_pixel d, LICE_pixel s)
               { return LICE_BlendPixel(d, Mode, LICE_GETB(s), LICE_GETG(s), LICE_GETR(s), LICE_GETA(s), w); });
}

// One of modes 1..5 with the weight scaled by each source pixel's alpha; SkipClear
// leaves pixels with source alpha 0 alone.
template <int Mode, bool SkipClear>
void BlitSourceWeighted(const Block& b, int w)
{
  ForEachPixel(b,
               [w](LICE_pixel d, LICE_pixel s)
               {
                 if (SkipClear && LICE_GETA(s) == 0) return d;
                 return LICE_BlendPixel(d, Mode, LICE_GETB(s), LICE_GETG(s), LICE_GETR(s), LICE_GETA(s),
                                        SourceWeight(w, s));
               });
}

void BlitCopy(const Block& b, int w)
{
  if (w == 256)
  {
    BlitRows(b);
    return;
  }
  ForEachPixel(b,
               [w](LICE_pixel d, LICE_pixel s) {
                 return LICE_BlendPixel(d, LICE_BLEND_COPY, LICE_GETB(s), LICE_GETG(s), LICE_GETR(s), LICE_GETA(s), w);
               });
}

// Address of row `row` (0 = top) of a bitmap, honouring the flip.
inline LICE_pixel* RowAddress(LICE_pixel* bits, ptrdiff_t span, int height, bool flipped, int row)
{
  return bits + (flipped ? (ptrdiff_t)(height - 1 - row) : (ptrdiff_t)row) * span;
}

}  // namespace

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const LICE_Rect* srcRect, float alpha,
               int mode)
{
  // Alpha at or below 0, or NaN, draws nothing in every mode, channel copies included.
  if (!dest || !src || !(alpha > 0.0f)) return;

  // Clipping runs in 64 bits so that extreme coordinates cannot overflow.
  const long long srcW = src->getWidth(), srcH = src->getHeight();
  const long long destW = dest->getWidth(), destH = dest->getHeight();
  long long dx = dstx, dy = dsty;
  long long srcx = 0, srcy = 0, limx = srcW, limy = srcH;
  if (srcRect)
  {
    srcx = srcRect->left;
    srcy = srcRect->top;
    if (srcRect->left < 0)
    {
      dx -= srcRect->left;
      srcx = 0;
    }
    if (srcRect->top < 0)
    {
      dy -= srcRect->top;
      srcy = 0;
    }
    limx = srcRect->right < srcW ? srcRect->right : srcW;
    limy = srcRect->bottom < srcH ? srcRect->bottom : srcH;
  }
  if (dx < 0)
  {
    srcx -= dx;
    dx = 0;
  }
  if (dy < 0)
  {
    srcy -= dy;
    dy = 0;
  }
  if (srcx >= limx || srcy >= limy || dx >= destW || dy >= destH) return;
  if (srcx + destW - dx < limx) limx = srcx + destW - dx;
  if (srcy + destH - dy < limy) limy = srcy + destH - dy;
  if (srcx >= limx || srcy >= limy) return;

  LICE_pixel* sbits = src->getBits();
  LICE_pixel* dbits = dest->getBits();
  if (!sbits || !dbits) return;

  Block b;
  b.cols = (int)(limx - srcx);
  b.rows = (int)(limy - srcy);
  const ptrdiff_t sspan = src->getRowSpan(), dspan = dest->getRowSpan();
  const bool sflip = src->isFlipped(), dflip = dest->isFlipped();
  b.s = RowAddress(sbits, sspan, (int)srcH, sflip, (int)srcy) + srcx;
  b.sstep = sflip ? -sspan : sspan;
  b.d = RowAddress(dbits, dspan, (int)destH, dflip, (int)dy) + dx;
  b.dstep = dflip ? -dspan : dspan;

  if ((mode & LICE_BLEND_MODEMASK) >= LICE_BLEND_CHANNELCOPY)
  {
    BlitChannelCopy(b, mode);
    return;
  }
  const int m = mode & (LICE_BLEND_MODEMASK | LICE_BLEND_USE_SOURCE_ALPHA);
  if (m == LICE_BLEND_COPY && alpha == 1.0f)
  {
    BlitRows(b);
    return;
  }
  if (m == LICE_BLEND_COPY && alpha == 0.5f)
  {
    BlitHalf(b);
    return;
  }

  int w = LICE_AlphaToWeight(alpha);
  if (w > 256) w = 256;
  if (w <= 0) return;

  switch (m)
  {
    case LICE_BLEND_COPY:
      BlitCopy(b, w);
      break;
    case LICE_BLEND_ADD:
      BlitWeighted<LICE_BLEND_ADD>(b, w);
      break;
    case LICE_BLEND_DODGE:
      BlitWeighted<LICE_BLEND_DODGE>(b, w);
      break;
    case LICE_BLEND_MULTIPLY:
      BlitWeighted<LICE_BLEND_MULTIPLY>(b, w);
      break;
    case LICE_BLEND_SOFTLIGHT:
      BlitWeighted<LICE_BLEND_SOFTLIGHT>(b, w);
      break;
    case LICE_BLEND_HSVADJUST:
      BlitWeighted<LICE_BLEND_HSVADJUST>(b, w);
      break;
    case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_COPY:
      BlitSourceAlphaCopy(b, w);
      break;
    case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_ADD:
      BlitSourceWeighted<LICE_BLEND_ADD, true>(b, w);
      break;
    case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_DODGE:
      BlitSourceWeighted<LICE_BLEND_DODGE, false>(b, w);
      break;
    case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_MULTIPLY:
      BlitSourceWeighted<LICE_BLEND_MULTIPLY, true>(b, w);
      break;
    case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_SOFTLIGHT:
      BlitSourceWeighted<LICE_BLEND_SOFTLIGHT, false>(b, w);
      break;
    case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_HSVADJUST:
      BlitSourceWeighted<LICE_BLEND_HSVADJUST, false>(b, w);
      break;
    default:
      break;
  }
}
