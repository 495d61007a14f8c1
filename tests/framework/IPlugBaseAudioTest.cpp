#include <gtest/gtest.h>

#include <vector>

#include "TestPlug.h"

namespace
{
// A stereo plug-in with block buffers of the given size, every channel
// connected, as the binding leaves it before a 32-bit block.
struct Bridge
{
  explicit Bridge(int frames, const char* io = "1-1 2-2")
    : plug(0, io, 0)
  {
    plug.ResizeBlockBuffers(frames);
    for (int i = 0; i < plug.NInChannels(); ++i) plug.SetInputConnected(i, true);
    for (int i = 0; i < plug.NOutChannels(); ++i)
    {
      plug.SetOutputConnected(i, true);
      plug.PointOutputAtScratch(i);
    }
  }
  TestPlug plug;
};

std::vector<double> Slot(double** slots, int index, int frames)
{
  return std::vector<double>(slots[index], slots[index] + frames);
}
}  // namespace

TEST(IPlugBaseBridge, ResizeZeroFillsAndSameSizeKeepsContents)
{
  Bridge b(4);
  EXPECT_EQ(b.plug.GetBlockSize(), 4);
  b.plug.PointInputAtScratch(0);
  double* in0 = b.plug.GetInputPointers()[0];
  ASSERT_NE(in0, nullptr);
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 0, 4), std::vector<double>(4, 0.0));
  in0[3] = 5.0;
  b.plug.ResizeBlockBuffers(4);
  EXPECT_EQ(b.plug.GetInputPointers()[0][3], 5.0);
  b.plug.ResizeBlockBuffers(3000);
  EXPECT_EQ(b.plug.GetBlockSize(), 3000);
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 0, 3000), std::vector<double>(3000, 0.0));
}

TEST(IPlugBaseBridge, ResizeRepointsSlotsThatUsedTheOldScratch)
{
  Bridge b(8);
  b.plug.PointInputAtScratch(1);
  double host[4] = {1, 2, 3, 4};
  b.plug.PointInputAt(0, host);
  b.plug.ResizeBlockBuffers(100000);
  double** in = b.plug.GetInputPointers();
  EXPECT_EQ(in[0], host);
  // The slot follows the scratch block wherever it moved.
  for (int s = 0; s < 100000; ++s) in[1][s] = 1.0;
  b.plug.ResizeBlockBuffers(0);
  EXPECT_EQ(b.plug.GetInputPointers()[1], nullptr);
  EXPECT_EQ(b.plug.GetBlockSize(), 0);
}

TEST(IPlugBaseBridge, ConnectInputsSkipsUnconnectedChannelsWithoutUsingABuffer)
{
  Bridge b(3);
  float first[3] = {0.5f, -1.0f, 0.25f};
  float second[3] = {7, 8, 9};
  float* host[2] = {first, second};
  b.plug.SetInputConnected(0, false);
  b.plug.PointInputAtScratch(0);
  b.plug.ConnectInputs(0, 2, host, 3);
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 1, 3), (std::vector<double>{0.5, -1.0, 0.25}));
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 0, 3), std::vector<double>(3, 0.0));

  b.plug.SetInputConnected(0, true);
  b.plug.ConnectInputs(0, 5, host, 2);
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 0, 2), (std::vector<double>{0.5, -1.0}));
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 1, 2), (std::vector<double>{7, 8}));

  b.plug.ConnectInputs(1, 1, host, 3);
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 1, 3), (std::vector<double>{0.5, -1.0, 0.25}));
}

TEST(IPlugBaseBridge, ConnectInputsStaysInsideTheBlockAndReadsNullAsSilence)
{
  Bridge b(4);
  std::vector<float> longHost(64, 3.0f);
  float* host[2] = {longHost.data(), nullptr};
  b.plug.ConnectInputs(0, 2, host, 64);  // clamped to the 4-frame block
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 0, 4), std::vector<double>(4, 3.0));
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 1, 4), std::vector<double>(4, 0.0));
  longHost[10] = 9.0f;
  b.plug.ConnectInputs(0, 1, host, 4, 8);
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 0, 4), (std::vector<double>{3, 3, 9, 3}));
  b.plug.ConnectInputs(0, 2, nullptr, 4);
  EXPECT_EQ(Slot(b.plug.GetInputPointers(), 0, 4), std::vector<double>(4, 0.0));
}

TEST(IPlugBaseBridge, WriteOutputsConvertsConnectedChannelsOnly)
{
  Bridge b(3);
  float dest0[5] = {-1, -1, -1, -1, -1};
  float dest1[3] = {-1, -1, -1};
  b.plug.SetOutputDestination(0, dest0);
  b.plug.SetOutputDestination(1, dest1);
  double** out = b.plug.GetOutputPointers();
  for (int s = 0; s < 3; ++s)
  {
    out[0][s] = 0.1 * s;
    out[1][s] = 100 + s;
  }
  b.plug.SetOutputConnected(1, false);
  b.plug.WriteOutputs(3, 1);
  EXPECT_EQ(dest0[0], -1.0f);
  EXPECT_EQ(dest0[1], 0.0f);
  EXPECT_EQ(dest0[2], static_cast<float>(0.1));
  EXPECT_EQ(dest0[3], static_cast<float>(0.2));
  EXPECT_EQ(dest0[4], -1.0f);
  EXPECT_EQ(dest1[0], -1.0f);
  b.plug.SetOutputConnected(1, true);
  b.plug.WriteOutputs(1000);
  EXPECT_EQ(dest1[2], 102.0f);
}

TEST(IPlugBaseBridge, PassThroughCopiesPairsAndSilencesExtraOutputs)
{
  Bridge b(4, "1-3");
  double in[4] = {1, 2, 3, 4};
  b.plug.PointInputAt(0, in);
  double** out = b.plug.GetOutputPointers();
  out[2][0] = 7.0;
  b.plug.PassThroughAudio(4);
  EXPECT_EQ(Slot(out, 0, 4), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(Slot(out, 1, 4), std::vector<double>(4, 0.0));
  EXPECT_EQ(Slot(out, 2, 4), std::vector<double>(4, 0.0));

  out[1][0] = 5.0;
  double* inputs[1] = {in};
  double* outputs[3] = {out[0], out[1], in};
  b.plug.ProcessAudio(inputs, outputs, 4);
  EXPECT_EQ(out[1][0], 0.0);
  EXPECT_EQ(in[0], 0.0);
}

TEST(IPlugBaseBridge, PassThroughInPlace)
{
  Bridge b(3);
  double buf[3] = {1, 2, 3};
  b.plug.PointInputAt(0, buf);
  b.plug.PointOutputAt(0, buf);
  b.plug.PointInputAtScratch(1);
  b.plug.PassThroughAudio(3);
  EXPECT_EQ(buf[2], 3.0);
}

TEST(IPlugBaseLatency, PassThroughDelaysByTheLatencyAcrossBlocks)
{
  Bridge b(4);
  b.plug.ChangeLatency(3);
  EXPECT_EQ(b.plug.GetLatency(), 3);
  b.plug.CreateLatencyDelay();
  ASSERT_TRUE(b.plug.HasLatencyDelay());
  double left[4], right[4];
  b.plug.PointInputAt(0, left);
  b.plug.PointInputAt(1, right);
  std::vector<double> got;
  for (int block = 0; block < 3; ++block)
  {
    for (int s = 0; s < 4; ++s)
    {
      left[s] = 1 + block * 4 + s;
      right[s] = -left[s];
    }
    b.plug.PassThroughAudio(4);
    for (int s = 0; s < 4; ++s) got.push_back(b.plug.GetOutputPointers()[0][s]);
    EXPECT_EQ(b.plug.GetOutputPointers()[1][0], block ? -(block * 4 - 2.0) : 0.0);
  }
  EXPECT_EQ(got, (std::vector<double>{0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

  b.plug.ChangeLatency(-4);
  EXPECT_EQ(b.plug.GetLatency(), 0);
  b.plug.PassThroughAudio(4);
  EXPECT_EQ(b.plug.GetOutputPointers()[0][0], 9.0);
}

TEST(IPlugBaseLatency, ChangeClearsTheRing)
{
  Bridge b(2, "1-1");
  b.plug.ChangeLatency(1);
  b.plug.CreateLatencyDelay();
  double in[2] = {5, 6};
  b.plug.PointInputAt(0, in);
  b.plug.PassThroughAudio(2);
  b.plug.ChangeLatency(2);
  b.plug.PassThroughAudio(2);
  EXPECT_EQ(Slot(b.plug.GetOutputPointers(), 0, 2), (std::vector<double>{0, 0}));
  b.plug.PassThroughAudio(2);
  EXPECT_EQ(Slot(b.plug.GetOutputPointers(), 0, 2), (std::vector<double>{5, 6}));
}

TEST(IPlugBaseLatency, ReservedRoomLongerLatenciesAndUnchangedValues)
{
  Bridge b(4, "1-1");
  b.plug.CreateLatencyDelay();
  b.plug.ReserveLatency(3);
  EXPECT_EQ(b.plug.GetReservedLatency(), 3);
  double in[4] = {1, 2, 3, 4};
  b.plug.PointInputAt(0, in);
  auto passed = [&]
  {
    b.plug.PassThroughAudio(4);
    return Slot(b.plug.GetOutputPointers(), 0, 4);
  };
  b.plug.ChangeLatency(3);
  EXPECT_EQ(passed(), (std::vector<double>{0, 0, 0, 1}));
  // Setting the same latency keeps what the delay holds.
  b.plug.ChangeLatency(3);
  EXPECT_EQ(passed(), (std::vector<double>{2, 3, 4, 1}));
  // Beyond the reserved room the delay grows.
  b.plug.ChangeLatency(6);
  EXPECT_EQ(passed(), (std::vector<double>{0, 0, 0, 0}));
  EXPECT_EQ(passed(), (std::vector<double>{0, 0, 1, 2}));
}
