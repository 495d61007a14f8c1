#pragma once

#include "LICE_pixel.h"

// Row kernels of LICE_Blit's copy with source alpha, the editor's default blend.
// Each applies, to n pixels, with weight w (1..256): source alpha 0 leaves the
// destination; at w = 256 the colour keeps (255 - sA) / 256 of the destination and
// alpha gains sA; otherwise a = w * (sA + 1) / 256 is both the colour's share and
// the alpha gain. Alpha saturates at 255. All kernels give identical results.

// Portable, one pixel at a time.
void LICE_SourceAlphaCopyRowScalar(LICE_pixel* d, const LICE_pixel* s, int n, int w);

// The selected kernel (at first the best one for this processor); LICE_Blit uses it.
void LICE_SourceAlphaCopyRow(LICE_pixel* d, const LICE_pixel* s, int n, int w);

// Kernels LICE_SourceAlphaCopyRow can be made to run. kBest is the processor's
// fastest, the one chosen when nothing has been selected.
enum class LICE_SourceAlphaKernel
{
  kBest,
  kScalar,
  kSse2,
  kAvx2
};

// Makes LICE_SourceAlphaCopyRow run kernel k from now on, so that tests and
// benchmarks can take every path LICE_Blit has. Returns false and keeps the current
// choice when this build or processor lacks k. Not for use while blits run.
bool LICE_SelectSourceAlphaKernel(LICE_SourceAlphaKernel k);

#if defined(__x86_64__)
#define LICE_HAVE_X86_KERNELS 1
// Four pixels at a time with SSE2.
void LICE_SourceAlphaCopyRowSSE2(LICE_pixel* d, const LICE_pixel* s, int n, int w);
// Eight pixels at a time with AVX2; only when LICE_CpuHasAVX2().
void LICE_SourceAlphaCopyRowAVX2(LICE_pixel* d, const LICE_pixel* s, int n, int w);
bool LICE_CpuHasAVX2();
#endif
