#include "LICE_Blit.h"

#include "LICE_Blend.h"

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Rows of a clipped block: first row pointers and the signed steps between rows.
struct Block {
  LICE_pixel* d;
  ptrdiff_t dstep;
  const LICE_pixel* s;
  ptrdiff_t sstep;
  int cols;
  int rows;
};

template <class Op>
void forEachPixel(const Block& b, Op op)
{
  LICE_pixel* d = b.d;
  const LICE_pixel* s = b.s;
  for (int r = 0; r < b.rows; ++r, d += b.dstep, s += b.sstep)
    for (int c = 0; c < b.cols; ++c) d[c] = op(d[c], s[c]);
}

// Weight of a source pixel under LICE_BLEND_USE_SOURCE_ALPHA.
inline int sourceWeight(int w, LICE_pixel s) { return w * (LICE_GETA(s) + 1) / 256; }

// Copy with source alpha, one pixel. At full weight the colour keeps (255 - sA) / 256
// of the destination and alpha gains sA; otherwise a = w * (sA + 1) / 256 takes the
// place of both.
inline LICE_pixel sourceAlphaCopy(LICE_pixel d, LICE_pixel s, int w)
{
  const int sA = LICE_GETA(s);
  if (sA == 0) return d;
  int gain, keep;
  if (w == 256) {
    if (sA == 255) return s;
    gain = sA;
    keep = 255 - sA;
  } else {
    gain = w * (sA + 1) / 256;
    keep = 256 - gain;
  }
  const int dA = LICE_GETA(d) + gain;
  return LICE_RGBA(LICE_BlendCopyChannel(LICE_GETR(d), LICE_GETR(s), keep),
                   LICE_BlendCopyChannel(LICE_GETG(d), LICE_GETG(s), keep),
                   LICE_BlendCopyChannel(LICE_GETB(d), LICE_GETB(s), keep), dA < 255 ? dA : 255);
}

#if defined(__SSE2__)
// Two pixels widened to 16-bit lanes: their colour results S + (D - S) * keep / 256
// (rounded toward zero) with the alpha lanes replaced by dA + gain; packing
// saturates those to 255.
inline __m128i sourceAlphaCopy8(__m128i d, __m128i s, __m128i keep, __m128i gain, __m128i alphaLanes)
{
  const __m128i absdiff = _mm_or_si128(_mm_subs_epu16(d, s), _mm_subs_epu16(s, d));
  const __m128i negative = _mm_cmpgt_epi16(s, d);
  __m128i q = _mm_srli_epi16(_mm_mullo_epi16(absdiff, keep), 8);
  q = _mm_sub_epi16(_mm_xor_si128(q, negative), negative);
  const __m128i colour = _mm_add_epi16(s, q);
  const __m128i alpha = _mm_add_epi16(d, gain);
  return _mm_or_si128(_mm_andnot_si128(alphaLanes, colour), _mm_and_si128(alphaLanes, alpha));
}

// Broadcasts each pixel's alpha lane (3 and 7) over its four lanes.
inline __m128i alphaOfPair(__m128i px16) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px16, 0xFF), 0xFF); }
#endif

void blitSourceAlphaCopy(const Block& b, int w)
{
  LICE_pixel* drow = b.d;
  const LICE_pixel* srow = b.s;
  for (int r = 0; r < b.rows; ++r, drow += b.dstep, srow += b.sstep) {
    int c = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    const __m128i lowByte = _mm_set1_epi16(0xFF);
    const __m128i c256 = _mm_set1_epi16(256);
    const __m128i one = _mm_set1_epi16(1);
    const __m128i weight = _mm_set1_epi16((short)w);
    for (; c + 4 <= b.cols; c += 4) {
      const __m128i s = _mm_loadu_si128((const __m128i*)(srow + c));
      const __m128i sa = _mm_srli_epi32(s, 24);
      const __m128i transparent = _mm_cmpeq_epi32(sa, zero);
      const int transparentMask = _mm_movemask_epi8(transparent);
      if (transparentMask == 0xFFFF) continue;
      if (w == 256 && _mm_movemask_epi8(_mm_cmpeq_epi32(sa, _mm_set1_epi32(255))) == 0xFFFF) {
        _mm_storeu_si128((__m128i*)(drow + c), s);
        continue;
      }
      const __m128i d = _mm_loadu_si128((const __m128i*)(drow + c));
      const __m128i sLo = _mm_unpacklo_epi8(s, zero), sHi = _mm_unpackhi_epi8(s, zero);
      const __m128i dLo = _mm_unpacklo_epi8(d, zero), dHi = _mm_unpackhi_epi8(d, zero);
      const __m128i aLo = alphaOfPair(sLo), aHi = alphaOfPair(sHi);
      __m128i gainLo, gainHi, keepLo, keepHi;
      if (w == 256) {
        gainLo = aLo, gainHi = aHi;
        keepLo = _mm_xor_si128(aLo, lowByte), keepHi = _mm_xor_si128(aHi, lowByte);
      } else {
        gainLo = _mm_srli_epi16(_mm_mullo_epi16(_mm_add_epi16(aLo, one), weight), 8);
        gainHi = _mm_srli_epi16(_mm_mullo_epi16(_mm_add_epi16(aHi, one), weight), 8);
        keepLo = _mm_sub_epi16(c256, gainLo), keepHi = _mm_sub_epi16(c256, gainHi);
      }
      const __m128i lo = sourceAlphaCopy8(dLo, sLo, keepLo, gainLo, alphaLanes);
      const __m128i hi = sourceAlphaCopy8(dHi, sHi, keepHi, gainHi, alphaLanes);
      __m128i out = _mm_packus_epi16(lo, hi);
      if (transparentMask) out = _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, out));
      _mm_storeu_si128((__m128i*)(drow + c), out);
    }
#endif
    for (; c < b.cols; ++c) drow[c] = sourceAlphaCopy(drow[c], srow[c], w);
  }
}

void blitChannelCopy(const Block& b, int mode)
{
  const int dshift = 8 * ((mode >> 2) & 3), sshift = 8 * (mode & 3);
  const LICE_pixel keepMask = ~((LICE_pixel)0xFF << dshift);
  forEachPixel(b, [=](LICE_pixel d, LICE_pixel s) {
    return (d & keepMask) | ((s >> sshift) & 0xFF) << dshift;
  });
}

void blitHalf(const Block& b)
{
  forEachPixel(b, [](LICE_pixel d, LICE_pixel s) {
    return ((s >> 1) & 0x7F7F7F7F) + ((d >> 1) & 0x7F7F7F7F);
  });
}

void blitRows(const Block& b)
{
  LICE_pixel* d = b.d;
  const LICE_pixel* s = b.s;
  for (int r = 0; r < b.rows; ++r, d += b.dstep, s += b.sstep) memmove(d, s, (size_t)b.cols * sizeof(LICE_pixel));
}

// One of modes 1..5 applied with the source as operand and a constant weight.
template <int Mode>
void blitWeighted(const Block& b, int w)
{
  forEachPixel(b, [w](LICE_pixel d, LICE_pixel s) {
    return LICE_BlendPixel(d, Mode, LICE_GETB(s), LICE_GETG(s), LICE_GETR(s), LICE_GETA(s), w);
  });
}

// One of modes 1..5 with the weight scaled by each source pixel's alpha; SkipClear
// leaves pixels with source alpha 0 alone.
template <int Mode, bool SkipClear>
void blitSourceWeighted(const Block& b, int w)
{
  forEachPixel(b, [w](LICE_pixel d, LICE_pixel s) {
    if (SkipClear && LICE_GETA(s) == 0) return d;
    return LICE_BlendPixel(d, Mode, LICE_GETB(s), LICE_GETG(s), LICE_GETR(s), LICE_GETA(s), sourceWeight(w, s));
  });
}

void blitCopy(const Block& b, int w)
{
  if (w == 256) {
    blitRows(b);
    return;
  }
  forEachPixel(b, [w](LICE_pixel d, LICE_pixel s) {
    return LICE_BlendPixel(d, LICE_BLEND_COPY, LICE_GETB(s), LICE_GETG(s), LICE_GETR(s), LICE_GETA(s), w);
  });
}

// Address of row `row` (0 = top) of a bitmap, honouring the flip.
inline LICE_pixel* rowAddress(LICE_pixel* bits, ptrdiff_t span, int height, bool flipped, int row)
{
  return bits + (flipped ? (ptrdiff_t)(height - 1 - row) : (ptrdiff_t)row) * span;
}

}  // namespace

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const LICE_Rect* srcRect, float alpha,
               int mode)
{
  if (!dest || !src || alpha == 0.0f) return;

  // Clipping runs in 64 bits so that extreme coordinates cannot overflow.
  const long long srcW = src->getWidth(), srcH = src->getHeight();
  const long long destW = dest->getWidth(), destH = dest->getHeight();
  long long dx = dstx, dy = dsty;
  long long srcx = 0, srcy = 0, limx = srcW, limy = srcH;
  if (srcRect) {
    srcx = srcRect->left;
    srcy = srcRect->top;
    if (srcRect->left < 0) {
      dx -= srcRect->left;
      srcx = 0;
    }
    if (srcRect->top < 0) {
      dy -= srcRect->top;
      srcy = 0;
    }
    limx = srcRect->right < srcW ? srcRect->right : srcW;
    limy = srcRect->bottom < srcH ? srcRect->bottom : srcH;
  }
  if (dx < 0) {
    srcx -= dx;
    dx = 0;
  }
  if (dy < 0) {
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
  b.s = rowAddress(sbits, sspan, (int)srcH, sflip, (int)srcy) + srcx;
  b.sstep = sflip ? -sspan : sspan;
  b.d = rowAddress(dbits, dspan, (int)destH, dflip, (int)dy) + dx;
  b.dstep = dflip ? -dspan : dspan;

  if ((mode & LICE_BLEND_MODEMASK) >= LICE_BLEND_CHANNELCOPY) {
    blitChannelCopy(b, mode);
    return;
  }
  const int m = mode & (LICE_BLEND_MODEMASK | LICE_BLEND_USE_SOURCE_ALPHA);
  if (m == LICE_BLEND_COPY && alpha == 1.0f) {
    blitRows(b);
    return;
  }
  if (m == LICE_BLEND_COPY && alpha == 0.5f) {
    blitHalf(b);
    return;
  }

  int w = LICE_AlphaToWeight(alpha);
  if (w > 256) w = 256;
  if (w <= 0) return;

  switch (m) {
  case LICE_BLEND_COPY: blitCopy(b, w); break;
  case LICE_BLEND_ADD: blitWeighted<LICE_BLEND_ADD>(b, w); break;
  case LICE_BLEND_DODGE: blitWeighted<LICE_BLEND_DODGE>(b, w); break;
  case LICE_BLEND_MULTIPLY: blitWeighted<LICE_BLEND_MULTIPLY>(b, w); break;
  case LICE_BLEND_SOFTLIGHT: blitWeighted<LICE_BLEND_SOFTLIGHT>(b, w); break;
  case LICE_BLEND_HSVADJUST: blitWeighted<LICE_BLEND_HSVADJUST>(b, w); break;
  case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_COPY: blitSourceAlphaCopy(b, w); break;
  case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_ADD: blitSourceWeighted<LICE_BLEND_ADD, true>(b, w); break;
  case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_DODGE: blitSourceWeighted<LICE_BLEND_DODGE, false>(b, w); break;
  case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_MULTIPLY:
    blitSourceWeighted<LICE_BLEND_MULTIPLY, true>(b, w);
    break;
  case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_SOFTLIGHT:
    blitSourceWeighted<LICE_BLEND_SOFTLIGHT, false>(b, w);
    break;
  case LICE_BLEND_USE_SOURCE_ALPHA | LICE_BLEND_HSVADJUST:
    blitSourceWeighted<LICE_BLEND_HSVADJUST, false>(b, w);
    break;
  default: break;
  }
}
