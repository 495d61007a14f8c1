// Speed of the raster library on the editor's 255 x 658 area: blits in the modes the
// editor uses, fills, and decoding a knob strip PNG. Before timing, every timed blit
// is checked bit for bit against the per-pixel oracle of the tests; after timing the
// ratio of copy with source alpha to plain copy is printed next to its limit of 8.

#include "BenchImages.h"
#include "../RatioReporter.h"
#include "LICE_Blend.h"
#include "LICE_Blit.h"
#include "LICE_FillRect.h"
#include "LICE_MemBitmap.h"
#include "LICE_PNG.h"
#include "LICE_SysBitmap.h"
#include "PixelOracle.h"
#include "PngEncoder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{

constexpr int kWidth = 255, kHeight = 658;

// Sources: 0 = a layer of anti-aliased knobs (like the editor's artwork),
// 1 = random alpha everywhere (no pixel can be skipped or copied whole).
PixelGrid SourceImage(int kind)
{
  return kind == 0 ? MakeControlLayer(kWidth, kHeight) : PixelGrid::Random(kWidth, kHeight, 7);
}

struct BlitMode
{
  const char* name;
  float alpha;
  int mode;
};

const BlitMode kBlitModes[] = {
    {"Copy", 1.0f, LICE_BLEND_COPY},
    {"CopySourceAlpha", 1.0f, LICE_BLEND_COPY | LICE_BLEND_USE_SOURCE_ALPHA},
    {"CopySourceAlphaHalf", 0.5f, LICE_BLEND_COPY | LICE_BLEND_USE_SOURCE_ALPHA},
    {"Add", 1.0f, LICE_BLEND_ADD},
    {"AddSourceAlpha", 1.0f, LICE_BLEND_ADD | LICE_BLEND_USE_SOURCE_ALPHA},
};

void BM_Blit(benchmark::State& state, BlitMode m)
{
  LICE_SysBitmap dest(kWidth, kHeight);
  LICE_MemBitmap src(kWidth, kHeight);
  MakeBackground(kWidth, kHeight).WriteTo(dest);
  SourceImage((int)state.range(0)).WriteTo(src);
  for (auto _ : state)
  {
    LICE_Blit(&dest, &src, 0, 0, nullptr, m.alpha, m.mode);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_FillRect(benchmark::State& state, float alpha)
{
  LICE_SysBitmap dest(kWidth, kHeight);
  MakeBackground(kWidth, kHeight).WriteTo(dest);
  for (auto _ : state)
  {
    LICE_FillRect(&dest, 0, 0, kWidth, kHeight, 0xFF336699, alpha, LICE_BLEND_COPY);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

std::vector<unsigned char> KnobStripPng()
{
  const PixelGrid strip = MakeKnobStrip(156, 3486, 83);
  PngImage img;
  img.width = strip.width;
  img.height = strip.height;
  img.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  img.bitDepth = 8;
  img.AllocateRows();
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
    {
      const LICE_pixel p = strip.At(x, y);
      img.SetSample(x, y, 0, LICE_GETR(p));
      img.SetSample(x, y, 1, LICE_GETG(p));
      img.SetSample(x, y, 2, LICE_GETB(p));
      img.SetSample(x, y, 3, LICE_GETA(p));
    }
  return EncodePng(img);
}

void BM_DecodePNG(benchmark::State& state)
{
  const std::vector<unsigned char> png = KnobStripPng();
  for (auto _ : state)
  {
    std::unique_ptr<LICE_MemBitmap> bmp(LICE_LoadPNGFromMemory(png.data(), (int)png.size()));
    if (!bmp)
    {
      state.SkipWithError("decoding failed");
      break;
    }
    benchmark::DoNotOptimize(bmp->getBits());
  }
  state.counters["png_bytes"] = (double)png.size();
}

// Every timed blit, once, against the oracle; returns the number of mismatches.
int CheckAgainstOracle()
{
  int failures = 0;
  for (const BlitMode& m : kBlitModes)
  {
    for (int kind = 0; kind < 2; ++kind)
    {
      LICE_SysBitmap dest(kWidth, kHeight);
      LICE_MemBitmap src(kWidth, kHeight);
      PixelGrid expected = MakeBackground(kWidth, kHeight);
      const PixelGrid source = SourceImage(kind);
      expected.WriteTo(dest);
      source.WriteTo(src);
      LICE_Blit(&dest, &src, 0, 0, nullptr, m.alpha, m.mode);
      OracleBlit(expected, source, 0, 0, nullptr, m.alpha, m.mode);
      const bool same = PixelGrid::ReadFrom(dest) == expected;
      printf("oracle check %-20s source %d: %s\n", m.name, kind, same ? "bit-identical" : "MISMATCH");
      failures += same ? 0 : 1;
    }
  }
  return failures;
}

}  // namespace

int main(int argc, char** argv)
{
  for (const BlitMode& m : kBlitModes)
    benchmark::RegisterBenchmark((std::string("BM_Blit/") + m.name).c_str(), BM_Blit, m)->Arg(0)->Arg(1);
  benchmark::RegisterBenchmark("BM_FillRect/Copy", BM_FillRect, 1.0f);
  benchmark::RegisterBenchmark("BM_FillRect/CopyHalf", BM_FillRect, 0.5f);
  benchmark::RegisterBenchmark("BM_FillRect/Copy30", BM_FillRect, 0.3f);
  benchmark::RegisterBenchmark("BM_DecodePNG/156x3486", BM_DecodePNG)->Unit(benchmark::kMillisecond);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (CheckAgainstOracle() != 0) return 1;

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (int kind = 0; kind < 2; ++kind)
  {
    const std::string arg = "/" + std::to_string(kind);
    const std::string label = kind == 0 ? " (knob layer)" : " (random alpha)";
    reporter.PrintRatio(("source-alpha copy 1.0 / plain copy" + label).c_str(), "BM_Blit/CopySourceAlpha" + arg,
                        "BM_Blit/Copy" + arg, 8);
  }
  benchmark::Shutdown();
  return 0;
}
