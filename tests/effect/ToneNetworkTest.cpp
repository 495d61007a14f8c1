#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "LiteralToneNetwork.h"
#include "ReferenceModel.h"
#include "TestSignals.h"
#include "ToneNetwork.h"

using TestSignals::Bits;

namespace
{
double Db(double gain)
{
  return 20.0 * std::log10(std::fabs(gain));
}

// A network at rate f whose p and q have glided to 1 - bassPos and treblePos.
ToneNetwork Settled(double f, double bassPos, double treblePos)
{
  ToneNetwork t;
  t.SetRate(f);
  for (int i = 0; i < 20000; ++i) t.Process(0.0, bassPos, treblePos);
  return t;
}

ReferenceModel::Coefficients ProductCoefficients(const ToneNetwork& t)
{
  ReferenceModel::Coefficients c;
  for (int k = 0; k < 5; ++k)
  {
    c.a.push_back(t.Coefficient(k));
    c.b.push_back(t.Coefficient(5 + k));
  }
  return c;
}

double SumWithSigns(const std::vector<double>& v, double sign)
{
  double s = 0.0;
  double w = 1.0;
  for (double x : v)
  {
    s += w * x;
    w *= sign;
  }
  return s;
}
}  // namespace

TEST(ToneNetworkRate, TruncatesAndClamps)
{
  ToneNetwork t;
  const double cases[][2] = {{44100.9, 44100.0}, {0.0, 1.0},           {-48000.0, 1.0},
                             {1.5, 1.0},         {200000.0, 192000.0}, {192000.0, 192000.0},
                             {96000.0, 96000.0}, {NAN, 1.0},           {1e300, 192000.0}};
  for (const auto& c : cases)
  {
    t.SetRate(c[0]);
    EXPECT_EQ(c[1], t.DesignRate()) << "rate " << c[0];
  }
}

// The product's own coefficients, settled at the control variables p = 1 - bassPos and
// q = treblePos: the DC gain sum(b) / sum(a) follows p alone.
TEST(ToneNetworkGains, DcGainDependsOnPOnly)
{
  const double cases[][3] = {{0.965, 0.045082, -26.920}, {0.912, 0.088525, -21.059}, {0.812, 0.170492, -15.366}};
  for (const auto& c : cases)
  {
    for (double q : {0.043, 0.22})
    {
      for (double f : {44100.0, 192000.0})
      {
        const ToneNetwork t = Settled(f, 1.0 - c[0], q);
        const ReferenceModel::Coefficients got = ProductCoefficients(t);
        const double dc = SumWithSigns(got.b, 1.0) / SumWithSigns(got.a, 1.0);
        EXPECT_NEAR(c[1], dc, 5e-7) << "p " << c[0] << " q " << q << " F " << f;
        EXPECT_NEAR(c[2], Db(dc), 5e-4) << "p " << c[0] << " q " << q << " F " << f;
      }
    }
  }
}

// The gain at half the sample rate, b(-1) / a(-1) of the product's coefficients,
// follows q alone.
TEST(ToneNetworkGains, HalfRateGainDependsOnQOnly)
{
  const double cases[][2] = {{0.043, -26.429}, {0.088, -21.060}, {0.145, -17.612}, {0.22, -14.909}};
  for (const auto& c : cases)
  {
    for (double p : {0.3, 0.912})
    {
      for (double f : {44100.0, 96000.0})
      {
        const ToneNetwork t = Settled(f, 1.0 - p, c[0]);
        const ReferenceModel::Coefficients got = ProductCoefficients(t);
        const double nyquist = SumWithSigns(got.b, -1.0) / SumWithSigns(got.a, -1.0);
        EXPECT_NEAR(c[1], Db(nyquist), 5e-4) << "q " << c[0] << " p " << p << " F " << f;
      }
    }
  }
}

TEST(ToneNetworkGains, ProductCoefficientsAgreeWithTermByTermEvaluation)
{
  for (double f : {1.0, 44100.0, 96000.0, 192000.0})
  {
    for (double bass : {0.035, 0.188, 0.5})
    {
      const ToneNetwork t = Settled(f, bass, 0.22 / 0.9);
      const ReferenceModel::Coefficients ref = ReferenceModel::Tone(t.P(), t.Q(), f);
      const ReferenceModel::Coefficients got = ProductCoefficients(t);
      for (int k = 0; k < 5; ++k)
      {
        // Terms cancel within a coefficient, so compare against the size of a0.
        EXPECT_NEAR(ref.a[k], got.a[k], 1e-12 * std::fabs(ref.a[0])) << "f " << f << " a" << k;
        EXPECT_NEAR(ref.b[k], got.b[k], 1e-12 * std::fabs(ref.a[0])) << "f " << f << " b" << k;
      }
    }
  }
}

TEST(ToneNetworkResponse, MiddlePositionsAreFlatAcrossTheAudioBand)
{
  const ToneNetwork t = Settled(44100.0, 0.088, 0.088);
  EXPECT_NEAR(0.912, t.P(), 1e-12);
  EXPECT_NEAR(0.088, t.Q(), 1e-12);
  const ReferenceModel::Coefficients c = ProductCoefficients(t);
  double lo = 1e9;
  double hi = -1e9;
  for (double hz = 20.0; hz <= 20000.0; hz *= 1.01)
  {
    const double db = ReferenceModel::MagnitudeDb(c, hz, 44100.0);
    lo = std::fmin(lo, db);
    hi = std::fmax(hi, db);
  }
  EXPECT_GE(lo, -21.060 - 5e-4);
  EXPECT_LE(hi, -20.845 + 5e-4);
  EXPECT_LT(hi - lo, 0.25);
}

TEST(ToneNetworkResponse, LowestPositionsAtListedFrequencies)
{
  const ToneNetwork t = Settled(44100.0, 0.035, 0.043);
  const ReferenceModel::Coefficients ref = ReferenceModel::Tone(0.965, 0.043, 44100.0);
  const ReferenceModel::Coefficients got = ProductCoefficients(t);
  const double cases[][2] = {{20.0, -26.752}, {100.0, -24.430}, {1000.0, -22.194}, {10000.0, -26.283}};
  for (const auto& c : cases)
  {
    EXPECT_NEAR(c[1], ReferenceModel::MagnitudeDb(ref, c[0], 44100.0), 5e-4) << c[0] << " Hz";
    EXPECT_NEAR(c[1], ReferenceModel::MagnitudeDb(got, c[0], 44100.0), 5e-4) << c[0] << " Hz";
  }
}

TEST(ToneNetworkProcess, SineComesOutAtTheDesignedGain)
{
  ToneNetwork t = Settled(44100.0, 0.035, 0.043);
  const std::vector<double> in = TestSignals::Sine(44100, 0.1, 1000.0, 44100.0);
  std::vector<double> out;
  for (double x : in) out.push_back(t.Process(x, 0.035, 0.043));
  EXPECT_NEAR(-22.194, Db(TestSignals::Peak(out, 22050) / 0.1), 0.002);
}

TEST(ToneNetworkProcess, ControlsGlideWithTheDocumentedStep)
{
  ToneNetwork t;
  t.SetRate(48000.0);
  t.Process(0.0, 0.2, 0.1);
  const double k = 1.0 - 0.993;
  EXPECT_EQ(0.007000000000000006, k);
  EXPECT_EQ((1.0 - 0.2) * k, t.P());
  EXPECT_EQ(0.1 * k, t.Q());
  const double p = t.P();
  t.Process(0.0, 0.2, 0.1);
  EXPECT_EQ((1.0 - 0.2) * k + p * 0.993, t.P());
}

namespace
{
// Steps for the bit-exact comparisons: noise, silence long enough for the smoothed
// controls to settle exactly, then one control changed while the input stays silent
// before the noise resumes, for the treble and for the bass, and zeros of both signs.
struct ToneStep
{
  double x, bass, treble;
};

std::vector<ToneStep> ControlChangesInSilence()
{
  std::vector<ToneStep> steps;
  auto append = [&steps](const std::vector<double>& x, double bass, double treble)
  {
    for (double v : x) steps.push_back({v, bass, treble});
  };
  const std::vector<double> silence(20000, 0.0);
  append(TestSignals::Noise(3000, 0.7, 51), 0.088, 0.088);
  append(silence, 0.088, 0.088);
  append(std::vector<double>(50, 0.0), 0.088, 0.22);
  append(TestSignals::Noise(3000, 0.7, 52), 0.088, 0.22);
  append(silence, 0.088, 0.22);
  append(std::vector<double>(50, -0.0), 0.188, 0.22);
  append(TestSignals::Noise(3000, 0.7, 53), 0.188, 0.22);
  append(silence, 0.035 / 0.9, 0.043 / 0.9);
  append(TestSignals::Noise(1000, 0.7, 54), 0.035 / 0.9, 0.043 / 0.9);
  return steps;
}
}  // namespace

// Process and ProcessPair take shortcuts while nothing changes; every output and the
// controls must stay those of the network written out step by step, through rate
// changes and control changes made while the input is silent.
TEST(ToneNetworkProcess, MatchesTheLiteralStepBitForBit)
{
  const std::vector<ToneStep> steps = ControlChangesInSilence();
  const double rates[] = {44100.0, 96000.0};

  ToneNetwork single;
  LiteralToneNetwork singleRef;
  int mismatches = 0;
  for (size_t i = 0; i < steps.size(); ++i)
  {
    // A new rate only every 25000 steps, as the effect designs only when it changes.
    if (i % 25000 == 0)
    {
      single.SetRate(rates[(i / 25000) % 2]);
      singleRef.SetRate(rates[(i / 25000) % 2]);
    }
    const ToneStep& s = steps[i];
    mismatches += Bits(single.Process(s.x, s.bass, s.treble)) != Bits(singleRef.Process(s.x, s.bass, s.treble));
  }
  EXPECT_EQ(0, mismatches) << "Process";
  EXPECT_EQ(Bits(singleRef.P()), Bits(single.P()));
  EXPECT_EQ(Bits(singleRef.Q()), Bits(single.Q()));

  // A pair in runs of varying length; the right network lags the left by one step.
  ToneNetwork left;
  ToneNetwork right;
  LiteralToneNetwork leftRef;
  LiteralToneNetwork rightRef;
  left.SetRate(48000.0);
  right.SetRate(48000.0);
  leftRef.SetRate(48000.0);
  rightRef.SetRate(48000.0);
  mismatches = 0;
  const int runs[] = {64, 1, 37, 64, 500};
  size_t at = 1;
  for (int r = 0; at < steps.size(); ++r)
  {
    const int n = static_cast<int>(std::min<size_t>(runs[r % 5], steps.size() - at));
    std::vector<double> x[2], bass[2], treble[2], y[2];
    for (int c = 0; c < 2; ++c)
    {
      for (int i = 0; i < n; ++i)
      {
        const ToneStep& s = steps[at + i - c];
        x[c].push_back(s.x);
        bass[c].push_back(s.bass);
        treble[c].push_back(s.treble);
      }
      y[c].resize(n);
    }
    ToneNetwork::ProcessPair(left, right, x[0].data(), x[1].data(), bass[0].data(), bass[1].data(), treble[0].data(),
                             treble[1].data(), y[0].data(), y[1].data(), n);
    for (int i = 0; i < n; ++i)
    {
      mismatches += Bits(y[0][i]) != Bits(leftRef.Process(x[0][i], bass[0][i], treble[0][i]));
      mismatches += Bits(y[1][i]) != Bits(rightRef.Process(x[1][i], bass[1][i], treble[1][i]));
    }
    at += n;
  }
  EXPECT_EQ(0, mismatches) << "ProcessPair";
}
