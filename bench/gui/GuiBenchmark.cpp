// Editor drawing on a panel shaped like MERO's: a 255 x 658 background drawn as an
// opaque copy and nine knobs and switches with the frame sizes and places of the
// product's layout, from the PNGs in resources/img when they decode, else from
// synthetic RGBA strips of the same sizes. Measured side by side against one plain
// copy of the whole surface: a full redraw, one knob's change (redraw check and draw
// of its rectangle) and an idle timer tick. Each reports its time as a multiple of
// the plain copy (counter x_copy); the limits are printed at the end. The same panel at
// scales 2 (the 2x images as they are) and 1.5 (resampled from them) is redrawn whole
// against one plain copy of the 2x surface, and the bytes of the images each scale
// draws from are printed.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "IBitmapControl.h"
#include "IKnobMultiControl.h"
#include "ISwitchControl.h"
#include "../RatioReporter.h"
#include "LICE_Blend.h"
#include "LICE_Blit.h"
#include "LICE_MemBitmap.h"
#include "LICE_SysBitmap.h"
#include "TestEditorPlug.h"
#include "TestGraphics.h"

namespace
{

constexpr int kWidth = 255, kHeight = 658;

struct Layout
{
  int id;
  const char* file;
  const char* file2x;
  int w, h, frames;
  int x, y;
  int param;  // -1 for the background
  bool knob;
};

// The 2x images have the IDs 1x + 100.
constexpr int k2xIdOffset = 100;

const Layout kLayout[] = {
    {101, "resources/img/BG.png", "resources/img/2x/BG.png", 255, 658, 1, 0, 0, -1, false},
    {102, "resources/img/LEVEL.png", "resources/img/2x/LEVEL.png", 156, 3486, 21, 50, 381, 0, true},
    {107, "resources/img/LOW.png", "resources/img/2x/LOW.png", 69, 213, 3, 52, 163, 1, true},
    {108, "resources/img/HIGH.png", "resources/img/2x/HIGH.png", 67, 284, 4, 137, 163, 2, true},
    {110, "resources/img/OUT.png", "resources/img/2x/OUT.png", 73, 4331, 61, 89, 556, 3, true},
    {103, "resources/img/MODE.png", "resources/img/2x/MODE.png", 31, 120, 2, 71, 285, 4, false},
    {104, "resources/img/GAIN.png", "resources/img/2x/GAIN.png", 60, 150, 2, 96, 71, 5, false},
    {105, "resources/img/PAD.png", "resources/img/2x/PAD.png", 35, 104, 2, 110, 283, 6, false},
    {106, "resources/img/PHASE.png", "resources/img/2x/PHASE.png", 37, 100, 2, 152, 283, 7, false},
    {109, "resources/img/BY.png", "resources/img/2x/BY.png", 81, 80, 2, 85, 13, 8, false},
};

bool FileExists(const std::string& path)
{
  return std::ifstream(path, std::ios::binary).good();
}

// Frames of soft-edged discs (alpha falling off at the rim) over transparency; an
// opaque gradient for a one-frame image. size: 1, or 2 for the 2x image.
std::vector<LICE_pixel> SyntheticImage(const Layout& layout, int size)
{
  Layout l = layout;
  l.w *= size;
  l.h *= size;
  std::vector<LICE_pixel> pixels(static_cast<size_t>(l.w) * l.h);
  const int fh = l.h / l.frames;
  for (int y = 0; y < l.h; ++y)
    for (int x = 0; x < l.w; ++x)
    {
      LICE_pixel& p = pixels[static_cast<size_t>(y) * l.w + x];
      if (l.frames == 1)
      {
        p = LICE_RGBA(40 + x / 4, 30 + y / 6, 60 + (x ^ y) % 32, 255);
        continue;
      }
      const double cx = (l.w - 1) / 2.0, cy = (fh - 1) / 2.0, r = 0.45 * (l.w < fh ? l.w : fh);
      const double d = std::hypot(x - cx, (y % fh) - cy);
      const double cover = d < r - 1 ? 1.0 : d < r + 1 ? (r + 1 - d) / 2 : 0.0;
      p = LICE_RGBA(180, 170 - (y / fh) % 64, 150, static_cast<int>(cover * 255));
    }
  return pixels;
}

// The panel at a scale: control 0 the background, 1 the Level knob.
struct Panel
{
  explicit Panel(double scale)
  {
    const std::string root = MERO_SOURCE_DIR;
    graphics.SetFileRoot(root);
    for (const Layout& l : kLayout)
    {
      IBitmapStrip strip;
      const bool files = FileExists(root + "/" + l.file) && FileExists(root + "/" + l.file2x);
      if (files) strip = graphics.LoadBitmapStrip(l.id, l.file, l.frames, l.id + k2xIdOffset, l.file2x);
      if (!strip.bitmap || strip.w != l.w || strip.h != l.h)
      {
        const int id = TestGraphics::UniqueImageId(), id2x = TestGraphics::UniqueImageId();
        graphics.AddImage(id, l.w, l.h, SyntheticImage(l, 1));
        graphics.AddImage(id2x, 2 * l.w, 2 * l.h, SyntheticImage(l, 2));
        strip = graphics.LoadBitmapStrip(id, l.file, l.frames, id2x, l.file2x);
        synthetic = true;
      }
      if (l.param < 0)
        graphics.AddBackground(new IBitmapControl(&plug, l.x, l.y, -1, strip, IBlend::kOpaqueCopy));
      else if (l.knob)
        graphics.AddControl(new IKnobMultiControl(&plug, l.x, l.y, l.param, strip));
      else
        graphics.AddControl(new ISwitchControl(&plug, l.x, l.y, l.param, strip));
    }
    for (int i = 0; i < plug.NParams(); ++i) graphics.ShowParamValue(i, 0.5, true);
    graphics.CreateBackingBitmaps();
    graphics.SetScale(scale);
    DrawAll();
    DrawAll();
  }

  void DrawAll() { graphics.Draw(IRectangle(0, 0, graphics.WindowWidth(), graphics.WindowHeight())); }

  TestEditorPlug plug;
  TestGraphics graphics{&plug, kWidth, kHeight, 25};
  bool synthetic = false;
};

Panel& ThePanel()
{
  static Panel panel(1.0);
  return panel;
}

Panel& ThePanelAt2x()
{
  static Panel panel(2.0);
  return panel;
}

Panel& ThePanelAt1_5x()
{
  static Panel panel(1.5);
  return panel;
}

// Seconds per iteration of the last plain-copy runs of the 1x and the 2x surface, the
// units of the x_copy counters.
double gCopySeconds = 0.0;
double gCopy2xSeconds = 0.0;

class LoopTimer
{
public:
  LoopTimer()
    : mStart(std::chrono::steady_clock::now())
  {
  }
  double SecondsPer(benchmark::State& state) const
  {
    const std::chrono::duration<double> d = std::chrono::steady_clock::now() - mStart;
    return state.iterations() ? d.count() / static_cast<double>(state.iterations()) : 0.0;
  }

private:
  std::chrono::steady_clock::time_point mStart;
};

void ReportVsCopy(benchmark::State& state, const LoopTimer& timer, double copySeconds = gCopySeconds)
{
  if (copySeconds > 0.0) state.counters["x_copy"] = timer.SecondsPer(state) / copySeconds;
}

double PlainCopy(benchmark::State& state, int width, int height)
{
  LICE_SysBitmap dest(width, height);
  LICE_MemBitmap src(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) src.getBits()[y * src.getRowSpan() + x] = LICE_RGBA(x & 255, y & 255, 7, 255);
  const LoopTimer timer;
  for (auto _ : state)
  {
    LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, LICE_BLEND_COPY);
    benchmark::ClobberMemory();
  }
  state.counters["x_copy"] = 1.0;
  return timer.SecondsPer(state);
}

void BM_PlainCopy(benchmark::State& state)
{
  gCopySeconds = PlainCopy(state, kWidth, kHeight);
}

void BM_PlainCopy2x(benchmark::State& state)
{
  gCopy2xSeconds = PlainCopy(state, 2 * kWidth, 2 * kHeight);
}

void FullRedraw(benchmark::State& state, Panel& panel, double copySeconds)
{
  const LoopTimer timer;
  for (auto _ : state)
  {
    panel.graphics.SetAllControlsDirty();
    panel.DrawAll();
    benchmark::ClobberMemory();
  }
  ReportVsCopy(state, timer, copySeconds);
  panel.graphics.presents.clear();
}

void BM_FullRedraw(benchmark::State& state)
{
  FullRedraw(state, ThePanel(), gCopySeconds);
}

void BM_FullRedraw2x(benchmark::State& state)
{
  FullRedraw(state, ThePanelAt2x(), gCopy2xSeconds);
}

void BM_FullRedraw1_5x(benchmark::State& state)
{
  FullRedraw(state, ThePanelAt1_5x(), gCopy2xSeconds);
}

void PrintImageBytes(const char* scale, const Panel& panel)
{
  printf("images at %-4s resampled copies %9zu bytes, decoded images drawn from %9zu bytes\n", scale,
         panel.graphics.ScaledImageBytes(), panel.graphics.SourceImageBytes());
}

void BM_KnobChange(benchmark::State& state)
{
  Panel& panel = ThePanel();
  TestGraphics& g = panel.graphics;
  IControl* level = g.GetControl(1);
  double value = 0.5;
  const LoopTimer timer;
  for (auto _ : state)
  {
    value = value == 0.5 ? 0.75 : 0.5;
    level->SetValueFromParam(value);
    IRectangle dirty;
    if (g.CollectDirtyRect(dirty)) g.Draw(dirty);
    benchmark::ClobberMemory();
  }
  ReportVsCopy(state, timer);
  g.presents.clear();
}

void BM_IdleTick(benchmark::State& state)
{
  TestGraphics& g = ThePanel().graphics;
  g.Draw(IRectangle(0, 0, kWidth, kHeight));
  g.Draw(IRectangle(0, 0, kWidth, kHeight));
  bool anyDirty = false;
  const LoopTimer timer;
  for (auto _ : state)
  {
    IRectangle dirty;
    anyDirty |= g.CollectDirtyRect(dirty);
    benchmark::DoNotOptimize(dirty);
  }
  ReportVsCopy(state, timer);
  if (anyDirty) state.SkipWithError("a control was dirty on an idle tick");
}

}  // namespace

int main(int argc, char** argv)
{
  benchmark::RegisterBenchmark("BM_PlainCopy", BM_PlainCopy);
  benchmark::RegisterBenchmark("BM_FullRedraw", BM_FullRedraw);
  benchmark::RegisterBenchmark("BM_KnobChange", BM_KnobChange);
  benchmark::RegisterBenchmark("BM_IdleTick", BM_IdleTick);
  benchmark::RegisterBenchmark("BM_PlainCopy2x", BM_PlainCopy2x);
  benchmark::RegisterBenchmark("BM_FullRedraw2x", BM_FullRedraw2x);
  benchmark::RegisterBenchmark("BM_FullRedraw1_5x", BM_FullRedraw1_5x);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  printf("panel images: %s\n",
         ThePanel().synthetic ? "synthetic (some PNGs missing or undecodable)" : "resources/img PNGs");
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("full redraw / plain copy", "BM_FullRedraw", "BM_PlainCopy", 6);
  reporter.PrintRatio("knob change / plain copy", "BM_KnobChange", "BM_PlainCopy", 0);
  reporter.PrintRatio("idle tick / plain copy", "BM_IdleTick", "BM_PlainCopy", 0.01);
  reporter.PrintRatio("full redraw at 2x / plain copy at 2x", "BM_FullRedraw2x", "BM_PlainCopy2x", 6);
  reporter.PrintRatio("full redraw at 1.5x / plain copy at 2x", "BM_FullRedraw1_5x", "BM_PlainCopy2x", 6);
  PrintImageBytes("1x", ThePanel());
  PrintImageBytes("1.5x", ThePanelAt1_5x());
  PrintImageBytes("2x", ThePanelAt2x());
  benchmark::Shutdown();
  return 0;
}
