// Audio through the module against the literal oracle, automation, bypass, presets and
// bus arrangements.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "OracleRunner.h"
#include "PluginHarness.h"
#include "TestSignals.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr ParamID kPrst = 0x70727374;
constexpr ParamID kBpas = 0x62706173;

struct Point
{
  ParamID id;
  int32 offset;
  double value;
};
using Automation = std::map<int, std::vector<Point>>;  // by block number

// Runs the signal through the module and through the oracle in the same blocks, with the
// same automation (the oracle takes each queue's last point, the module gets them all).
template <typename Sample>
void RunBoth(PluginHarness& harness, OracleRunner& oracle, std::vector<std::vector<Sample>>& viaModule,
             std::vector<std::vector<Sample>>& viaOracle, const std::vector<int>& blocks,
             const Automation& automation = {})
{
  const int total = static_cast<int>(viaModule[0].size());
  const int channels = static_cast<int>(viaModule.size());
  std::vector<Sample*> a(static_cast<size_t>(channels));
  std::vector<Sample*> b(static_cast<size_t>(channels));
  int block = 0;
  for (int start = 0; start < total; ++block)
  {
    const int frames = std::min(blocks[static_cast<size_t>(block) % blocks.size()], total - start);
    std::map<ParamID, double> last;
    if (auto it = automation.find(block); it != automation.end())
      for (const Point& p : it->second)
      {
        harness.plugin.QueueParameter(p.id, p.value, p.offset);
        last[p.id] = p.value;
      }
    for (auto [id, value] : last)
    {
      if (id == kBpas)
        oracle.SetBypass(value > 0.5);
      else if (id < 9)
        oracle.Set(static_cast<int>(id), value);
    }
    for (int c = 0; c < channels; ++c)
    {
      a[c] = viaModule[c].data() + start;
      b[c] = viaOracle[c].data() + start;
    }
    harness.plugin.Process(a.data(), a.data(), channels, frames);
    oracle.Process(b, frames);
    start += frames;
  }
}
}  // namespace

TEST(Process, StereoFloatAudioEqualsTheOracleBitForBit)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2, 48000.0, 512));
  OracleRunner oracle(48000.0, 2);
  auto viaModule = TestSignals::Make<float>(2, 48000);
  auto viaOracle = viaModule;
  const Automation automation = {{3, {{0, 0, 0.1}, {0, 100, 0.8}, {3, 7, 0.7}}},
                                 {9, {{4, 0, 1.0}, {5, 0, 0.0}, {6, 40, 1.0}}},
                                 {20, {{7, 0, 1.0}, {1, 0, 0.0}, {2, 300, 1.0}}},
                                 {40, {{3, 0, 0.3}, {4, 0, 0.0}}}};
  RunBoth(harness, oracle, viaModule, viaOracle, {512, 37, 1, 200, 511, 64}, automation);
  EXPECT_TRUE(TestSignals::BitEqual(viaModule, viaOracle));
}

TEST(Process, MonoAndDoubleAudioEqualTheOracleBitForBit)
{
  {
    PluginHarness mono;
    ASSERT_TRUE(mono.Prepare(1, 44100.0, 256));
    OracleRunner oracle(44100.0, 1);
    auto viaModule = TestSignals::Make<float>(1, 20000, 7);
    auto viaOracle = viaModule;
    RunBoth(mono, oracle, viaModule, viaOracle, {256, 100}, {{2, {{0, 0, 0.9}}}});
    EXPECT_TRUE(TestSignals::BitEqual(viaModule, viaOracle));
  }
  {
    PluginHarness stereo;
    ASSERT_TRUE(stereo.Prepare(2, 96000.0, 1024, kSample64));
    OracleRunner oracle(96000.0, 2);
    auto viaModule = TestSignals::Make<double>(2, 30000, 3);
    auto viaOracle = viaModule;
    RunBoth(stereo, oracle, viaModule, viaOracle, {1024, 3, 999}, {{5, {{3, 0, 0.2}, {6, 0, 1.0}}}});
    EXPECT_TRUE(TestSignals::BitEqual(viaModule, viaOracle));
  }
}

TEST(Process, OnlyTheLastPointOfAQueueCountsForTheWholeBlock)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2));
  OracleRunner oracle(44100.0, 2);
  auto viaModule = TestSignals::Make<float>(2, 1024);
  auto viaOracle = viaModule;
  RunBoth(harness, oracle, viaModule, viaOracle, {512}, {{0, {{0, 0, 0.2}, {0, 100, 0.9}}}});
  EXPECT_TRUE(TestSignals::BitEqual(viaModule, viaOracle));
  EXPECT_DOUBLE_EQ(harness.Normalized(0), 0.9);
}

TEST(Process, HostBypassPassesTheInputThroughBitForBit)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2));
  auto input = TestSignals::Make<float>(2, 512);
  auto output = input;
  harness.plugin.QueueParameter(kBpas, 0.0, 0);
  harness.plugin.QueueParameter(kBpas, 0.7, 300);
  std::vector<float*> p = {output[0].data(), output[1].data()};
  harness.plugin.Process(p.data(), p.data(), 2, 512);
  EXPECT_TRUE(TestSignals::BitEqual(input, output));
  EXPECT_DOUBLE_EQ(harness.Normalized(kBpas), 1.0);

  harness.plugin.QueueParameter(kBpas, 0.5, 0);  // not above 0.5: processed again
  harness.plugin.Process(p.data(), p.data(), 2, 512);
  EXPECT_FALSE(TestSignals::BitEqual(input, output));
  EXPECT_DOUBLE_EQ(harness.Normalized(kBpas), 0.0);
}

TEST(Process, PresetChangeOneLoadsTheLastPresetAndZeroTheDefaults)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2));
  auto signal = TestSignals::Make<float>(2, 64);
  harness.plugin.QueueParameter(0, 1.0);
  harness.plugin.QueueParameter(3, 0.25);
  harness.Run(signal, {64});
  ASSERT_DOUBLE_EQ(harness.Normalized(0), 1.0);

  harness.plugin.QueueParameter(kPrst, 1.0);
  harness.Run(signal, {64});
  EXPECT_DOUBLE_EQ(harness.Normalized(kPrst), 1.0);
  EXPECT_NE(harness.Normalized(0), 1.0);
  EXPECT_NE(harness.Normalized(3), 0.25);

  harness.plugin.QueueParameter(kPrst, 0.0);
  harness.Run(signal, {64});
  EXPECT_DOUBLE_EQ(harness.Normalized(kPrst), 0.0);
  EXPECT_DOUBLE_EQ(harness.Normalized(0), 0.3);
  EXPECT_NEAR(harness.Normalized(3), std::pow(96.0 / 108.0, 1.0 / 0.17), 1e-12);
}

TEST(Process, AcceptsMonoAndStereoArrangementsAndRefusesMixedOnes)
{
  PluginHarness harness;
  IAudioProcessor* processor = harness.plugin.Processor();
  IComponent* component = harness.plugin.Component();
  auto busName = [&](BusDirection dir)
  {
    BusInfo info{};
    component->getBusInfo(kAudio, dir, 0, info);
    std::string name;
    for (const TChar* t = info.name; *t; ++t) name += static_cast<char>(*t);
    return name + "/" + std::to_string(info.channelCount);
  };
  EXPECT_EQ(busName(kInput), "Main Input/2");
  EXPECT_EQ(busName(kOutput), "Output/2");

  SpeakerArrangement stereo = SpeakerArr::kStereo, mono = SpeakerArr::kMono, surround = SpeakerArr::k51;
  EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
  EXPECT_EQ(busName(kInput), "Main Input/2");

  EXPECT_EQ(processor->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  EXPECT_EQ(busName(kInput), "Input/1");
  EXPECT_EQ(busName(kOutput), "Output/1");
  SpeakerArrangement arrangement = 0;
  EXPECT_EQ(processor->getBusArrangement(kOutput, 0, arrangement), kResultTrue);
  EXPECT_EQ(arrangement, SpeakerArr::kMono);

  EXPECT_EQ(processor->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &mono, 1), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(&surround, 1, &surround, 1), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(&stereo, 1, nullptr, 0), kResultFalse);
  SpeakerArrangement two[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
  EXPECT_EQ(processor->setBusArrangements(two, 2, &stereo, 1), kResultFalse);
  EXPECT_EQ(busName(kInput), "Input/2");  // rebuilt for stereo before the refusal
  EXPECT_EQ(processor->getBusArrangement(kOutput, 1, arrangement), kInvalidArgument);
}

TEST(Process, BeforeSetupWritesSilenceIntoTheHostsBuffers)
{
  PluginHarness harness;  // initialised only: no arrangement, setup or activation
  auto input = TestSignals::Make<float>(2, 64);
  std::vector<std::vector<float>> output(2, std::vector<float>(64, 0.5f));
  float* in[2] = {input[0].data(), input[1].data()};
  float* out[2] = {output[0].data(), output[1].data()};
  ASSERT_EQ(harness.plugin.Process(in, out, 2, 64), kResultOk);
  for (const auto& channel : output)
    for (float s : channel) ASSERT_EQ(s, 0.0f);

  std::vector<std::vector<double>> output64(2, std::vector<double>(64, 0.5));
  double* out64[2] = {output64[0].data(), output64[1].data()};
  auto input64 = TestSignals::Make<double>(2, 64);
  double* in64[2] = {input64[0].data(), input64[1].data()};
  ASSERT_EQ(harness.plugin.Process(in64, out64, 2, 64), kResultOk);
  for (const auto& channel : output64)
    for (double s : channel) ASSERT_EQ(s, 0.0);
}
