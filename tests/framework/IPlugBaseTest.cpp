#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <limits>
#include <thread>

#include "FailingAllocator.h"
#include "HostLookup.h"
#include "IMutexLock.h"
#include "TestPlug.h"

namespace
{
StateChunk& PutDoubles(StateChunk& chunk, std::initializer_list<double> values)
{
  for (double v : values) chunk.Put(&v, sizeof(v));
  return chunk;
}

int CountCalls(const TestPlug& plug, const std::string& prefix)
{
  int n = 0;
  for (const std::string& call : plug.calls)
    if (call.compare(0, prefix.size(), prefix) == 0) ++n;
  return n;
}
}  // namespace

TEST(IPlugBaseConstruction, StoresSettingsAndStartValues)
{
  TestPlug plug;
  EXPECT_STREQ(plug.GetMakerName(), "Parvolen");
  EXPECT_EQ(plug.GetUniqueID(), 0x4D657231);
  EXPECT_EQ(plug.GetHostId(), -1);
  EXPECT_EQ(plug.GetSampleRate(), 44100.0);
  ASSERT_EQ(plug.NParams(), 9);
  EXPECT_EQ(plug.GetParamRecord(9), nullptr);
  EXPECT_EQ(plug.GetParamRecord(-1), nullptr);
  ASSERT_EQ(plug.NPresets(), 1);
  EXPECT_STREQ(plug.GetPresetName(0), "empty");
  EXPECT_EQ(plug.GetPresetName(1), nullptr);
}

TEST(IPlugBaseConstruction, LongNamesAreTruncated)
{
  const std::string longName(300, 'a');
  TestPlug plug(0, "", 0, 0, longName.c_str());
  EXPECT_EQ(std::string(plug.GetEffectName()), std::string(127, 'a'));
  EXPECT_EQ(plug.NParams(), 0);
  EXPECT_EQ(plug.NInChannels(), 0);
}

TEST(IPlugBaseChannelIO, ProductStringGivesTwoPairsAndTwoChannelsEachWay)
{
  TestPlug plug;
  ASSERT_EQ(plug.NChannelIO(), 2);
  EXPECT_EQ(plug.GetChannelIO(0)->inputs, 1);
  EXPECT_EQ(plug.GetChannelIO(1)->outputs, 2);
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 2);
  EXPECT_TRUE(plug.LegalIO(1, 1));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_TRUE(plug.LegalIO(-1, 2));
  EXPECT_TRUE(plug.LegalIO(-1, -1));
  EXPECT_FALSE(plug.LegalIO(1, 2));
  EXPECT_FALSE(plug.LegalIO(2, 1));
  EXPECT_FALSE(plug.LegalIO(0, 0));
  EXPECT_FALSE(plug.LegalIO(3, -1));
}

TEST(IPlugBaseChannelIO, ItemsAreReadOneAfterEachSpace)
{
  struct Case
  {
    const char* text;
    std::vector<std::pair<int, int>> pairs;
    int inputs, outputs;
  } cases[] = {
      {"2-1 1-3", {{2, 1}, {1, 3}}, 2, 3},
      {"1-1 1-1", {{1, 1}, {1, 1}}, 1, 1},
      {"x-2 3", {{0, 0}, {3, 0}}, 3, 0},
      {"1-1 ", {{1, 1}, {0, 0}}, 1, 1},
      {"1-1  2-2", {{1, 1}, {2, 2}, {2, 2}}, 2, 2},
      {"", {{0, 0}}, 0, 0},
      {"1--2", {{1, -2}}, 1, 0},
  };
  for (const Case& c : cases)
  {
    TestPlug plug(0, c.text, 0);
    ASSERT_EQ(plug.NChannelIO(), static_cast<int>(c.pairs.size())) << c.text;
    for (size_t i = 0; i < c.pairs.size(); ++i)
    {
      EXPECT_EQ(plug.GetChannelIO(static_cast<int>(i))->inputs, c.pairs[i].first) << c.text;
      EXPECT_EQ(plug.GetChannelIO(static_cast<int>(i))->outputs, c.pairs[i].second) << c.text;
    }
    EXPECT_EQ(plug.NInChannels(), c.inputs) << c.text;
    EXPECT_EQ(plug.NOutChannels(), c.outputs) << c.text;
  }
  TestPlug none(0, nullptr, 0);
  EXPECT_EQ(none.NChannelIO(), 0);
  EXPECT_FALSE(none.LegalIO(-1, -1));
}

TEST(IPlugBasePresets, DefaultPresetRestoresDefaults)
{
  TestPlug plug;
  plug.DefineIntegers();
  plug.CaptureDefaultPreset();
  EXPECT_STREQ(plug.GetPresetName(0), "Default");
  plug.GetParamRecord(0)->SetClamped(17.0);
  plug.GetParamRecord(8)->SetClamped(2.5);
  plug.calls.clear();
  EXPECT_TRUE(plug.LoadPreset(0));
  for (int i = 0; i < plug.NParams(); ++i) EXPECT_EQ(plug.GetParamRecord(i)->GetValue(), 6.0);
  EXPECT_EQ(CountCalls(plug, "change"), 9);
  EXPECT_EQ(plug.calls.back(), "restored");
  EXPECT_FALSE(plug.LoadPreset(1));
  EXPECT_FALSE(plug.LoadPreset(-1));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
}

TEST(IPlugBasePresets, EmptySlotCapturesCurrentValuesAsUserPreset)
{
  TestPlug plug(9, "2-2", 4);
  plug.DefineIntegers();
  plug.CaptureDefaultPreset();
  plug.GetParamRecord(3)->SetClamped(11.0);
  plug.calls.clear();
  EXPECT_TRUE(plug.LoadPreset(2));
  EXPECT_STREQ(plug.GetPresetName(2), "user preset 1");
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 2);
  EXPECT_EQ(CountCalls(plug, "change"), 0);
  EXPECT_EQ(plug.calls.back(), "restored");
  EXPECT_TRUE(plug.LoadPreset(1));
  EXPECT_STREQ(plug.GetPresetName(1), "user preset 2");

  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(plug.GetParamRecord(3)->GetValue(), 6.0);
  EXPECT_TRUE(plug.LoadPreset(2));
  EXPECT_EQ(plug.GetParamRecord(3)->GetValue(), 11.0);
}

TEST(IPlugBaseState, SerializeWritesValuesAsRawDoubles)
{
  TestPlug plug;
  for (int i = 0; i < 9; ++i) plug.GetParamRecord(i)->DefineContinuous("P", 6, 0, 20, 0.01);
  for (int i = 0; i < 9; ++i) plug.GetParamRecord(i)->SetClamped(i + 0.5);
  StateChunk chunk;
  ASSERT_TRUE(plug.SerializeParams(chunk));
  ASSERT_EQ(chunk.GetSize(), 72);
  for (int i = 0; i < 9; ++i)
  {
    double v;
    std::memcpy(&v, chunk.GetData() + 8 * i, 8);
    EXPECT_EQ(v, i + 0.5);
  }
  TestPlug empty(0);
  StateChunk none;
  EXPECT_TRUE(empty.SerializeParams(none));
  EXPECT_EQ(none.GetSize(), 0);
}

TEST(IPlugBaseState, FailedAppendIsReportedAsFailure)
{
  FailingAllocator alloc;
  TestPlug plug(600);
  StateChunk chunk(&alloc);
  const char first = 0;
  chunk.Put(&first, 1);
  alloc.FailAll(true);
  // 499 values fit the first 4000-byte block after the byte already there.
  EXPECT_FALSE(plug.SerializeParams(chunk));
  EXPECT_EQ(chunk.GetSize(), 1 + 499 * 8);
}

TEST(IPlugBaseState, UnserializeReadsFromPositionClampsAndStepsDown)
{
  TestPlug plug;
  plug.DefineIntegers();
  StateChunk chunk;
  PutDoubles(chunk, {0, 1, 2, 6.6, 40, -3, 5, 7, 8});
  plug.calls.clear();
  EXPECT_EQ(plug.UnserializeParams(chunk, 0), 72);
  EXPECT_EQ(plug.GetParamRecord(3)->GetValue(), 6.0);
  EXPECT_EQ(plug.GetParamRecord(4)->GetValue(), 20.0);
  EXPECT_EQ(plug.GetParamRecord(5)->GetValue(), 0.0);
  EXPECT_EQ(plug.GetParamRecord(8)->GetValue(), 8.0);
  ASSERT_EQ(plug.calls.size(), 9u);
  EXPECT_EQ(plug.calls[0], "change 0");
  EXPECT_EQ(plug.calls[8], "change 8");
}

TEST(IPlugBaseState, ShortChunkSetsRunOutParameterToClampedZero)
{
  TestPlug plug;
  for (int i = 0; i < 9; ++i) plug.GetParamRecord(i)->DefineInteger("P", 6, 2, 20);
  StateChunk chunk;
  PutDoubles(chunk, {9, 10, 11, 12, 13, 14, 15, 16, 17});
  plug.calls.clear();
  EXPECT_EQ(plug.UnserializeParams(chunk, 8), -1);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(plug.GetParamRecord(i)->GetValue(), 10.0 + i);
  EXPECT_EQ(plug.GetParamRecord(8)->GetValue(), 2.0);
  EXPECT_EQ(CountCalls(plug, "change"), 9);

  StateChunk shorter;
  PutDoubles(shorter, {3, 4});
  EXPECT_EQ(plug.UnserializeParams(shorter, 0), -1);
  EXPECT_EQ(plug.GetParamRecord(1)->GetValue(), 4.0);
  EXPECT_EQ(plug.GetParamRecord(2)->GetValue(), 2.0);
  EXPECT_EQ(plug.GetParamRecord(3)->GetValue(), 13.0);
}

TEST(IPlugBaseState, NaNInStoredStateKeepsTheValue)
{
  TestPlug plug;
  plug.DefineIntegers();
  plug.GetParamRecord(1)->SetClamped(9.0);
  StateChunk chunk;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  PutDoubles(chunk, {1, nan, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(plug.LoadState(chunk, 0), 72);
  EXPECT_EQ(plug.GetParamRecord(1)->GetValue(), 9.0);
  EXPECT_EQ(plug.GetParamRecord(2)->GetValue(), 2.0);
}

TEST(IPlugBaseState, MatchesStateComparesInFloatPrecision)
{
  TestPlug plug;
  for (int i = 0; i < 9; ++i) plug.GetParamRecord(i)->DefineContinuous("P", 6, 0, 20, 0.01);
  plug.GetParamRecord(2)->SetClamped(3.25);
  StateChunk chunk;
  const double lead = 99.0;
  chunk.Put(&lead, 8);
  ASSERT_TRUE(plug.SerializeParams(chunk));
  EXPECT_TRUE(plug.MatchesState(chunk.GetData(), chunk.GetSize(), 1));
  EXPECT_FALSE(plug.MatchesState(chunk.GetData(), chunk.GetSize(), 0));
  EXPECT_FALSE(plug.MatchesState(chunk.GetData(), chunk.GetSize() - 1, 1));
  EXPECT_FALSE(plug.MatchesState(nullptr, 0, 0));

  plug.GetParamRecord(2)->SetClamped(3.25 + 1e-7);
  EXPECT_TRUE(plug.MatchesState(chunk.GetData(), chunk.GetSize(), 1));
  plug.GetParamRecord(2)->SetClamped(3.25 + 1e-3);
  EXPECT_FALSE(plug.MatchesState(chunk.GetData(), chunk.GetSize(), 1));
}

TEST(IPlugBaseEditor, SetParamFromEditorSetsSendsThenNotifies)
{
  TestPlug plug;
  plug.DefineIntegers();
  plug.SetParamFromEditor(4, 0.33);
  EXPECT_EQ(plug.GetParamRecord(4)->GetValue(), 7.0);
  ASSERT_EQ(plug.calls.size(), 2u);
  EXPECT_EQ(plug.calls[0], "send 4 0.350000");
  EXPECT_EQ(plug.calls[1], "change 4");
  plug.SetParamFromEditor(9, 0.5);
  plug.SetParamFromEditor(-1, 0.5);
  EXPECT_EQ(plug.calls.size(), 2u);
}

TEST(IPlugBaseLock, StateAndEditorOperationsWaitForTheLock)
{
  TestPlug plug;
  plug.DefineIntegers();
  StateChunk chunk;
  ASSERT_TRUE(plug.SerializeParams(chunk));
  std::atomic<int> done{0};
  plug.GetMutex().Enter();
  std::thread other(
      [&]
      {
        plug.UnserializeParams(chunk, 0);
        ++done;
        plug.SetParamFromEditor(0, 1.0);
        ++done;
      });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(done, 0);
  plug.GetMutex().Leave();
  other.join();
  EXPECT_EQ(done, 2);
  EXPECT_EQ(plug.GetParamRecord(0)->GetValue(), 20.0);
}

TEST(IPlugBaseHost, SetHostUsesLookUp)
{
  TestPlug plug;
  plug.SetHost("Steinberg Cubase 12", 7);
  EXPECT_EQ(plug.GetHostId(), kHostCubase);
  EXPECT_EQ(plug.GetHostVersion(), 7);
  plug.SetHost(nullptr, 0);
  EXPECT_EQ(plug.GetHostId(), kHostUnknown);
}

TEST(IPlugBaseNames, BusNamesReplaceOrAppend)
{
  TestPlug plug;
  EXPECT_EQ(plug.GetInputBusName(0), nullptr);
  EXPECT_TRUE(plug.SetInputBusName(0, "Input"));
  EXPECT_TRUE(plug.SetInputBusName(0, "Main Input"));
  EXPECT_EQ(plug.NInputBusNames(), 1);
  EXPECT_STREQ(plug.GetInputBusName(0), "Main Input");
  EXPECT_TRUE(plug.SetOutputBusName(2, "Output 3"));
  EXPECT_EQ(plug.NOutputBusNames(), 3);
  EXPECT_STREQ(plug.GetOutputBusName(0), "");
  EXPECT_STREQ(plug.GetOutputBusName(2), "Output 3");
  EXPECT_FALSE(plug.SetOutputBusName(-1, "x"));
}

TEST(IPlugBaseNames, GroupNamesAreNumberedFromOneByFirstAppearance)
{
  TestPlug plug;
  const char drive[] = "Drive";
  const char tone[] = "Tone";
  const char driveAgain[] = "Drive";
  EXPECT_EQ(plug.AddGroupName(""), 0);
  EXPECT_EQ(plug.AddGroupName(nullptr), 0);
  EXPECT_EQ(plug.AddGroupName(drive), 1);
  EXPECT_EQ(plug.AddGroupName(tone), 2);
  EXPECT_EQ(plug.AddGroupName(driveAgain), 1);
  EXPECT_EQ(plug.AddGroupName("drive"), 3);
  EXPECT_EQ(plug.NGroupNames(), 3);
  EXPECT_EQ(plug.GetGroupName(1), tone);
  EXPECT_EQ(plug.GetGroupName(3), nullptr);
}
