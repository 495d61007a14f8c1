// What mero-render writes, compared with the effect itself: bit for bit with
// the literal block routine run in this process, and (Windows build) within
// the maths libraries' rounding of the Linux build's renders of the same file.

#include "RenderFixture.h"

#include "LiteralMERO.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <sstream>

namespace
{

using RenderAccuracyTest = RenderFixture;

// The literal block routine over a whole file, set up as a host does and given
// plain parameter values; a mono file feeds silence into the second input.
TestWav LiteralRender(const TestWav& in, const std::vector<std::pair<int, double>>& values)
{
  LiteralMERO plug;
  plug.LoadPreset(0);
  plug.SetSampleRate(in.rate);
  for (const auto& v : values)
  {
    plug.GetParamRecord(v.first)->SetClamped(v.second);
    plug.HandleParamChange(v.first);
  }
  const size_t frames = in.Frames();
  std::vector<double> input[2], output[2];
  for (int c = 0; c < 2; ++c)
  {
    input[c].assign(frames, 0.0);
    output[c].assign(frames, 0.0);
    if (c < in.channels)
      for (size_t i = 0; i < frames; ++i) input[c][i] = in.At(i, c);
  }
  double* inputs[2] = {input[0].data(), input[1].data()};
  double* outputs[2] = {output[0].data(), output[1].data()};
  plug.ProcessAudio(inputs, outputs, static_cast<int>(frames));
  TestWav out = in;
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < in.channels; ++c)
      out.samples[i * static_cast<size_t>(in.channels) + static_cast<size_t>(c)] = static_cast<float>(output[c][i]);
  return out;
}

TEST_F(RenderAccuracyTest, MatchesTheLiteralBlockRoutineBitForBit)
{
  const std::vector<std::string> args = {"--block", "333",    "--set", "Level=17", "--set", "Gain=0",
                                         "--set",   "Low=2",  "--set", "High=0",   "--set", "Output=-3.25",
                                         "--set",   "Mode=1", "--set", "Pad=1"};
  const std::vector<std::pair<int, double>> values = {{MERO::kLevel, 17}, {MERO::kGain, 0},       {MERO::kLow, 2},
                                                      {MERO::kHigh, 0},   {MERO::kOutput, -3.25}, {MERO::kMode, 1},
                                                      {MERO::kPad, 1}};
  for (int channels : {1, 2})
  {
    SCOPED_TRACE(channels);
    const TestWav in = TestWav::Make(44100, channels, SF_FORMAT_FLOAT, 20000, 0.7);
    const TestWav rendered = RenderToWav(Input("in.wav", in), "out.wav", args);
    const TestWav expected = LiteralRender(in, values);
    ASSERT_EQ(rendered.samples.size(), expected.samples.size());
    for (size_t i = 0; i < expected.samples.size(); ++i)
      ASSERT_EQ(rendered.samples[i], expected.samples[i]) << "sample " << i;
  }
}

#ifdef _WIN32
// The Linux renders come from a test fixture that runs the native build's
// mero-render (see CMakeLists.txt): the demo signal as input.wav, rendered
// with the defaults as linux-default.wav and with MERO_COMPARE_SETTINGS (and
// --block 100) as linux-driven.wav.
TEST_F(RenderAccuracyTest, MatchesTheLinuxBuildWithinMathsLibraryRounding)
{
  const std::string dir = RenderProcess::HostPath(MERO_LINUX_RENDER_DIR);
  std::vector<std::string> driven = {"--block", "100"};
  std::istringstream settings(MERO_COMPARE_SETTINGS);
  for (std::string s; settings >> s;) driven.insert(driven.end(), {"--set", s});

  const std::pair<const char*, std::vector<std::string>> cases[] = {{"linux-default.wav", {}},
                                                                    {"linux-driven.wav", driven}};
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.first);
    TestWav linux;
    ASSERT_TRUE(TestWav::Load(dir + "/" + c.first, linux)) << "the Linux render is missing";
    const TestWav windows = RenderToWav(dir + "/input.wav", "windows.wav", c.second);
    ASSERT_EQ(windows.samples.size(), linux.samples.size());
    // tanh, atan, pow and exp of the two C runtimes may differ in the last bit
    // of a double; after the filters that stays below 1e-6 of the peak level
    // (about -120 dB), far below what a listener or a 24-bit file resolves.
    double peak = 0.0, worst = 0.0;
    size_t differing = 0;
    for (size_t i = 0; i < linux.samples.size(); ++i)
    {
      peak = std::fmax(peak, std::fabs(linux.samples[i]));
      worst = std::fmax(worst, std::fabs(static_cast<double>(windows.samples[i]) - linux.samples[i]));
      differing += windows.samples[i] != linux.samples[i];
    }
    std::printf("%s: %zu of %zu samples differ, largest difference %.3g at peak %.3g\n", c.first, differing,
                linux.samples.size(), worst, peak);
    EXPECT_GT(peak, 0.01);
    EXPECT_LE(worst, 1e-6 * peak);
  }
}
#endif

}  // namespace
