// One 32-bit stereo process call of 512 frames through the MERO module, driven by the
// test host, against MERO::ProcessAudio on the same data in-process. The difference is
// the binding's own work: reading the parameter queues, connecting the buffers and
// converting float to double and back.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "MERO.h"
#include "base/source/fobject.h"
#include "tools/vst3host/HostApplication.h"
#include "tools/vst3host/Vst3Module.h"
#include "tools/vst3host/Vst3Plugin.h"
#include "tests/vst3/ModuleUnderTest.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr int kFrames = 512;
constexpr double kRate = 44100.0;

// Two channels of a tone with a little noise, as float for the host and double for the
// direct call.
struct Block
{
  std::vector<float> in32[2], out32[2];
  std::vector<double> in64[2], out64[2];
  Block()
  {
    unsigned state = 12345;
    for (int c = 0; c < 2; ++c)
    {
      in32[c].resize(kFrames);
      out32[c].resize(kFrames);
      in64[c].resize(kFrames);
      out64[c].resize(kFrames);
      for (int i = 0; i < kFrames; ++i)
      {
        state = state * 1664525u + 1013904223u;
        in32[c][i] = static_cast<float>(0.4 * std::sin(0.05 * (c + 1) * i) + (state >> 9) * 1e-8);
        in64[c][i] = in32[c][i];
      }
    }
  }
};

// The module loaded and one instance set up for stereo 32-bit blocks of kFrames.
struct Hosted
{
  mero::Vst3Module module;
  mero::Vst3Plugin plugin;
  IPtr<mero::HostApplication> host{new mero::HostApplication("bench"), false};
  bool ready = false;
  Hosted()
  {
    ProcessSetup setup{kRealtime, kSample32, kFrames, kRate};
    ready = module.Open(ModuleUnderTest::Path()) && plugin.Create(module) &&
            plugin.Initialize(host->unknownCast()) == kResultOk &&
            plugin.Prepare(setup, SpeakerArr::kStereo, SpeakerArr::kStereo);
  }
};

// A typical automated block: three parameters with four points each.
void QueueAutomation(mero::Vst3Plugin& plugin, int block)
{
  const double v = (block % 8) / 8.0;
  for (ParamID id : {0u, 2u, 3u})
    for (int p = 0; p < 4; ++p) plugin.QueueParameter(id, 0.5 + 0.25 * v * (p - 1.5) / 1.5, p * 128);
}

struct Direct
{
  IPtr<MERO> plug{new MERO, false};
  Direct()
  {
    plug->LoadPreset(0);
    plug->SetSampleRate(kRate);
  }
  void SetLikeAutomation(int block)
  {
    const double v = (block % 8) / 8.0;
    for (int id : {0, 2, 3})
    {
      plug->GetParamRecord(id)->SetFromNormalized(0.5 + 0.25 * v);
      plug->HandleParamChange(id);
    }
  }
};

void ModuleProcess(benchmark::State& state, bool automated)
{
  Hosted hosted;
  if (!hosted.ready)
  {
    state.SkipWithError("module did not load");
    return;
  }
  Block block;
  float* in[2] = {block.in32[0].data(), block.in32[1].data()};
  float* out[2] = {block.out32[0].data(), block.out32[1].data()};
  int n = 0;
  for (auto _ : state)
  {
    if (automated) QueueAutomation(hosted.plugin, n++);
    hosted.plugin.Process(in, out, 2, kFrames);
    benchmark::DoNotOptimize(block.out32[0].data());
  }
  state.SetItemsProcessed(state.iterations() * kFrames);
}

void DirectProcessAudio(benchmark::State& state, bool automated)
{
  Direct direct;
  Block block;
  double* in[2] = {block.in64[0].data(), block.in64[1].data()};
  double* out[2] = {block.out64[0].data(), block.out64[1].data()};
  int n = 0;
  for (auto _ : state)
  {
    if (automated) direct.SetLikeAutomation(n++);
    direct.plug->ProcessAudio(in, out, kFrames);
    benchmark::DoNotOptimize(block.out64[0].data());
  }
  state.SetItemsProcessed(state.iterations() * kFrames);
}

// Both paths in the same loop, each timed on its own (the host filling its queues is not
// counted); reports the binding's share of the module's time as a counter.
void BindingShare(benchmark::State& state, bool automated)
{
  Hosted hosted;
  if (!hosted.ready)
  {
    state.SkipWithError("module did not load");
    return;
  }
  Direct direct;
  Block block;
  float* in32[2] = {block.in32[0].data(), block.in32[1].data()};
  float* out32[2] = {block.out32[0].data(), block.out32[1].data()};
  double* in64[2] = {block.in64[0].data(), block.in64[1].data()};
  double* out64[2] = {block.out64[0].data(), block.out64[1].data()};
  using Clock = std::chrono::steady_clock;
  Clock::duration moduleTime{}, directTime{};
  int n = 0;
  for (auto _ : state)
  {
    if (automated) QueueAutomation(hosted.plugin, n);  // the host's work, not timed
    const auto t0 = Clock::now();
    hosted.plugin.Process(in32, out32, 2, kFrames);
    const auto t1 = Clock::now();
    if (automated) direct.SetLikeAutomation(n);
    direct.plug->ProcessAudio(in64, out64, kFrames);
    const auto t2 = Clock::now();
    ++n;
    moduleTime += t1 - t0;
    directTime += t2 - t1;
    benchmark::DoNotOptimize(block.out32[0].data());
    benchmark::DoNotOptimize(block.out64[0].data());
  }
  const double module = std::chrono::duration<double, std::micro>(moduleTime).count() / n;
  const double directUs = std::chrono::duration<double, std::micro>(directTime).count() / n;
  state.counters["module_us"] = module;
  state.counters["direct_us"] = directUs;
  state.counters["binding_pct"] = 100.0 * (module - directUs) / module;
}

// 64 instances of the module at 48 kHz in 64-frame blocks, each fed the same stereo
// signal, one process call per instance per block; silent: blocks of zeros flagged
// silent by the host, as a track that does not play. The counter core_percent is the
// time all 64 take for a block over the block's duration, in percent of one core.
// quality: the normalised "Quality" of every instance.
void ManyInstances(benchmark::State& state, bool silent, double quality)
{
  constexpr int kInstances = 64;
  constexpr int kSmallBlock = 64;
  constexpr double kManyRate = 48000.0;
  mero::Vst3Module module;
  if (!module.Open(ModuleUnderTest::Path()))
  {
    state.SkipWithError("module did not load");
    return;
  }
  IPtr<mero::HostApplication> host{new mero::HostApplication("bench"), false};
  std::vector<std::unique_ptr<mero::Vst3Plugin>> plugins;
  ProcessSetup setup{kRealtime, kSample32, kSmallBlock, kManyRate};
  for (int k = 0; k < kInstances; ++k)
  {
    auto p = std::make_unique<mero::Vst3Plugin>();
    if (!p->Create(module) || p->Initialize(host->unknownCast()) != kResultOk ||
        !p->Prepare(setup, SpeakerArr::kStereo, SpeakerArr::kStereo))
    {
      state.SkipWithError("instance did not start");
      return;
    }
    p->Controller()->setParamNormalized(MERO::kQuality, quality);
    plugins.push_back(std::move(p));
  }
  Block signal;
  std::vector<float> in[2], out[2];
  for (int c = 0; c < 2; ++c)
  {
    in[c].assign(kSmallBlock, 0.0f);
    out[c].assign(kSmallBlock, 0.0f);
  }
  float* inPtr[2] = {in[0].data(), in[1].data()};
  float* outPtr[2] = {out[0].data(), out[1].data()};
  auto runBlock = [&](int offset)
  {
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < kSmallBlock; ++i) in[c][i] = silent ? 0.0f : signal.in32[c][(offset + i) % kFrames];
    for (auto& p : plugins) p->Process(inPtr, outPtr, 2, kSmallBlock, silent ? 3 : 0);
  };
  // A second of pre-roll, so the smoothers have settled (and a silent track is at rest).
  int offset = 0;
  for (int b = 0; b < 750; ++b, offset += kSmallBlock) runBlock(offset);
  std::chrono::duration<double> spent{0.0};
  for (auto _ : state)
  {
    const auto start = std::chrono::steady_clock::now();
    runBlock(offset);
    spent += std::chrono::steady_clock::now() - start;
    offset += kSmallBlock;
    benchmark::DoNotOptimize(out[0].data());
  }
  const double audioSeconds = static_cast<double>(state.iterations()) * kSmallBlock / kManyRate;
  state.counters["core_percent"] = 100.0 * spent.count() / audioSeconds;
}
}  // namespace

BENCHMARK_CAPTURE(ManyInstances, playing_64x48kHz_64frames, false, 0.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ManyInstances, silent_64x48kHz_64frames, true, 0.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ManyInstances, playing_high_64x48kHz_64frames, false, 0.5)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ModuleProcess, static_params, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DirectProcessAudio, static_params, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ModuleProcess, automated, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DirectProcessAudio, automated, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BindingShare, static_params, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BindingShare, automated, true)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
