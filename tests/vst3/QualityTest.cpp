// "Quality" through the module: the aliases of driven sines, the sound in the audible
// band against Standard, and the output exactly the reported latency late, bypassed and
// not. The figures are printed as the measurements behind the thresholds.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "PluginHarness.h"
#include "LineSpectra.h"
#include "TestSignals.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr ParamID kLevel = 0, kBypas = 8, kQuality = 9, kHostBypass = 0x62706173;
constexpr int kFftSize = 65536;
const char* const kQualityNames[3] = {"Standard", "High", "Ultra"};

using Settings = std::vector<std::pair<ParamID, ParamValue>>;

struct Rendered
{
  std::vector<double> left;
  uint32 latency = 0;
};

// A fresh instance at the rate, with the normalised settings, 64-bit, in blocks of 512;
// the host's bypass from the first block when asked.
Rendered Render(double rate, const Settings& settings, const std::vector<double>& input, bool hostBypass = false)
{
  PluginHarness harness;
  EXPECT_TRUE(harness.Prepare(2, rate, 512, kSample64));
  for (const auto& s : settings) harness.plugin.Controller()->setParamNormalized(s.first, s.second);
  if (hostBypass) harness.plugin.QueueParameter(kHostBypass, 1.0, 0);
  Rendered r;
  r.latency = harness.plugin.Processor()->getLatencySamples();
  r.left = harness.Run(PluginHarness::Signal64{input, input}, {512})[0];
  return r;
}

Settings Driven(int quality, int level)
{
  return {{kQuality, quality / 2.0}, {kLevel, level / 20.0}};
}

// The steady part of a render: kFftSize frames after the first settle frames.
std::vector<double> Steady(const std::vector<double>& v, size_t settle)
{
  return std::vector<double>(v.begin() + settle, v.begin() + settle + kFftSize);
}

// The odd bin nearest hz, so that no alias lands on a harmonic's bin.
size_t BinNear(double hz, double rate)
{
  const size_t bin = static_cast<size_t>(std::lround(hz * kFftSize / rate));
  return bin | 1;
}

// The lag in 0 ... maxLag at which out correlates best with ref.
int PeakLag(const std::vector<double>& out, const std::vector<double>& ref, int maxLag)
{
  int best = -1;
  double bestSum = 0.0;
  for (int lag = 0; lag <= maxLag; ++lag)
  {
    double sum = 0.0;
    for (size_t i = 0; i + lag < out.size(); ++i) sum += out[i + lag] * ref[i];
    if (best < 0 || sum > bestSum) best = lag, bestSum = sum;
  }
  return best;
}
}  // namespace

// Sines of 0.5 at Level 10 and 20, 0.5 s to settle, then a Blackman-windowed FFT of
// kFftSize frames: the strongest line that is no harmonic. The targets are -90 dBc for
// High and -110 dBc for Ultra; the thresholds sit 3 dB inside them.
TEST(Quality, DrivenSinesAliasFarBelowTheFundamental)
{
  std::printf("rate  sine  level  worst alias dBc: Standard / High / Ultra\n");
  for (double rate : {44100.0, 48000.0})
    for (double hz : {3000.0, 5000.0, 9000.0})
      for (int level : {10, 20})
      {
        const size_t bin = BinNear(hz, rate), settle = static_cast<size_t>(rate / 2);
        const std::vector<double> sine =
            TestSignals::Sine(static_cast<int>(settle) + kFftSize, 0.5, bin * rate / kFftSize, rate);
        double dbc[3];
        for (int q = 0; q < 3; ++q)
          dbc[q] = LineSpectra::WorstNonHarmonicDbc(
              LineSpectra::Magnitudes(Steady(Render(rate, Driven(q, level), sine).left, settle)), bin);
        std::printf("%5.0f %5.0f  %2d   %7.1f / %7.1f / %7.1f\n", rate, hz, level, dbc[0], dbc[1], dbc[2]);
        EXPECT_LE(dbc[1], -93.0) << rate << " Hz, " << hz << " Hz sine, Level " << level;
        EXPECT_LE(dbc[2], -113.0) << rate << " Hz, " << hz << " Hz sine, Level " << level;
      }
}

// Level 0: the magnitude response (of a small impulse) of High and Ultra against
// Standard's, targets within 0.2 dB to 15 kHz and 0.5 dB to 18 kHz. Level 10 and 20: the
// fundamental and harmonics 2 to 5 of low and middle sines, where above -80 dBc, target
// within 0.5 dB of Standard's. The thresholds are half the targets.
TEST(Quality, HighAndUltraSoundAsStandardInTheAudibleBand)
{
  const double rate = 44100.0;
  const size_t settle = 22050;
  std::vector<double> impulse(settle + kFftSize, 0.0);
  impulse[settle] = 1e-3;
  std::vector<double> response[3];
  for (int q = 0; q < 3; ++q)
    response[q] = LineSpectra::Magnitudes(Steady(Render(rate, Driven(q, 0), impulse).left, settle), false);
  for (int q = 1; q < 3; ++q)
  {
    double to15k = 0.0, to18k = 0.0;
    for (size_t k = 1; k < response[0].size(); ++k)
    {
      const double hz = k * rate / kFftSize;
      if (hz < 20.0 || hz > 18000.0) continue;
      const double deviation = std::fabs(LineSpectra::Decibels(response[q][k] / response[0][k]));
      to18k = std::fmax(to18k, deviation);
      if (hz <= 15000.0) to15k = std::fmax(to15k, deviation);
    }
    std::printf("%s at Level 0: within %.4f dB of Standard to 15 kHz, %.4f dB to 18 kHz\n", kQualityNames[q], to15k,
                to18k);
    EXPECT_LE(to15k, 0.1) << kQualityNames[q];
    EXPECT_LE(to18k, 0.25) << kQualityNames[q];
  }

  for (double hz : {100.0, 500.0, 2000.0})
    for (int level : {10, 20})
    {
      const size_t bin = BinNear(hz, rate);
      const std::vector<double> sine =
          TestSignals::Sine(static_cast<int>(settle) + kFftSize, 0.5, bin * rate / kFftSize, rate);
      std::vector<double> spectrum[3];
      for (int q = 0; q < 3; ++q)
        spectrum[q] = LineSpectra::Magnitudes(Steady(Render(rate, Driven(q, level), sine).left, settle));
      double worst = 0.0;
      for (int q = 1; q < 3; ++q)
        for (size_t h = 1; h <= 5; ++h)
        {
          const double standard = spectrum[0][h * bin];
          if (LineSpectra::Decibels(standard / spectrum[0][bin]) < -80.0) continue;
          worst = std::fmax(worst, std::fabs(LineSpectra::Decibels(spectrum[q][h * bin] / standard)));
        }
      std::printf("%4.0f Hz sine, Level %d: harmonics 1 to 5 within %.4f dB of Standard\n", hz, level, worst);
      EXPECT_LE(worst, 0.25) << hz << " Hz, Level " << level;
    }
}

// An impulse and a 1 kHz burst: processed, the output correlates best with Standard's
// output delayed by the reported latency; bypassed by "Bypas" or by the host, it is the
// input delayed by exactly that many samples.
TEST(Quality, OutputIsExactlyTheReportedLatencyLateBypassedAndNot)
{
  const double rate = 44100.0;
  std::vector<double> input(16000, 0.0);
  input[3000] = 0.5;
  const double pi = 3.14159265358979323846;
  for (int i = 0; i < 882; ++i)
    input[8000 + i] = 0.4 * std::sin(2 * pi * 1000.0 * i / rate) * (0.5 - 0.5 * std::cos(2 * pi * i / 882));
  const std::vector<double> standard = Render(rate, Driven(0, 6), input).left;
  const uint32 expected[3] = {0, 73, 75};
  for (int q = 0; q < 3; ++q)
  {
    SCOPED_TRACE(kQualityNames[q]);
    const Rendered processed = Render(rate, Driven(q, 6), input);
    EXPECT_EQ(expected[q], processed.latency);
    EXPECT_EQ(static_cast<int>(processed.latency), PeakLag(processed.left, standard, 200));

    const Rendered bypas = Render(rate, {{kQuality, q / 2.0}, {kBypas, 1.0}}, input);
    const Rendered host = Render(rate, {{kQuality, q / 2.0}}, input, true);
    for (const Rendered* bypassed : {&bypas, &host})
    {
      EXPECT_EQ(static_cast<int>(processed.latency), PeakLag(bypassed->left, input, 200));
      int unequal = 0;
      for (size_t i = 0; i < input.size(); ++i)
        unequal += bypassed->left[i] != (i >= processed.latency ? input[i - processed.latency] : 0.0);
      EXPECT_EQ(0, unequal);
    }
  }
}
