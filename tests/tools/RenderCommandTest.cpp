// mero-render run as a program: command-line errors, file safety, formats and
// what the parameters do to the audio.

#include "RenderFixture.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace
{

using RenderCommandTest = RenderFixture;

double Rms(const TestWav& wav, size_t from, size_t to, int channel)
{
  double sum = 0.0;
  for (size_t i = from; i < to; ++i) sum += static_cast<double>(wav.At(i, channel)) * wav.At(i, channel);
  return std::sqrt(sum / static_cast<double>(to - from));
}

TEST_F(RenderCommandTest, CommandLineErrorsExitWithStatus2AndWriteNothing)
{
  const std::string in = Input("in.wav", TestWav::Make(48000, 2, SF_FORMAT_FLOAT, 1000));
  const std::string out = File("out.wav");
  struct Case
  {
    std::vector<std::string> args;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{"--in", in, "--out", out, "--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--in", in}, "missing --out"},
      {{"--in", in, "--out"}, "--out needs a value"},
      {{"--in", in, "--out", out, "--block", "0"}, "--block must be a whole number from 1 to 65536"},
      {{"--in", in, "--out", out, "--block=12x"}, "--block must be"},
      {{"--in", in, "--out", out, "--block", "65537"}, "--block must be"},
      {{"--out", out, "--rate", "100"}, "--rate must be a whole number of Hz"},
      {{"--out", out, "--rate", "fast"}, "--rate must be"},
      {{"--in", in, "--out", out, "--rate", "44100"}, "with --in the rate comes from the file"},
      {{"--in", in, "--out", out, "--format", "mp3"}, "--format must be float, pcm16 or pcm24"},
      {{"--in", in, "--out", out, "--set", "Level"}, "--set expects NAME=VALUE"},
      {{"--in", in, "--out", out, "--set", "Volume=3"},
       "unknown parameter 'Volume'; valid names: Level, Low, High, Output, Mode, Gain, Pad, Phase, Bypas, Quality"},
      {{"--in", in, "--out", out, "--set", "bypas=1"}, "unknown parameter 'bypas'"},
      {{"--in", in, "--out", out, "--set", "Level=21"}, "Level=21 is out of range; Level takes 0 to 20"},
      {{"--in", in, "--out", out, "--set", "Output=-96.5"}, "Output takes -96 to 12"},
      {{"--in", in, "--out", out, "--set", "Output=12.01"}, "Output takes -96 to 12"},
      {{"--in", in, "--out", out, "--set", "High=1.5"}, "High takes the whole numbers 0 to 3"},
      {{"--in", in, "--out", out, "--set", "Output=loud"}, "value of Output is not a finite number"},
      {{"--in", in, "--out", out, "--set", "Output=nan"}, "value of Output is not a finite number"},
      {{"--in", in, "--out", out, "--set", "Gain="}, "value of Gain is not a finite number"},
      {{"--in", in, "--out", out, "--set", "Quality=Hihg"},
       "unknown value 'Hihg' for Quality; Quality takes Standard, High, Ultra or a position 0 to 2"},
      {{"--in", in, "--out", out, "--set", "Quality=3"}, "Quality=3 is out of range; Quality takes 0 to 2"},
      {{"--in", in, "--out", out, "--set", "Quality="}, "unknown value '' for Quality"},
      {{"--in", in, "--out", out, "--set", "Level=High"}, "value of Level is not a finite number"},
  };
  for (const Case& c : cases)
  {
    EXPECT_EQ(Render(c.args), 2) << c.expected;
    EXPECT_NE(Output().find(c.expected), std::string::npos) << "expected \"" << c.expected << "\" in:\n" << Output();
    EXPECT_EQ(FilesPresent(), std::set<std::string>{"in.wav"}) << c.expected;
  }
  // Usage errors come with the usage text; a help request prints it and succeeds.
  EXPECT_EQ(Render({"--in", in}), 2);
  EXPECT_NE(Output().find("usage: mero-render"), std::string::npos);
  EXPECT_EQ(Render({"--help"}), 0);
  EXPECT_NE(Output().find("usage: mero-render"), std::string::npos);
}

TEST_F(RenderCommandTest, RefusesToOverwriteItsInput)
{
  const TestWav original = TestWav::Make(44100, 2, SF_FORMAT_PCM_16, 2000);
  const std::string in = Input("in.wav", original);
  fs::create_directories(mRoot / "files" / "sub");
  fs::create_hard_link(in, File("link.wav"));
  for (const std::string& out : {in, File("sub/../in.wav"), File("./in.wav"), File("link.wav")})
  {
    EXPECT_EQ(Render({"--in", in, "--out", out}), 2) << out;
    EXPECT_NE(Output().find("refusing to overwrite the input"), std::string::npos) << Output();
  }
  EXPECT_EQ(Load(in).samples, original.samples);
  EXPECT_EQ(FilesPresent(), (std::set<std::string>{"in.wav", "link.wav", "sub"}));
}

TEST_F(RenderCommandTest, BrokenInputFailsAndLeavesNothingBehind)
{
  const std::string good = Input("good.wav", TestWav::Make(48000, 2, SF_FORMAT_FLOAT, 5000));
  const auto size = fs::file_size(good);
  fs::copy_file(good, File("cut.wav"));
  fs::resize_file(File("cut.wav"), size - 1000);  // data cut off part way
  fs::copy_file(good, File("header.wav"));
  fs::resize_file(File("header.wav"), 30);  // cut inside the header
  std::ofstream(File("text.wav")) << "this is not a sound file, just text long enough to look like one";
  std::ofstream(File("empty.wav"));
  {
    // A RIFF/WAVE file with a five-channel format: readable, not supported.
    TestWav five = TestWav::Make(48000, 5, SF_FORMAT_FLOAT, 100);
    ASSERT_TRUE(five.Save(File("five.wav")));
  }
  // An existing output must survive a failed render untouched.
  std::ofstream(File("out.wav")) << "previous";
  const std::set<std::string> before = FilesPresent();

  const std::vector<std::pair<std::string, std::string>> cases = {
      {"cut.wav", "is truncated"},        {"header.wav", "is damaged"},   {"text.wav", "is not a WAV file"},
      {"empty.wav", "is not a WAV file"}, {"five.wav", "has 5 channels"}, {"missing.wav", "cannot be opened"},
  };
  for (const auto& c : cases)
  {
    const int status = Render({"--in", File(c.first), "--out", File("out.wav")});
    EXPECT_NE(status, 0) << c.first;
    EXPECT_NE(status, 2) << c.first;
    EXPECT_NE(Output().find(c.second), std::string::npos) << c.first << ":\n" << Output();
    EXPECT_EQ(FilesPresent(), before) << c.first;
  }
  std::ifstream previous(File("out.wav"));
  std::string text;
  previous >> text;
  EXPECT_EQ(text, "previous");
}

TEST_F(RenderCommandTest, BypassReproducesEveryInputFormatExactly)
{
  struct Case
  {
    int subtype;
    int channels;
    const char* format;
  };
  for (const Case& c :
       {Case{SF_FORMAT_PCM_16, 2, "pcm16"}, Case{SF_FORMAT_PCM_16, 1, "pcm16"}, Case{SF_FORMAT_PCM_24, 2, "pcm24"},
        Case{SF_FORMAT_PCM_24, 1, "pcm24"}, Case{SF_FORMAT_FLOAT, 2, "float"}, Case{SF_FORMAT_FLOAT, 1, "float"}})
  {
    SCOPED_TRACE(std::string(c.format) + (c.channels == 1 ? " mono" : " stereo"));
    const TestWav wav = TestWav::Make(44100, c.channels, c.subtype, 3000, 0.9);
    const std::string in = Input("in.wav", wav);
    const TestWav out = RenderToWav(in, "out.wav", {"--set", "Bypas=1", "--format", c.format});
    EXPECT_EQ(out.rate, 44100);
    EXPECT_EQ(out.channels, c.channels);
    EXPECT_EQ(out.subtype, c.subtype);
    EXPECT_EQ(out.samples, wav.samples);
    // Without --format the output is 32-bit float, still the same samples.
    const TestWav asFloat = RenderToWav(in, "float.wav", {"--set", "Bypas=1"});
    EXPECT_EQ(asFloat.subtype, SF_FORMAT_FLOAT);
    EXPECT_EQ(asFloat.samples, wav.samples);
  }
}

TEST_F(RenderCommandTest, PcmOutputIsRoundedAndClipped)
{
  TestWav loud;
  loud.rate = 48000;
  loud.channels = 1;
  loud.subtype = SF_FORMAT_FLOAT;
  loud.samples = {2.0f, -2.0f, 1.0f, -1.0f, 0.5f / 32768.0f * 3.0f, 0.25f / 32768.0f, -0.75f / 32768.0f};
  const std::string in = Input("loud.wav", loud);
  const TestWav out = RenderToWav(in, "out.wav", {"--set", "Bypas=1", "--format", "pcm16"});
  const std::vector<float> expected = {32767.0f / 32768.0f, -1.0f, 32767.0f / 32768.0f, -1.0f,
                                       2.0f / 32768.0f,     0.0f,  -1.0f / 32768.0f};
  EXPECT_EQ(out.samples, expected);
}

TEST_F(RenderCommandTest, PhaseNegatesTheProcessedSignal)
{
  for (int channels : {1, 2})
  {
    SCOPED_TRACE(channels);
    const std::string in = Input("in.wav", TestWav::Make(48000, channels, SF_FORMAT_PCM_24, 6000));
    const TestWav normal = RenderToWav(in, "normal.wav", {"--set", "Level=14", "--set", "Mode=1"});
    const TestWav inverted =
        RenderToWav(in, "inverted.wav", {"--set", "Level=14", "--set", "Mode=1", "--set", "Phase=1"});
    ASSERT_EQ(normal.samples.size(), inverted.samples.size());
    size_t nonZero = 0;
    for (size_t i = 0; i < normal.samples.size(); ++i)
    {
      EXPECT_EQ(inverted.samples[i], -normal.samples[i]) << i;
      nonZero += normal.samples[i] != 0.0f;
    }
    EXPECT_GT(nonZero, normal.samples.size() / 2);
  }
}

TEST_F(RenderCommandTest, ListPositionsTakeTheirNamesInAnyCaseOrTheirNumbers)
{
  const std::string in = Input("in.wav", TestWav::Make(48000, 2, SF_FORMAT_FLOAT, 3000));
  int n = 0;
  auto render = [&](const char* quality) {
    return RenderToWav(in, "out" + std::to_string(n++) + ".wav", {"--set", "Level=12", "--set", quality}).samples;
  };
  const auto standard = render("Quality=Standard"), high = render("Quality=high"), ultra = render("Quality=ULTRA");
  EXPECT_EQ(high, render("Quality=1"));
  EXPECT_EQ(ultra, render("Quality=2"));
  EXPECT_EQ(standard, render("Quality=0"));
  // Each position renders its own path.
  EXPECT_NE(standard, high);
  EXPECT_NE(high, ultra);
}

TEST_F(RenderCommandTest, BlockSizeDoesNotChangeTheResult)
{
  const std::string in = Input("in.wav", TestWav::Make(44100, 2, SF_FORMAT_FLOAT, 9000));
  const std::vector<std::string> settings = {"--set", "Level=20", "--set", "Gain=0", "--set", "Output=-3.25"};
  auto with = [&](const char* block)
  {
    std::vector<std::string> args = settings;
    args.insert(args.end(), {"--block", block});
    return RenderToWav(in, std::string("out") + block + ".wav", args).samples;
  };
  const std::vector<float> reference = with("512");
  ASSERT_EQ(reference.size(), 18000u);
  EXPECT_EQ(with("1"), reference);
  EXPECT_EQ(with("64"), reference);
  EXPECT_EQ(with("37"), reference);
  EXPECT_EQ(with("65536"), reference);
}

TEST_F(RenderCommandTest, MonoRendersLikeTheLeftChannelOfStereoWithSilentRight)
{
  const TestWav mono = TestWav::Make(48000, 1, SF_FORMAT_FLOAT, 7000);
  TestWav stereo = mono;
  stereo.channels = 2;
  stereo.samples.clear();
  for (float v : mono.samples) stereo.samples.insert(stereo.samples.end(), {v, 0.0f});
  const TestWav monoOut = RenderToWav(Input("mono.wav", mono), "mono-out.wav", {"--set", "Level=10"});
  const TestWav stereoOut = RenderToWav(Input("stereo.wav", stereo), "stereo-out.wav", {"--set", "Level=10"});
  ASSERT_EQ(monoOut.channels, 1);
  ASSERT_EQ(monoOut.Frames(), stereoOut.Frames());
  for (size_t i = 0; i < monoOut.Frames(); ++i) ASSERT_EQ(monoOut.At(i, 0), stereoOut.At(i, 0)) << i;
}

TEST_F(RenderCommandTest, DefaultsGiveTheEffectsSmallSignalGain)
{
  // A small 1 kHz sine at 44.1 kHz settles about 1.6 dB louder at the defaults;
  // Output=-6 takes 6 dB off that.
  TestWav sine;
  sine.rate = 44100;
  sine.channels = 2;
  sine.subtype = SF_FORMAT_FLOAT;
  for (int i = 0; i < 44100; ++i)
  {
    const float v = static_cast<float>(0.001 * std::sin(2.0 * 3.141592653589793 * 1000.0 * i / 44100.0));
    sine.samples.insert(sine.samples.end(), {v, v});
  }
  const std::string in = Input("sine.wav", sine);
  const TestWav plain = RenderToWav(in, "plain.wav", {});
  const TestWav quieter = RenderToWav(in, "quieter.wav", {"--set", "Output=-6"});
  for (int c = 0; c < 2; ++c)
  {
    const double gain = 20.0 * std::log10(Rms(plain, 22050, 44100, c) / Rms(sine, 22050, 44100, c));
    EXPECT_NEAR(gain, 1.6, 0.15) << c;
    const double drop = 20.0 * std::log10(Rms(quieter, 22050, 44100, c) / Rms(plain, 22050, 44100, c));
    EXPECT_NEAR(drop, -6.0, 1e-6) << c;
  }
}

TEST_F(RenderCommandTest, DemoSignalRendersWithoutInput)
{
  const std::string out = File("demo.wav");
  ASSERT_EQ(Render({"--out", out}), 0) << Output();
  const TestWav demo = Load(out);
  EXPECT_EQ(demo.rate, 48000);
  EXPECT_EQ(demo.channels, 2);
  EXPECT_EQ(demo.subtype, SF_FORMAT_FLOAT);
  EXPECT_EQ(demo.Frames(), 6u * 48000u);
  double peak = 0.0;
  for (float v : demo.samples)
  {
    ASSERT_TRUE(std::isfinite(v));
    peak = std::fmax(peak, std::fabs(v));
  }
  EXPECT_GT(peak, 0.05);
  EXPECT_GT(Rms(demo, 48000, 96000, 0), 0.01);    // the chord
  EXPECT_GT(Rms(demo, 200000, 280000, 0), 0.01);  // the sweep
  EXPECT_EQ(Errors().find("%"), std::string::npos) << "no progress for a short render";

  ASSERT_EQ(Render({"--out", out, "--rate", "96000", "--format", "pcm24", "--set", "Mode=1"}), 0) << Output();
  const TestWav fast = Load(out);
  EXPECT_EQ(fast.rate, 96000);
  EXPECT_EQ(fast.subtype, SF_FORMAT_PCM_24);
  EXPECT_EQ(fast.Frames(), 6u * 96000u);
  EXPECT_EQ(FilesPresent(), std::set<std::string>{"demo.wav"});
}

TEST_F(RenderCommandTest, LoadsTheModuleGivenWithPlugin)
{
  const std::string in = Input("in.wav", TestWav::Make(48000, 2, SF_FORMAT_PCM_16, 4000));
  const TestWav byDefault = RenderToWav(in, "default.wav", {"--set", "Level=3"});
  const std::string module = RenderProcess::HostPath(MERO_MODULE);
  const TestWav given = RenderToWav(in, "given.wav", {"--set", "Level=3", "--plugin", module});
  EXPECT_EQ(given.samples, byDefault.samples);
#ifndef _WIN32
  // The Linux module is a bundle folder; a trailing slash names it too.
  EXPECT_EQ(RenderToWav(in, "given.wav", {"--set", "Level=3", "--plugin", module + "/"}).samples, byDefault.samples);
#endif

  for (const std::string& bad : {File("nothing-here.vst3"), in})
  {
    EXPECT_EQ(Render({"--in", in, "--out", File("bad.wav"), "--plugin", bad}), 1) << bad;
    EXPECT_NE(Output().find("cannot load the plug-in module"), std::string::npos) << Output();
  }
  EXPECT_EQ(FilesPresent(), (std::set<std::string>{"in.wav", "default.wav", "given.wav"}));
}

TEST_F(RenderCommandTest, LongInputShowsProgress)
{
  const std::string in = Input("long.wav", TestWav::Make(8000, 1, SF_FORMAT_PCM_16, 8000 * 12));
  ASSERT_EQ(Render({"--in", in, "--out", File("out.wav")}), 0) << Output();
  EXPECT_NE(Errors().find("100%"), std::string::npos) << Errors();
}

}  // namespace
