#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "EffectHarness.h"
#include "LiteralMERO.h"
#include "MERO.h"
#include "TestSignals.h"

using TestSignals::Bits;
using Stereo = EffectHarness::Stereo;

namespace
{
// One stretch of a render: settings applied before it, then its input in blocks.
struct Segment
{
  std::vector<std::pair<int, double>> settings;
  double sampleRate;
  int blockSize;
  Stereo input;
};

struct Comparison
{
  int samples = 0;
  int mismatches = 0;
  int firstMismatch = -1;
  double largestDifference = 0.0;
  double peak = 0.0;
  // Segments after which a band-pass history of the product held a subnormal value.
  int subnormalStates = 0;
};

class ProductProbe : public MERO
{
public:
  bool HasSubnormalBandPass() const
  {
    for (const ShaperStage& s : {mCurveA[0], mCurveA[1], mCurveB[0], mCurveB[1]})
      if (std::fpclassify(s.YHistory(0)) == FP_SUBNORMAL) return true;
    return false;
  }
};

Comparison RenderBoth(const std::vector<Segment>& segments)
{
  ProductProbe product;
  LiteralMERO oracle;
  EffectHarness::Initialise(product, 44100.0);
  EffectHarness::Initialise(oracle, 44100.0);
  Comparison c;
  for (const Segment& s : segments)
  {
    for (IPlugBase* plug : {static_cast<IPlugBase*>(&product), static_cast<IPlugBase*>(&oracle)})
    {
      for (const auto& setting : s.settings) EffectHarness::Set(*plug, setting.first, setting.second);
      plug->SetSampleRate(s.sampleRate);
    }
    const Stereo a = EffectHarness::Render(product, s.input, s.blockSize);
    const Stereo b = EffectHarness::Render(oracle, s.input, s.blockSize);
    for (size_t i = 0; i < a.left.size(); ++i)
    {
      for (const auto& pair : {std::make_pair(a.left[i], b.left[i]), std::make_pair(a.right[i], b.right[i])})
      {
        c.largestDifference = std::fmax(c.largestDifference, std::fabs(pair.first - pair.second));
        c.peak = std::fmax(c.peak, std::fabs(pair.second));
        if (Bits(pair.first) != Bits(pair.second))
        {
          if (c.firstMismatch < 0) c.firstMismatch = c.samples;
          ++c.mismatches;
        }
      }
      ++c.samples;
    }
    c.subnormalStates += product.HasSubnormalBandPass();
  }
  return c;
}

Stereo Noise(int n, double amplitude, unsigned seed)
{
  return {TestSignals::Noise(n, amplitude, seed), TestSignals::Noise(n, amplitude, seed + 100)};
}

Stereo Silence(int n)
{
  return {std::vector<double>(n, 0.0), std::vector<double>(n, 0.0)};
}

Stereo Mono(int n, double amplitude, unsigned seed)
{
  return {TestSignals::Noise(n, amplitude, seed), std::vector<double>(n, 0.0)};
}

void ExpectIdentical(const Comparison& c)
{
  EXPECT_EQ(0, c.mismatches) << "first mismatch at frame " << c.firstMismatch << " of " << c.samples;
}
}  // namespace

TEST(OracleEquality, ParameterChangesBetweenBlocksAndBothModes)
{
  std::vector<Segment> s;
  s.push_back({{}, 44100.0, 512, Noise(20000, 0.5, 1)});
  s.push_back({{{MERO::kLevel, 20}, {MERO::kGain, 0}}, 44100.0, 64, Noise(8000, 0.9, 2)});
  s.push_back({{{MERO::kMode, 1}, {MERO::kHigh, 3}, {MERO::kLow, 0}}, 44100.0, 1, Noise(3000, 0.5, 3)});
  s.push_back({{{MERO::kPad, 1}, {MERO::kOutput, 7.25}}, 44100.0, 333, Noise(15000, 0.7, 4)});
  s.push_back({{{MERO::kMode, 0}, {MERO::kLevel, 0}, {MERO::kGain, 1}}, 44100.0, 4096, Noise(20000, 0.2, 5)});
  // The treble alone moves, first while the input is silent and the controls have settled.
  s.push_back({{}, 44100.0, 512, Silence(20000)});
  s.push_back({{{MERO::kHigh, 2}}, 44100.0, 256, Silence(2000)});
  s.push_back({{}, 44100.0, 256, Noise(6000, 0.5, 8)});
  s.push_back({{{MERO::kHigh, 0}, {MERO::kLow, 2}, {MERO::kOutput, -96.0}}, 44100.0, 100, Noise(6000, 0.6, 6)});
  s.push_back({{{MERO::kOutput, 12.0}, {MERO::kMode, 1}, {MERO::kLevel, 11}}, 44100.0, 7, Noise(7000, 0.4, 7)});
  const Comparison c = RenderBoth(s);
  EXPECT_EQ(107000, c.samples);
  ExpectIdentical(c);
}

TEST(OracleEquality, SampleRateChangesStartFromRest)
{
  std::vector<Segment> s;
  s.push_back({{{MERO::kLevel, 14}}, 44100.0, 256, Noise(10000, 0.5, 11)});
  s.push_back({{}, 96000.0, 256, Noise(10000, 0.5, 12)});
  s.push_back({{{MERO::kMode, 1}}, 48000.0, 480, Noise(10000, 0.5, 13)});
  s.push_back({{}, 44100.9, 1000, Noise(5000, 0.5, 14)});
  s.push_back({{}, 200000.0, 512, Noise(5000, 0.5, 15)});
  ExpectIdentical(RenderBoth(s));
}

TEST(OracleEquality, PhaseBypasAndMono)
{
  std::vector<Segment> s;
  s.push_back({{{MERO::kPhase, 1}}, 48000.0, 512, Noise(10000, 0.5, 21)});
  s.push_back({{{MERO::kBypas, 1}}, 48000.0, 128, Noise(5000, 0.5, 22)});
  s.push_back({{{MERO::kBypas, 0}, {MERO::kPhase, 0}}, 48000.0, 128, Mono(10000, 0.5, 23)});
  s.push_back({{{MERO::kMode, 1}, {MERO::kPhase, 1}}, 48000.0, 64, Mono(10000, 0.5, 24)});
  ExpectIdentical(RenderBoth(s));
}

TEST(OracleEquality, SilenceDecaysThroughSubnormals)
{
  // Silence from construction on (with Phase, whose negation gives -0), then silence
  // after loud passages in each mode.
  std::vector<Segment> s;
  s.push_back({{}, 44100.0, 512, Silence(30000)});
  s.push_back({{{MERO::kPhase, 1}}, 44100.0, 64, Silence(5000)});
  s.push_back({{{MERO::kPhase, 0}, {MERO::kLevel, 20}, {MERO::kGain, 0}}, 44100.0, 512, Noise(4000, 1.0, 31)});
  s.push_back({{}, 44100.0, 512, Silence(300000)});
  s.push_back({{{MERO::kMode, 1}}, 44100.0, 512, Noise(2000, 1.0, 32)});
  s.push_back({{{MERO::kPhase, 1}}, 44100.0, 2048, Silence(300000)});
  const Comparison c = RenderBoth(s);
  ExpectIdentical(c);
  EXPECT_GE(c.subnormalStates, 2);
}

TEST(OracleEquality, LoudAndNonFiniteInput)
{
  Stereo loud = Noise(20000, 1e4, 41);
  Stereo edges = Noise(20000, 1.0, 42);
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(),
                        3.4e38,
                        -3.4e38,
                        1e-320,
                        1e308,
                        -1e308,
                        std::numeric_limits<double>::max(),
                        -std::numeric_limits<double>::max()};
  for (int i = 0; i < 10; ++i)
  {
    edges.left[1000 + 2000 * i] = bad[i];
    edges.right[1500 + 2000 * i] = bad[i];
  }
  std::vector<Segment> s;
  s.push_back({{{MERO::kLevel, 20}, {MERO::kGain, 0}}, 48000.0, 512, loud});
  s.push_back({{{MERO::kMode, 1}}, 48000.0, 512, loud});
  s.push_back({{}, 48000.0, 300, edges});
  s.push_back({{{MERO::kMode, 0}, {MERO::kBypas, 1}}, 48000.0, 300, edges});
  s.push_back({{{MERO::kBypas, 0}}, 48000.0, 100, edges});
  s.push_back({{{MERO::kLevel, 6}, {MERO::kGain, 1}}, 48000.0, 64, edges});
  const Comparison c = RenderBoth(s);
  ExpectIdentical(c);
}

// A quiet passage whose tail stays visible in 32-bit samples for many seconds: the
// product comes to rest only after the oracle's last nonzero 32-bit sample, and its
// 32-bit output equals the oracle's all the way. A rest level too high to be exact
// flushes while that tail still shows.
TEST(OracleEquality, QuietTailComesToRestOnlyOnceItCannotShowIn32Bits)
{
  const double rate = 22050.0;
  MERO product;
  LiteralMERO oracle;
  EffectHarness::Initialise(product, rate);
  EffectHarness::Initialise(oracle, rate);
  const Stereo burst = Noise(2205, 0x1p-124, 51);
  EffectHarness::Render(product, burst, 512);
  EffectHarness::Render(oracle, burst, 512);
  const Stereo second = Silence(static_cast<int>(rate));
  int lastVisibleSecond = -1, restSecond = -1, mismatches = 0;
  for (int s = 0; s < 600 && restSecond < 0; ++s)
  {
    const Stereo a = EffectHarness::Render(product, second, 512);
    const Stereo b = EffectHarness::Render(oracle, second, 512);
    for (size_t i = 0; i < a.left.size(); ++i)
    {
      const float l = static_cast<float>(b.left[i]), r = static_cast<float>(b.right[i]);
      if (l != 0.0f || r != 0.0f) lastVisibleSecond = s;
      mismatches += static_cast<float>(a.left[i]) != l;
      mismatches += static_cast<float>(a.right[i]) != r;
    }
    if (product.AtRest()) restSecond = s;
  }
  EXPECT_EQ(0, mismatches);
  EXPECT_GT(lastVisibleSecond, 10);
  EXPECT_GT(restSecond, lastVisibleSecond);
}

// High and Ultra against the literal oversampled chain: "Quality" set before the first
// block, then drive, mode, pad, Bypas (the delayed dry signal), phase and a rate change,
// in odd block sizes. The drive paths agree to about 1e-15 (OversamplerTest); the
// output network's recursion, with its poles close to z = 1, turns such differences in
// its input into differences about a thousand times larger.
TEST(OracleEquality, HighAndUltraMatchTheLiteralOversampledChainToRounding)
{
  for (int quality : {MERO::kHigh4x, MERO::kUltra8x})
  {
    std::vector<Segment> s;
    s.push_back(
        {{{MERO::kQuality, quality}, {MERO::kLevel, 20}, {MERO::kGain, 0}}, 44100.0, 512, Noise(8000, 0.5, 61)});
    s.push_back({{{MERO::kMode, 1}, {MERO::kPad, 1}}, 44100.0, 37, Noise(4000, 0.7, 62)});
    s.push_back({{{MERO::kBypas, 1}}, 44100.0, 100, Noise(2000, 0.5, 63)});
    s.push_back({{{MERO::kBypas, 0}, {MERO::kPhase, 1}, {MERO::kLevel, 9}}, 48000.0, 64, Noise(4000, 0.5, 64)});
    const Comparison c = RenderBoth(s);
    EXPECT_GT(c.peak, 0.1) << quality;
    EXPECT_LE(c.largestDifference, 1e-10 * c.peak) << quality;
  }
}
