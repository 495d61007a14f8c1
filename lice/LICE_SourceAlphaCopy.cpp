#include "LICE_SourceAlphaCopy.h"

#include "LICE_Blend.h"

#if defined(LICE_HAVE_X86_KERNELS)
#include <immintrin.h>
#endif

// The vector kernels use this identity for S + (D - S) * keep / 256 rounded toward
// zero, with N = D * keep + S * (256 - keep) (0..65280, fits 16 unsigned bits): it
// is N >> 8 when D >= S and (N + 255) >> 8 when D < S.

void LICE_SourceAlphaCopyRowScalar(LICE_pixel* d, const LICE_pixel* s, int n, int w)
{
  for (int i = 0; i < n; ++i)
  {
    const LICE_pixel sp = s[i], dp = d[i];
    const int sA = LICE_GETA(sp);
    if (sA == 0) continue;
    int gain, keep;
    if (w == 256)
    {
      if (sA == 255)
      {
        d[i] = sp;
        continue;
      }
      gain = sA;
      keep = 255 - sA;
    }
    else
    {
      gain = w * (sA + 1) / 256;
      keep = 256 - gain;
    }
    const int dA = LICE_GETA(dp) + gain;
    d[i] = LICE_RGBA(LICE_BlendCopyChannel(LICE_GETR(dp), LICE_GETR(sp), keep),
                     LICE_BlendCopyChannel(LICE_GETG(dp), LICE_GETG(sp), keep),
                     LICE_BlendCopyChannel(LICE_GETB(dp), LICE_GETB(sp), keep), dA < 255 ? dA : 255);
  }
}

#if defined(LICE_HAVE_X86_KERNELS)

// The vector kernels split each 32-bit pixel into 16-bit lanes without shuffles:
// the even lanes hold blue and red (pixel & 0x00FF00FF), the odd lanes green and
// alpha (pixel >> 8 per 16-bit lane). Each pixel's alpha is spread over both of its
// lanes, the colour formula runs on both halves, and the alpha byte is replaced by
// the saturating sum of destination alpha and gain.

namespace
{

inline __m128i MixLanes(__m128i d, __m128i s, __m128i keep, __m128i share, __m128i lowByte)
{
  const __m128i n = _mm_add_epi16(_mm_mullo_epi16(d, keep), _mm_mullo_epi16(s, share));
  const __m128i bias = _mm_and_si128(_mm_cmpgt_epi16(s, d), lowByte);
  return _mm_srli_epi16(_mm_add_epi16(n, bias), 8);
}

__attribute__((target("avx2"))) inline __m256i MixLanes(__m256i d, __m256i s, __m256i keep, __m256i share,
                                                        __m256i lowByte)
{
  const __m256i n = _mm256_add_epi16(_mm256_mullo_epi16(d, keep), _mm256_mullo_epi16(s, share));
  const __m256i bias = _mm256_and_si256(_mm256_cmpgt_epi16(s, d), lowByte);
  return _mm256_srli_epi16(_mm256_add_epi16(n, bias), 8);
}

}  // namespace

void LICE_SourceAlphaCopyRowSSE2(LICE_pixel* d, const LICE_pixel* s, int n, int w)
{
  const __m128i zero = _mm_setzero_si128();
  const __m128i lowByte = _mm_set1_epi16(0xFF);
  const __m128i one = _mm_set1_epi16(1);
  const __m128i c256 = _mm_set1_epi16(256);
  const __m128i weight = _mm_set1_epi16((short)w);
  const __m128i opaque = _mm_set1_epi32(255);
  const __m128i alphaBytes = _mm_set1_epi32((int)0xFF000000);
  int i = 0;
  for (; i + 4 <= n; i += 4)
  {
    const __m128i sv = _mm_loadu_si128((const __m128i*)(s + i));
    const __m128i sa = _mm_srli_epi32(sv, 24);
    const __m128i clear = _mm_cmpeq_epi32(sa, zero);
    if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
    if (w == 256 && _mm_movemask_epi8(_mm_cmpeq_epi32(sa, opaque)) == 0xFFFF)
    {
      _mm_storeu_si128((__m128i*)(d + i), sv);
      continue;
    }
    const __m128i dv = _mm_loadu_si128((const __m128i*)(d + i));
    const __m128i a = _mm_or_si128(sa, _mm_slli_epi32(sa, 16));
    __m128i share, keep, alpha;
    if (w == 256)
    {
      keep = _mm_xor_si128(a, lowByte);
      share = _mm_add_epi16(a, one);
      alpha = _mm_adds_epu8(dv, sv);
    }
    else
    {
      share = _mm_srli_epi16(_mm_mullo_epi16(_mm_add_epi16(a, one), weight), 8);
      keep = _mm_sub_epi16(c256, share);
      alpha = _mm_adds_epu8(dv, _mm_slli_epi32(share, 24));
    }
    const __m128i even = MixLanes(_mm_and_si128(dv, lowByte), _mm_and_si128(sv, lowByte), keep, share, lowByte);
    const __m128i odd = MixLanes(_mm_srli_epi16(dv, 8), _mm_srli_epi16(sv, 8), keep, share, lowByte);
    const __m128i colour = _mm_or_si128(even, _mm_slli_epi16(odd, 8));
    __m128i out = _mm_or_si128(_mm_andnot_si128(alphaBytes, colour), _mm_and_si128(alphaBytes, alpha));
    out = _mm_or_si128(_mm_and_si128(clear, dv), _mm_andnot_si128(clear, out));
    _mm_storeu_si128((__m128i*)(d + i), out);
  }
  LICE_SourceAlphaCopyRowScalar(d + i, s + i, n - i, w);
}

__attribute__((target("avx2"))) void LICE_SourceAlphaCopyRowAVX2(LICE_pixel* d, const LICE_pixel* s, int n, int w)
{
  const __m256i zero = _mm256_setzero_si256();
  const __m256i lowByte = _mm256_set1_epi16(0xFF);
  const __m256i one = _mm256_set1_epi16(1);
  const __m256i c256 = _mm256_set1_epi16(256);
  const __m256i weight = _mm256_set1_epi16((short)w);
  const __m256i opaque = _mm256_set1_epi32(255);
  const __m256i alphaBytes = _mm256_set1_epi32((int)0xFF000000);
  int i = 0;
  for (; i + 8 <= n; i += 8)
  {
    const __m256i sv = _mm256_loadu_si256((const __m256i*)(s + i));
    const __m256i sa = _mm256_srli_epi32(sv, 24);
    const __m256i clear = _mm256_cmpeq_epi32(sa, zero);
    if (_mm256_movemask_epi8(clear) == -1) continue;
    if (w == 256 && _mm256_movemask_epi8(_mm256_cmpeq_epi32(sa, opaque)) == -1)
    {
      _mm256_storeu_si256((__m256i*)(d + i), sv);
      continue;
    }
    const __m256i dv = _mm256_loadu_si256((const __m256i*)(d + i));
    const __m256i a = _mm256_or_si256(sa, _mm256_slli_epi32(sa, 16));
    __m256i share, keep, alpha;
    if (w == 256)
    {
      keep = _mm256_xor_si256(a, lowByte);
      share = _mm256_add_epi16(a, one);
      alpha = _mm256_adds_epu8(dv, sv);
    }
    else
    {
      share = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_add_epi16(a, one), weight), 8);
      keep = _mm256_sub_epi16(c256, share);
      alpha = _mm256_adds_epu8(dv, _mm256_slli_epi32(share, 24));
    }
    const __m256i even = MixLanes(_mm256_and_si256(dv, lowByte), _mm256_and_si256(sv, lowByte), keep, share, lowByte);
    const __m256i odd = MixLanes(_mm256_srli_epi16(dv, 8), _mm256_srli_epi16(sv, 8), keep, share, lowByte);
    const __m256i colour = _mm256_or_si256(even, _mm256_slli_epi16(odd, 8));
    __m256i out = _mm256_blendv_epi8(colour, alpha, alphaBytes);
    out = _mm256_blendv_epi8(out, dv, clear);
    _mm256_storeu_si256((__m256i*)(d + i), out);
  }
  // Clean upper register halves before legacy SSE code runs; the compiler does not
  // insert this for every target.
  _mm256_zeroupper();
  LICE_SourceAlphaCopyRowSSE2(d + i, s + i, n - i, w);
}

bool LICE_CpuHasAVX2()
{
  static const bool has = []
  {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}

#endif

namespace
{

using RowKernel = void (*)(LICE_pixel*, const LICE_pixel*, int, int);

// Null until a kernel is selected: the best one runs.
RowKernel gSelectedKernel = nullptr;

#if defined(LICE_HAVE_X86_KERNELS)

RowKernel BestKernel()
{
  return LICE_CpuHasAVX2() ? LICE_SourceAlphaCopyRowAVX2 : LICE_SourceAlphaCopyRowSSE2;
}

RowKernel KernelFor(LICE_SourceAlphaKernel k)
{
  switch (k)
  {
    case LICE_SourceAlphaKernel::kBest:
      return BestKernel();
    case LICE_SourceAlphaKernel::kScalar:
      return LICE_SourceAlphaCopyRowScalar;
    case LICE_SourceAlphaKernel::kSse2:
      return LICE_SourceAlphaCopyRowSSE2;
    case LICE_SourceAlphaKernel::kAvx2:
      return LICE_CpuHasAVX2() ? LICE_SourceAlphaCopyRowAVX2 : nullptr;
  }
  return nullptr;
}

#else

RowKernel bestKernel()
{
  return LICE_SourceAlphaCopyRowScalar;
}

RowKernel kernelFor(LICE_SourceAlphaKernel k)
{
  const bool portable = k == LICE_SourceAlphaKernel::Best || k == LICE_SourceAlphaKernel::Scalar;
  return portable ? LICE_SourceAlphaCopyRowScalar : nullptr;
}

#endif

}  // namespace

void LICE_SourceAlphaCopyRow(LICE_pixel* d, const LICE_pixel* s, int n, int w)
{
  (gSelectedKernel ? gSelectedKernel : BestKernel())(d, s, n, w);
}

bool LICE_SelectSourceAlphaKernel(LICE_SourceAlphaKernel k)
{
  const RowKernel kernel = KernelFor(k);
  if (!kernel) return false;
  gSelectedKernel = kernel;
  return true;
}
