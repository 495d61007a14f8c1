#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "MERO.h"
#include "Oversampler.h"

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
