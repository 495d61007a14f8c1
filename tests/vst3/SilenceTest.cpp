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
#include "TestSignals.h"

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

// What feeds one input channel during a stretch: the test signal, zeros, or silence the
// host flags, with NaN in the buffer.
enum Feed
{
  kPlay,
  kZeros,
  kFlagged
};

// One stretch: `seconds` with each channel's feed, and an optional parameter change at its
// start.
struct Stretch
{
  double seconds;
  Feed left;
  Feed right;
  int param = -1;
  double value = 0.0;
};

// One process call over a stereo bus each way; returns the output bus's silence flags.
template <typename Sample>
uint64 ProcessCall(PluginHarness& harness, Sample** in, Sample** out, int frames, uint64 inputSilence)
{
  AudioBusBuffers inBus, outBus;
  inBus.numChannels = outBus.numChannels = 2;
  inBus.silenceFlags = inputSilence;
  outBus.silenceFlags = 0;
  if (sizeof(Sample) == 4)
  {
    inBus.channelBuffers32 = reinterpret_cast<Sample32**>(in);
    outBus.channelBuffers32 = reinterpret_cast<Sample32**>(out);
  }
  else
  {
    inBus.channelBuffers64 = reinterpret_cast<Sample64**>(in);
    outBus.channelBuffers64 = reinterpret_cast<Sample64**>(out);
  }
  ProcessData data;
  data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
  data.numSamples = frames;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  harness.plugin.Process(data);
  return outBus.silenceFlags;
}

// Renders the stretches through a fresh module instance and the oracle. Flagged channels
// reach the module with NaN in their buffers, which it must not read.
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
  const auto music = TestSignals::Make<Sample>(2, static_cast<int>(rate / 2), 5);
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
      uint64 inputSilence = 0;
      for (int c = 0; c < 2; ++c)
      {
        const Feed feed = c == 0 ? s.left : s.right;
        if (feed == kFlagged) inputSilence |= uint64(1) << c;
        for (int i = 0; i < n; ++i)
        {
          ref[c][i] = feed == kPlay ? music[c][(played + i) % music[c].size()] : Sample(0);
          in[c][i] = feed == kFlagged ? std::numeric_limits<Sample>::quiet_NaN() : ref[c][i];
        }
      }
      if (s.left == kPlay || s.right == kPlay) played += n;

      Sample* inPtr[2] = {in[0].data(), in[1].data()};
      Sample* outPtr[2] = {out[0].data(), out[1].data()};
      const uint64 outputSilence = ProcessCall(harness, inPtr, outPtr, n, inputSilence);

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
      if (outputSilence == 3) ++o.silentBlocks;
      if (outputSilence != 0 && !zeros) ++o.flaggedButNotZero;
    }
  }
  return o;
}

// From activation: silence with a control moved during it (the module comes to rest at
// once while its smoothers still glide), play, a minute of silence, play again.
const std::vector<Stretch> kScenario = {{1.0, kFlagged, kFlagged, 3, 0.9},
                                        {0.5, kFlagged, kFlagged, 2, 1.0},
                                        {0.5, kPlay, kPlay},
                                        {60.0, kFlagged, kFlagged},
                                        {0.5, kPlay, kPlay, 1, 0.0}};
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

// At rest, a signal on the right channel alone, with zeros on the left, wakes the effect.
TEST(Silence, ASignalOnOneChannelAloneWakesTheEffectFromRest)
{
  const Outcome o = Render<float>(44100.0, {{0.1, kFlagged, kFlagged}, {0.2, kZeros, kPlay}});
  EXPECT_EQ(o.largestDifference, 0.0);
}

// The host's silence flag of one input channel leaves the other channel's signal heard.
TEST(Silence, EachChannelsInputFlagSilencesThatChannelOnly)
{
  const Outcome o = Render<float>(44100.0, {{0.1, kFlagged, kFlagged}, {0.2, kFlagged, kPlay}, {0.2, kPlay, kFlagged}});
  EXPECT_EQ(o.largestDifference, 0.0);
  EXPECT_EQ(o.flaggedButNotZero, 0);
}

// A call longer than the prepared block is rendered in pieces. After a tail far below
// what the effect keeps, the piece that renders it comes to rest and the next piece is
// silent; the call as a whole is not, so it is not flagged silent.
TEST(Silence, ALongCallIsFlaggedSilentOnlyWhenAllOfItIsSilent)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2, 44100.0, kBlock, kSample64));
  std::vector<double> left(3 * kBlock, 0.0), right(3 * kBlock, 0.0);
  double* io[2] = {left.data(), right.data()};
  for (int i = 0; i < 50; ++i) ProcessCall(harness, io, io, kBlock, 0);  // controls settle at rest

  left[0] = right[0] = 0x1p-230;
  EXPECT_EQ(ProcessCall(harness, io, io, 3 * kBlock, 0), 0u);
  EXPECT_TRUE(std::any_of(left.begin(), left.end(), [](double x) { return x != 0.0; }));
  std::fill(left.begin(), left.end(), 0.0);
  std::fill(right.begin(), right.end(), 0.0);
  EXPECT_EQ(ProcessCall(harness, io, io, kBlock, 0), 3u);  // that call ended at rest
}
