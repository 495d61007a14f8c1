#include "LICE_SourceAlphaCopy.h"
#include "PixelGrid.h"
#include "PixelOracle.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using RowKernel = void (*)(LICE_pixel*, const LICE_pixel*, int, int);

// Runs a kernel over rows of every length 0..40 at a given weight and compares each
// with the oracle's copy with source alpha. The rows come from a random grid whose
// first rows are wholly transparent and wholly opaque, so the kernels' whole-block
// shortcuts are taken too.
void ExpectKernelMatchesOracle(RowKernel kernel, int w)
{
  const PixelGrid src = PixelGrid::Random(40, 12, (uint32_t)w + 1), dst = PixelGrid::Random(40, 12, (uint32_t)w + 99);
  for (int n = 0; n <= 40; ++n)
  {
    for (int y = 0; y < src.height; ++y)
    {
      PixelGrid expected(n, 1), source(n, 1);
      std::vector<LICE_pixel> row(dst.pixels.begin() + y * 40, dst.pixels.begin() + y * 40 + n);
      for (int x = 0; x < n; ++x)
      {
        expected.At(x, 0) = row[(size_t)x];
        source.At(x, 0) = src.At(x, y);
      }
      OracleBlit(expected, source, 0, 0, nullptr, (float)w / 256.0f, 0x10000);
      kernel(row.data(), source.pixels.data(), n, w);
      ASSERT_EQ(row, expected.pixels) << "length " << n << " row " << y << " weight " << w;
    }
  }
}

struct Kernel
{
  const char* name;
  RowKernel fn;
  bool available;
};

std::vector<Kernel> Kernels()
{
  std::vector<Kernel> k = {{"Scalar", LICE_SourceAlphaCopyRowScalar, true},
                           {"Dispatch", LICE_SourceAlphaCopyRow, true}};
#if defined(LICE_HAVE_X86_KERNELS)
  k.push_back({"SSE2", LICE_SourceAlphaCopyRowSSE2, true});
  k.push_back({"AVX2", LICE_SourceAlphaCopyRowAVX2, LICE_CpuHasAVX2()});
#endif
  return k;
}

TEST(LICE_SourceAlphaCopy, EveryKernelMatchesTheOracleAtEveryWeight)
{
  for (const Kernel& k : Kernels())
  {
    if (!k.available)
    {
      printf("kernel %s not supported by this processor, not tested\n", k.name);
      continue;
    }
    SCOPED_TRACE(k.name);
    for (int w = 1; w <= 256; ++w) ExpectKernelMatchesOracle(k.fn, w);
  }
}

}  // namespace
