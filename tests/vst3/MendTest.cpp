// Calls that break the host contract are handled safely: blocks longer than prepared,
// missing buses, null channel pointers, inactive outputs, no processing setup.
// Natively these run under AddressSanitizer, which also catches any read of an earlier
// call's freed buffers.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

#include "OracleRunner.h"
#include "PluginHarness.h"
#include "TestSignals.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
template <typename Sample>
void SetBuffers(AudioBusBuffers& bus, Sample** channels);

template <>
void SetBuffers<float>(AudioBusBuffers& bus, float** channels)
{
  bus.channelBuffers32 = channels;
}

template <>
void SetBuffers<double>(AudioBusBuffers& bus, double** channels)
{
  bus.channelBuffers64 = channels;
}

// One raw process call with the given channel pointer arrays (null for no bus); the input
// bus has inChannels channels, or as many as the output bus when that is negative.
template <typename Sample>
tresult Call(PluginHarness& harness, Sample** in, Sample** out, int frames, int channels = 2, int inChannels = -1)
{
  AudioBusBuffers inBus, outBus;
  outBus.numChannels = channels;
  inBus.numChannels = inChannels < 0 ? channels : inChannels;
  SetBuffers(inBus, in);
  SetBuffers(outBus, out);
  ProcessData data;
  data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
  data.numSamples = frames;
  data.numInputs = in ? 1 : 0;
  data.numOutputs = out ? 1 : 0;
  data.inputs = in ? &inBus : nullptr;
  data.outputs = out ? &outBus : nullptr;
  return harness.plugin.Process(data);
}

template <typename Sample>
void LongerBlockThanPrepared()
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2, 44100.0, 64, sizeof(Sample) == 4 ? kSample32 : kSample64));
  OracleRunner oracle(44100.0, 2);
  auto input = TestSignals::Make<Sample>(2, 1000, 4);
  auto expected = input;
  std::vector<Sample*> p = {expected[0].data(), expected[1].data()};
  oracle.Process(p, 1000);
  EXPECT_TRUE(TestSignals::BitEqual(harness.Run(input, {1000}), expected));
}

template <typename Sample>
void NoInputBusReadsNoEarlierBuffers()
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2, 44100.0, 64, sizeof(Sample) == 4 ? kSample32 : kSample64));
  OracleRunner oracle(44100.0, 2);
  auto first = TestSignals::Make<Sample>(2, 64, 8);
  auto expected = first;
  std::vector<Sample*> e = {expected[0].data(), expected[1].data()};
  oracle.Process(e, 64);
  {
    auto in = std::make_unique<std::vector<std::vector<Sample>>>(first);
    std::vector<Sample*> p = {(*in)[0].data(), (*in)[1].data()};
    Call<Sample>(harness, p.data(), p.data(), 64);
  }  // the first call's buffers are gone

  // A call without an input bus reads silence on both sample sizes.
  auto expectedSecond = std::vector<std::vector<Sample>>(2, std::vector<Sample>(64, 0));
  std::vector<Sample*> e2 = {expectedSecond[0].data(), expectedSecond[1].data()};
  oracle.Process(e2, 64);
  std::vector<std::vector<Sample>> out(2, std::vector<Sample>(64, 0));
  std::vector<Sample*> o = {out[0].data(), out[1].data()};
  ASSERT_EQ(Call<Sample>(harness, static_cast<Sample**>(nullptr), o.data(), 64), kResultOk);
  EXPECT_TRUE(TestSignals::BitEqual(out, expectedSecond));
}

template <typename Sample>
void NoOutputBusWritesNoEarlierBuffers()
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2, 44100.0, 64, sizeof(Sample) == 4 ? kSample32 : kSample64));
  auto in = TestSignals::Make<Sample>(2, 64, 8);
  std::vector<std::vector<Sample>> oldOut(2, std::vector<Sample>(64, 0));
  std::vector<Sample*> i = {in[0].data(), in[1].data()};
  std::vector<Sample*> o = {oldOut[0].data(), oldOut[1].data()};
  Call<Sample>(harness, i.data(), o.data(), 64);
  for (auto& channel : oldOut) std::fill(channel.begin(), channel.end(), Sample(7));
  const auto untouched = oldOut;

  ASSERT_EQ(Call<Sample>(harness, i.data(), static_cast<Sample**>(nullptr), 64), kResultOk);
  EXPECT_TRUE(TestSignals::BitEqual(oldOut, untouched));

  // An output bus the host switched off is not written either.
  harness.plugin.Component()->activateBus(kAudio, kOutput, 0, false);
  ASSERT_EQ(Call<Sample>(harness, i.data(), o.data(), 64), kResultOk);
  EXPECT_TRUE(TestSignals::BitEqual(oldOut, untouched));
}

template <typename Sample>
void NullChannelPointersUseScratch()
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2, 44100.0, 128, sizeof(Sample) == 4 ? kSample32 : kSample64));
  OracleRunner oracle(44100.0, 2);
  auto in = TestSignals::Make<Sample>(2, 128, 6);
  auto expected = in;
  std::fill(expected[1].begin(), expected[1].end(), Sample(0));  // a missing input is silence
  std::vector<Sample*> e = {expected[0].data(), expected[1].data()};
  oracle.Process(e, 128);

  std::vector<Sample> outLeft(128, 0);
  Sample* inputs[2] = {in[0].data(), nullptr};
  Sample* outputs[2] = {outLeft.data(), nullptr};
  ASSERT_EQ(Call<Sample>(harness, inputs, outputs, 128), kResultOk);
  EXPECT_TRUE(
      TestSignals::BitEqual(std::vector<std::vector<Sample>>{outLeft}, std::vector<std::vector<Sample>>{expected[0]}));

  // Bus entries without any channel array.
  AudioBusBuffers inBus, outBus;
  inBus.numChannels = outBus.numChannels = 2;
  ProcessData data;
  data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
  data.numSamples = 128;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  EXPECT_EQ(harness.plugin.Process(data), kResultOk);
}

// How the input of the last call of a scenario goes missing.
enum class Missing
{
  kBusAsFirstCall,            // no input bus, before any call that had one
  kBusAfterStereoCall,        // no input bus after a stereo call
  kBusAfter64BitSetupChange,  // no input bus, 32-bit, after a 64-bit call and a new setup
  kRightAfterStereoCall       // an input bus of one channel after a stereo call
};

// Runs one scenario on a new instance and returns the last call's output. With
// explicitSilence the last call's missing input channels are given as zeros instead.
PluginHarness::Signal LastBlockOf(Missing scenario, bool explicitSilence)
{
  constexpr int kFrames = 64;
  PluginHarness harness;
  const bool start64 = scenario == Missing::kBusAfter64BitSetupChange;
  EXPECT_TRUE(harness.Prepare(2, 44100.0, kFrames, start64 ? kSample64 : kSample32));
  if (start64)
  {
    auto in = std::make_unique<PluginHarness::Signal64>(TestSignals::Make<double>(2, kFrames, 3));
    std::vector<double> out[2] = {std::vector<double>(kFrames), std::vector<double>(kFrames)};
    std::vector<double*> i = {(*in)[0].data(), (*in)[1].data()};
    std::vector<double*> o = {out[0].data(), out[1].data()};
    Call<double>(harness, i.data(), o.data(), kFrames);
    in.reset();  // the host's buffers of that call are gone
    ProcessSetup setup = {kRealtime, kSample32, kFrames, 44100.0};
    EXPECT_EQ(harness.plugin.Processor()->setupProcessing(setup), kResultOk);
  }
  else if (scenario != Missing::kBusAsFirstCall)
  {
    harness.Run(TestSignals::Make<float>(2, kFrames, 3), {kFrames});
  }

  auto in = TestSignals::Make<float>(2, kFrames, 5);
  if (scenario != Missing::kRightAfterStereoCall) std::fill(in[0].begin(), in[0].end(), 0.0f);
  std::fill(in[1].begin(), in[1].end(), 0.0f);
  PluginHarness::Signal out(2, std::vector<float>(kFrames, 9.0f));
  float* i[2] = {in[0].data(), in[1].data()};
  float* o[2] = {out[0].data(), out[1].data()};
  if (explicitSilence)
    Call<float>(harness, i, o, kFrames);
  else if (scenario == Missing::kRightAfterStereoCall)
    Call<float>(harness, i, o, kFrames, 2, 1);
  else
    Call<float>(harness, static_cast<float**>(nullptr), o, kFrames);
  return out;
}
}  // namespace

TEST(Mend, MissingInputChannelReadsSilence)
{
  EXPECT_TRUE(TestSignals::BitEqual(LastBlockOf(Missing::kRightAfterStereoCall, false),
                                    LastBlockOf(Missing::kRightAfterStereoCall, true)));
}

TEST(Mend, MissingInputBusReadsSilence)
{
  for (Missing scenario : {Missing::kBusAfterStereoCall, Missing::kBusAfter64BitSetupChange, Missing::kBusAsFirstCall})
  {
    SCOPED_TRACE(static_cast<int>(scenario));
    EXPECT_TRUE(TestSignals::BitEqual(LastBlockOf(scenario, false), LastBlockOf(scenario, true)));
  }
}

TEST(Mend, RearrangedBusesKeepTheirActivation)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2));  // the host activates both stereo buses
  SpeakerArrangement mono = SpeakerArr::kMono;
  ASSERT_EQ(harness.plugin.Processor()->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
  OracleRunner oracle(44100.0, 1);
  auto input = TestSignals::Make<float>(1, 256, 4);
  auto expected = input;
  std::vector<float*> p = {expected[0].data()};
  oracle.Process(p, 256);
  EXPECT_TRUE(TestSignals::BitEqual(harness.Run(input, {256}), expected));
}

TEST(Mend, CallLongerThanThePreparedBlockIsRenderedInPieces)
{
  LongerBlockThanPrepared<float>();
  LongerBlockThanPrepared<double>();
}

TEST(Mend, CallWithoutInputBusReadsNoEarlierBuffers)
{
  NoInputBusReadsNoEarlierBuffers<float>();
  NoInputBusReadsNoEarlierBuffers<double>();
}

TEST(Mend, CallWithoutActiveOutputBusWritesNoEarlierBuffers)
{
  NoOutputBusWritesNoEarlierBuffers<float>();
  NoOutputBusWritesNoEarlierBuffers<double>();
}

TEST(Mend, NullChannelPointersReadSilenceAndWriteNowhere)
{
  NullChannelPointersUseScratch<float>();
  NullChannelPointersUseScratch<double>();
}

TEST(Mend, AudioBeforeProcessingSetupComesOutSilent)
{
  PluginHarness harness;
  auto input = TestSignals::Make<float>(2, 100);
  PluginHarness::Signal output(2, std::vector<float>(100, 3.0f));
  float* in[2] = {input[0].data(), input[1].data()};
  float* out[2] = {output[0].data(), output[1].data()};
  harness.plugin.Component()->activateBus(kAudio, kOutput, 0, true);
  ASSERT_EQ(Call<float>(harness, in, out, 100), kResultOk);
  EXPECT_TRUE(TestSignals::BitEqual(output, PluginHarness::Signal(2, std::vector<float>(100, 0.0f))));
}

TEST(Mend, SetupWithoutUsableRateOrBlockIsRefusedAndChangesNothing)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2, 44100.0, 64));
  const double badRates[] = {0.0, -44100.0, std::nan(""), HUGE_VAL};
  for (double rate : badRates)
  {
    ProcessSetup setup = {kRealtime, kSample32, 64, rate};
    EXPECT_EQ(harness.plugin.Processor()->setupProcessing(setup), kResultFalse) << rate;
  }
  for (int32 block : {0, 0x0FFFFFFF, INT_MAX})
  {
    ProcessSetup unusableBlock = {kRealtime, kSample64, block, 48000.0};
    EXPECT_EQ(harness.plugin.Processor()->setupProcessing(unusableBlock), kResultFalse) << block;
  }

  // The refused setups left the 44.1 kHz, 64-frame preparation in place.
  OracleRunner oracle(44100.0, 2);
  auto input = TestSignals::Make<float>(2, 300, 5);
  auto expected = input;
  std::vector<float*> p = {expected[0].data(), expected[1].data()};
  oracle.Process(p, 300);
  EXPECT_TRUE(TestSignals::BitEqual(harness.Run(input, {64}), expected));
}
