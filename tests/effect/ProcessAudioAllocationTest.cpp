#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "MERO.h"

// Every global allocation function of this executable counts its calls while
// counting is on.
namespace
{
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};

void* CountedAllocate(std::size_t size)
{
  if (gCounting.load())
    ++gAllocations;
  if (void* p = std::malloc(size ? size : 1))
    return p;
  throw std::bad_alloc();
}

class CountAllocations
{
public:
  CountAllocations()
  {
    gAllocations = 0;
    gCounting = true;
  }
  ~CountAllocations() { gCounting = false; }
  long Count() const { return gAllocations.load(); }
};
} // namespace

void* operator new(std::size_t size) { return CountedAllocate(size); }
void* operator new[](std::size_t size) { return CountedAllocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
  try
  {
    return CountedAllocate(size);
  }
  catch (...)
  {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

TEST(ProcessAudioAllocation, CounterSeesAllocations)
{
  CountAllocations counter;
  std::vector<double>* v = new std::vector<double>(100);
  delete v;
  EXPECT_EQ(2, counter.Count());
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
  for (int block = 0; block < 40; ++block)
  {
    if (block == 10)
      plug.SetSampleRate(96000.0);
    if (block == 20)
      plug.GetParamRecord(MERO::kMode)->SetClamped(1.0);
    if (block == 30)
      plug.GetParamRecord(MERO::kBypas)->SetClamped(1.0);
    plug.ProcessAudio(inputs, outputs, block % 2 ? 1024 : 17);
  }
  plug.ProcessAudio(inputs, outputs, 0);
  EXPECT_EQ(0, counter.Count());
}
