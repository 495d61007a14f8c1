#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "MERO.h"
#include "Oversampler.h"
#include "tests/vst3/LatencyPlug.h"
#include "tools/vst3host/ParameterChanges.h"

// Every allocation and release of this executable counts while counting is on: the
// global operator new and delete replaced here, and malloc, calloc, realloc and free
// called from any of the executable's own objects (the effect, the framework), which
// the link redirects to the wrappers below (see CMakeLists.txt).
namespace
{
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
std::atomic<long> gReleases{0};

void CountAllocation()
{
  if (gCounting.load()) ++gAllocations;
}

void CountRelease(void* p)
{
  if (p && gCounting.load()) ++gReleases;
}

class CountAllocations
{
public:
  CountAllocations()
  {
    gAllocations = 0;
    gReleases = 0;
    gCounting = true;
  }
  ~CountAllocations() { Stop(); }
  // Ends counting, so that the test's own reporting is not counted.
  void Stop() { gCounting = false; }
  long Allocations() const { return gAllocations.load(); }
  long Releases() const { return gReleases.load(); }
};

void* Allocate(std::size_t size)
{
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
}  // namespace

extern "C"
{
  void* __real_malloc(std::size_t size);
  void* __real_calloc(std::size_t count, std::size_t size);
  void* __real_realloc(void* p, std::size_t size);
  void __real_free(void* p);

  void* __wrap_malloc(std::size_t size)
  {
    CountAllocation();
    return __real_malloc(size);
  }

  void* __wrap_calloc(std::size_t count, std::size_t size)
  {
    CountAllocation();
    return __real_calloc(count, size);
  }

  void* __wrap_realloc(void* p, std::size_t size)
  {
    CountAllocation();
    return __real_realloc(p, size);
  }

  void __wrap_free(void* p)
  {
    CountRelease(p);
    __real_free(p);
  }
}

// operator new and delete go through malloc and free, so they count there.
void* operator new(std::size_t size)
{
  return Allocate(size);
}
void* operator new[](std::size_t size)
{
  return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept
{
  std::free(p);
}
void operator delete[](void* p) noexcept
{
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
  std::free(p);
}

TEST(ProcessAudioAllocation, CounterSeesEveryAllocationFunction)
{
  CountAllocations counter;
  std::vector<double>* v = new std::vector<double>(100);
  delete v;
  const long newAndDelete[2] = {counter.Allocations(), counter.Releases()};

  void* volatile m = std::malloc(16);
  void* volatile c = std::calloc(4, 8);
  void* volatile r = std::realloc(m, 4096);
  std::free(r);
  std::free(c);
  counter.Stop();
  EXPECT_EQ(2, newAndDelete[0]);
  EXPECT_EQ(2, newAndDelete[1]);
  EXPECT_EQ(5, counter.Allocations());
  EXPECT_EQ(4, counter.Releases());
}

TEST(ProcessAudioAllocation, NoAllocationWhileProcessing)
{
  MERO plug;
  plug.LoadPreset(0);
  plug.SetSampleRate(44100.0);
  std::vector<double> inL(1024, 0.25);
  std::vector<double> inR(1024, -0.5);
  std::vector<double> outL(1024);
  std::vector<double> outR(1024);
  double* inputs[2] = {inL.data(), inR.data()};
  double* outputs[2] = {outL.data(), outR.data()};

  CountAllocations counter;
  for (int block = 0; block < 50; ++block)
  {
    if (block == 10) plug.SetSampleRate(96000.0);
    if (block == 20) plug.GetParamRecord(MERO::kMode)->SetClamped(1.0);
    if (block == 30)
    {
      // +24 dB of drive makes this sample overflow the left chain, which starts from rest.
      plug.GetParamRecord(MERO::kLevel)->SetClamped(20.0);
      plug.HandleParamChange(MERO::kLevel);
      inL[100] = 1e308;
    }
    if (block == 40) plug.GetParamRecord(MERO::kBypas)->SetClamped(1.0);
    if (block == 5 || block == 25 || block == 45)
    {
      // Quality High, Ultra, Standard: the change handler reports the new latency.
      plug.GetParamRecord(MERO::kQuality)->SetClamped((block / 20 + 1) % 3);
      plug.HandleParamChange(MERO::kQuality);
    }
    plug.ProcessAudio(inputs, outputs, block % 2 ? 1024 : 17);
  }
  plug.ProcessAudio(inputs, outputs, 0);
  counter.Stop();
  EXPECT_EQ(0, counter.Allocations());
  EXPECT_EQ(0, counter.Releases());
}

TEST(ProcessAudioAllocation, NoAllocationWhileOversampling)
{
  Oversampler oversamplers[2];
  oversamplers[0].Prepare(4, 512);
  oversamplers[1].Prepare(8, 512);
  std::vector<double> in(512, 0.25);
  std::vector<double> out(512);

  CountAllocations counter;
  for (Oversampler& os : oversamplers)
    for (int block = 0; block < 20; ++block)
    {
      if (block == 10) os.Reset();
      const int n = block % 2 ? 512 : 1 + block;
      double* high = os.Upsample(in.data(), n);
      for (int i = 0; i < n * os.Factor(); ++i) high[i] = std::tanh(high[i]);
      os.Downsample(n, out.data());
    }
  counter.Stop();
  EXPECT_EQ(0, counter.Allocations());
  EXPECT_EQ(0, counter.Releases());
}

namespace
{
// Counts the host's restart requests; records nothing else, so it allocates nothing.
class RestartCounter : public Steinberg::FObject, public Steinberg::Vst::IComponentHandler
{
public:
  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID) override { return Steinberg::kResultOk; }
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID, Steinberg::Vst::ParamValue) override
  {
    return Steinberg::kResultOk;
  }
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID) override { return Steinberg::kResultOk; }
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32) override
  {
    ++restarts;
    return Steinberg::kResultOk;
  }
  DEF_INTERFACES_1(IComponentHandler, FObject)
  REFCOUNT_METHODS(FObject)

  int restarts = 0;
};

// Process calls of 64 frames, each with the next of values queued for parameter tag
// and the host bypass switched on or off; the allocations and releases inside them.
long ProcessAllocations(IPlugVST3& plug, Steinberg::Vst::ParamID tag, const std::vector<double>& values)
{
  constexpr int kFrames = 64;
  std::vector<float> left(kFrames, 0.25f), right(kFrames, -0.5f);
  float* channels[2] = {left.data(), right.data()};
  mero::ParameterChanges changes(4, 4);
  long counted = 0;
  for (size_t block = 0; block < 3 * values.size(); ++block)
  {
    changes.Clear();
    changes.Add(tag, values[block % values.size()], static_cast<Steinberg::int32>(block % kFrames));
    changes.Add(IPlugVST3::kBypassTag, block % 2 ? 1.0 : 0.0, 0);
    CountAllocations counter;
    InProcess::ProcessStereo(plug, &changes, channels, channels, kFrames);
    counter.Stop();
    counted += counter.Allocations() + counter.Releases();
  }
  return counted;
}
}  // namespace

TEST(ProcessAudioAllocation, NoAllocationWhenProcessChangesTheLatency)
{
  Steinberg::IPtr<LatencyPlug> latencyPlug(new LatencyPlug, false);
  Steinberg::IPtr<MERO> mero(new MERO, false);
  const Steinberg::Vst::ParamID tags[2] = {0, MERO::kQuality};
  IPlugVST3* plugs[2] = {latencyPlug.get(), mero.get()};
  for (int i = 0; i < 2; ++i)
  {
    SCOPED_TRACE(plugs[i]->GetEffectName());
    ASSERT_TRUE(InProcess::Prepare(*plugs[i]));
    Steinberg::IPtr<RestartCounter> handler(new RestartCounter, false);
    plugs[i]->setComponentHandler(handler);
    EXPECT_EQ(0, ProcessAllocations(*plugs[i], tags[i], {0.0, 1.0, 0.5, 0.5, 0.0}));
    plugs[i]->setComponentHandler(nullptr);
    plugs[i]->setActive(false);
    plugs[i]->terminate();
    EXPECT_EQ(handler->restarts, 9);  // every change of latency told, after its call
  }
}
