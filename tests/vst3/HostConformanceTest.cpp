// What strict hosts and validators do: flush calls, every block size, bus queries with
// bad indexes, repeated lifecycles, other threads, many instances.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <thread>

#include "OracleRunner.h"
#include "PluginHarness.h"
#include "TestSignals.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST(Conformance, FlushCallWithoutBuffersAppliesParameterChanges)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2));
  harness.plugin.QueueParameter(0, 0.2);
  harness.plugin.QueueParameter(0, 0.6, 5);
  harness.plugin.QueueParameter(0x62706173, 1.0);
  ProcessData data;
  data.numSamples = 0;
  ASSERT_EQ(harness.plugin.Process(data), kResultOk);
  EXPECT_DOUBLE_EQ(harness.Normalized(0), 0.6);
  EXPECT_DOUBLE_EQ(harness.Normalized(0x62706173), 1.0);

  // The same with buses of zero channels.
  AudioBusBuffers in, out;
  ProcessData withBuses;
  withBuses.numInputs = withBuses.numOutputs = 1;
  withBuses.inputs = &in;
  withBuses.outputs = &out;
  harness.plugin.QueueParameter(0, 1.0);
  ASSERT_EQ(harness.plugin.Process(withBuses), kResultOk);
  EXPECT_DOUBLE_EQ(harness.Normalized(0), 1.0);
}

TEST(Conformance, EveryBlockSizeUpToTheMaximumGivesTheOraclesAudio)
{
  constexpr int kMax = 128;
  std::vector<int> sizes;
  for (int n = 1; n <= kMax; ++n) sizes.push_back(n);
  for (int n = kMax; n >= 1; n -= 3) sizes.push_back(n);
  int total = 0;
  for (int n : sizes) total += n;

  for (int32 sampleSize : {kSample32, kSample64})
  {
    SCOPED_TRACE(sampleSize == kSample32 ? "32-bit" : "64-bit");
    PluginHarness harness;
    ASSERT_TRUE(harness.Prepare(2, 44100.0, kMax, sampleSize));
    OracleRunner oracle(44100.0, 2);
    if (sampleSize == kSample32)
    {
      auto input = TestSignals::Make<float>(2, total, 11);
      auto expected = input;
      std::vector<float*> p = {expected[0].data(), expected[1].data()};
      oracle.Process(p, total);
      EXPECT_TRUE(TestSignals::BitEqual(harness.Run(input, sizes), expected));
    }
    else
    {
      auto input = TestSignals::Make<double>(2, total, 11);
      auto expected = input;
      std::vector<double*> p = {expected[0].data(), expected[1].data()};
      oracle.Process(p, total);
      EXPECT_TRUE(TestSignals::BitEqual(harness.Run(input, sizes), expected));
    }
  }
}

TEST(Conformance, BusQueriesAnswerInvalidArgumentForBadIndexes)
{
  PluginHarness harness;
  IComponent* component = harness.plugin.Component();
  EXPECT_EQ(component->getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(component->getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(component->getBusCount(kEvent, kInput), 0);
  EXPECT_EQ(component->getBusCount(kEvent, kOutput), 0);
  EXPECT_EQ(component->getBusCount(5, kInput), 0);

  BusInfo info{};
  ASSERT_EQ(component->getBusInfo(kAudio, kOutput, 0, info), kResultTrue);
  EXPECT_EQ(info.mediaType, kAudio);
  EXPECT_EQ(info.direction, kOutput);
  EXPECT_EQ(info.busType, kMain);
  EXPECT_EQ(info.flags, static_cast<uint32>(BusInfo::kDefaultActive));
  for (int32 bad : {-1, 1, 1000})
  {
    EXPECT_EQ(component->getBusInfo(kAudio, kInput, bad, info), kInvalidArgument) << bad;
    EXPECT_EQ(component->activateBus(kAudio, kOutput, bad, true), kInvalidArgument) << bad;
  }
  EXPECT_EQ(component->getBusInfo(kEvent, kInput, 0, info), kInvalidArgument);
  EXPECT_EQ(component->getBusInfo(9, kInput, 0, info), kInvalidArgument);
  EXPECT_EQ(component->activateBus(kEvent, kInput, 0, true), kInvalidArgument);
  EXPECT_EQ(component->activateBus(kAudio, kInput, 0, true), kResultTrue);
  RoutingInfo a{}, b{};
  EXPECT_EQ(component->getRoutingInfo(a, b), kNotImplemented);
}

TEST(Conformance, RepeatedLifecyclesKeepOneSetOfBusesAndParameters)
{
  PluginHarness harness;
  IComponent* component = harness.plugin.Component();
  IEditController* controller = harness.plugin.Controller();
  EXPECT_EQ(harness.plugin.Initialize(harness.host->unknownCast()), kResultFalse);
  EXPECT_EQ(controller->getParameterCount(), 12);
  EXPECT_EQ(component->getBusCount(kAudio, kInput), 1);

  auto input = TestSignals::Make<float>(2, 2048, 5);
  PluginHarness::Signal first;
  for (int cycle = 0; cycle < 3; ++cycle)
  {
    SCOPED_TRACE(cycle);
    EXPECT_EQ(harness.plugin.Terminate(), kResultOk);
    EXPECT_EQ(controller->getParameterCount(), 0);
    EXPECT_EQ(component->getBusCount(kAudio, kOutput), 0);
    ASSERT_EQ(harness.plugin.Initialize(harness.host->unknownCast()), kResultOk);
    EXPECT_EQ(controller->getParameterCount(), 12);
    EXPECT_EQ(component->getBusCount(kAudio, kOutput), 1);
    for (int i = 0; i < 3; ++i)
    {
      EXPECT_EQ(component->setActive(true), kResultOk);
      EXPECT_EQ(component->setActive(false), kResultOk);
    }
    ASSERT_TRUE(harness.Prepare(2, 44100.0, 256));
    auto output = harness.Run(input, {256});
    harness.plugin.Unprepare();
    // Every activation starts the effect from rest; the run after the cycles is processed audio.
    for (float v : output[0]) ASSERT_TRUE(std::isfinite(v));
    EXPECT_FALSE(TestSignals::BitEqual(output, input));
  }
}

TEST(Conformance, ProcessRunsOnAnotherThreadThanTheSetup)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2, 44100.0, 300));
  auto input = TestSignals::Make<float>(2, 6000, 9);
  PluginHarness::Signal viaThread;
  std::thread audio(
      [&]
      {
        harness.plugin.QueueParameter(2, 0.0);
        viaThread = harness.Run(input, {300, 17});
      });
  audio.join();

  OracleRunner oracle(44100.0, 2);
  oracle.Set(2, 0.0);
  auto expected = input;
  std::vector<float*> p = {expected[0].data(), expected[1].data()};
  oracle.Process(p, 6000);
  EXPECT_TRUE(TestSignals::BitEqual(viaThread, expected));
}

TEST(Conformance, ManyInstancesLiveSideBySide)
{
  constexpr int kInstances = 12;
  std::vector<std::unique_ptr<PluginHarness>> plugins;
  std::vector<std::unique_ptr<OracleRunner>> oracles;
  for (int i = 0; i < kInstances; ++i)
  {
    plugins.push_back(std::make_unique<PluginHarness>());
    ASSERT_TRUE(plugins.back()->Prepare(2, 44100.0, 128));
    plugins.back()->plugin.QueueParameter(0, i / double(kInstances));
    oracles.push_back(std::make_unique<OracleRunner>(44100.0, 2));
    oracles.back()->Set(0, i / double(kInstances));
  }
  auto input = TestSignals::Make<float>(2, 128, 2);
  for (int block = 0; block < 4; ++block)
    for (int i = 0; i < kInstances; ++i)
    {
      auto expected = input;
      std::vector<float*> p = {expected[0].data(), expected[1].data()};
      oracles[i]->Process(p, 128);
      ASSERT_TRUE(TestSignals::BitEqual(plugins[i]->Run(input, {128}), expected)) << "instance " << i;
    }

  // Created at once from several threads as well.
  std::vector<std::thread> threads;
  std::vector<std::unique_ptr<PluginHarness>> concurrent(8);
  for (size_t t = 0; t < concurrent.size(); ++t)
    threads.emplace_back([&, t] { concurrent[t] = std::make_unique<PluginHarness>(); });
  for (std::thread& t : threads) t.join();
  for (auto& h : concurrent) EXPECT_EQ(h->plugin.Controller()->getParameterCount(), 12);
}
