// Silence through the module: play, a minute of silence and play again against the
// oracle (which has no rest shortcut), the host's input silence flags and the output
// silence flags the module reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "OracleRunner.h"
#include "PluginHarness.h"
#include "TestSignal.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr int kBlock = 512;

struct Outcome
{
  double largestDifference = 0.0;  // 64-bit: |module - oracle|; 32-bit: count of unequal values
  double peak = 0.0;
  int silentBlocks = 0;  // blocks the module flagged silent on both channels
  int flaggedButNotZero = 0;
};

// One stretch: `seconds` of the test signal (or of silence), with an optional parameter
// change at its start.
struct Stretch
{
  double seconds;
  bool silent;
  int param = -1;
  double value = 0.0;
};

// Renders the stretches through a fresh module instance and the oracle. Silent blocks
// reach the module with the input flagged silent and NaN in its buffers, which it must
// not read.
template <typename Sample>
Outcome Render(double rate, const std::vector<Stretch>& stretches)
{
  PluginHarness harness;
  Outcome o;
  if (!harness.Prepare(2, rate, kBlock, sizeof(Sample) == 4 ? kSample32 : kSample64))
  {
    ADD_FAILURE() << "prepare";
    return o;
  }
  OracleRunner oracle(rate, 2);
  const auto music = TestSignal::Make<Sample>(2, static_cast<int>(rate / 2), 5);
  std::vector<Sample> in[2], out[2], ref[2];
  for (int c = 0; c < 2; ++c)
  {
    in[c].resize(kBlock);
    out[c].resize(kBlock);
    ref[c].resize(kBlock);
  }
  int played = 0;
  for (const Stretch& s : stretches)
  {
    if (s.param >= 0)
    {
      harness.plugin.QueueParameter(static_cast<ParamID>(s.param), s.value);
      oracle.Set(s.param, s.value);
    }
    const long total = static_cast<long>(s.seconds * rate);
    for (long done = 0; done < total; done += kBlock)
    {
      const int n = static_cast<int>(std::min<long>(kBlock, total - done));
      for (int c = 0; c < 2; ++c)
        for (int i = 0; i < n; ++i)
        {
          ref[c][i] = s.silent ? Sample(0) : music[c][(played + i) % music[c].size()];
          in[c][i] = s.silent ? std::numeric_limits<Sample>::quiet_NaN() : ref[c][i];
        }
      if (!s.silent) played += n;

      Sample* inPtr[2] = {in[0].data(), in[1].data()};
      Sample* outPtr[2] = {out[0].data(), out[1].data()};
      AudioBusBuffers inBus, outBus;
      inBus.numChannels = outBus.numChannels = 2;
      inBus.silenceFlags = s.silent ? 3 : 0;
      outBus.silenceFlags = 0;
      if (sizeof(Sample) == 4)
      {
        inBus.channelBuffers32 = reinterpret_cast<Sample32**>(inPtr);
        outBus.channelBuffers32 = reinterpret_cast<Sample32**>(outPtr);
      }
      else
      {
        inBus.channelBuffers64 = reinterpret_cast<Sample64**>(inPtr);
        outBus.channelBuffers64 = reinterpret_cast<Sample64**>(outPtr);
      }
      ProcessData data;
      data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
      data.numSamples = n;
      data.numInputs = data.numOutputs = 1;
      data.inputs = &inBus;
      data.outputs = &outBus;
      harness.plugin.Process(data);

      std::vector<Sample*> refPtr = {ref[0].data(), ref[1].data()};
      oracle.Process(refPtr, n);

      bool zeros = true;
      for (int c = 0; c < 2; ++c)
        for (int i = 0; i < n; ++i)
        {
          zeros = zeros && out[c][i] == 0;
          o.peak = std::max(o.peak, std::fabs(static_cast<double>(ref[c][i])));
          if (sizeof(Sample) == 4)
            o.largestDifference += !(out[c][i] == ref[c][i]);
          else
            o.largestDifference = std::max(o.largestDifference, std::fabs(static_cast<double>(out[c][i] - ref[c][i])));
        }
      if (outBus.silenceFlags == 3) ++o.silentBlocks;
      if (outBus.silenceFlags != 0 && !zeros) ++o.flaggedButNotZero;
    }
  }
  return o;
}

// From activation: silence with a control moved during it (the module comes to rest at
// once while its smoothers still glide), play, a minute of silence, play again.
const std::vector<Stretch> kScenario = {
    {1.0, true, 3, 0.9}, {0.5, true, 2, 1.0}, {0.5, false}, {60.0, true}, {0.5, false, 1, 0.0}};
}  // namespace

TEST(Silence, FloatOutputEqualsTheOracleThroughRestAndTheFlagsMarkOnlyZeros)
{
  for (double rate : {44100.0, 192000.0})
  {
    const Outcome o = Render<float>(rate, kScenario);
    EXPECT_EQ(o.largestDifference, 0.0) << rate;
    EXPECT_GT(o.silentBlocks, 0) << rate;
    EXPECT_EQ(o.flaggedButNotZero, 0) << rate;
  }
}

TEST(Silence, DoubleOutputStaysWithinATrillionthOfThePeak)
{
  for (double rate : {44100.0, 192000.0})
  {
    const Outcome o = Render<double>(rate, kScenario);
    EXPECT_LE(o.largestDifference, 1e-12 * o.peak) << rate;
    EXPECT_GT(o.silentBlocks, 0) << rate;
    EXPECT_EQ(o.flaggedButNotZero, 0) << rate;
  }
}
