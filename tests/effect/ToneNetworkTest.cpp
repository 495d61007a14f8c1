#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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
  for (int i = 0; i < 20000; ++i)
    t.Process(0.0, bassPos, treblePos);
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
} // namespace

TEST(ToneNetworkRate, TruncatesAndClamps)
{
  ToneNetwork t;
  const double cases[][2] = {{44100.9, 44100.0}, {0.0, 1.0}, {-48000.0, 1.0}, {1.5, 1.0},
                             {200000.0, 192000.0}, {192000.0, 192000.0}, {96000.0, 96000.0},
                             {NAN, 1.0}, {1e300, 192000.0}};
  for (const auto& c : cases)
  {
    t.SetRate(c[0]);
    EXPECT_EQ(c[1], t.DesignRate()) << "rate " << c[0];
  }
}

TEST(ToneNetworkGains, DcGainDependsOnPOnly)
{
  const double cases[][3] = {{0.965, 0.045082, -26.920}, {0.912, 0.088525, -21.059}, {0.812, 0.170492, -15.366}};
  for (const auto& c : cases)
  {
    for (double q : {0.043, 0.22})
    {
      for (double f : {44100.0, 192000.0})
      {
        const ReferenceModel::Coefficients ref = ReferenceModel::Tone(c[0], q, f);
        const double dc = SumWithSigns(ref.b, 1.0) / SumWithSigns(ref.a, 1.0);
        EXPECT_NEAR(c[1], dc, 5e-7) << "p " << c[0];
        EXPECT_NEAR(c[2], Db(dc), 5e-4) << "p " << c[0];
      }
    }
  }
}

TEST(ToneNetworkGains, HalfRateGainDependsOnQOnly)
{
  const double cases[][2] = {{0.043, -26.429}, {0.088, -21.060}, {0.145, -17.612}, {0.22, -14.909}};
  for (const auto& c : cases)
  {
    for (double p : {0.3, 0.912})
    {
      const ReferenceModel::Coefficients ref = ReferenceModel::Tone(p, c[0], 44100.0);
      const double nyquist = SumWithSigns(ref.b, -1.0) / SumWithSigns(ref.a, -1.0);
      EXPECT_NEAR(c[1], Db(nyquist), 5e-4) << "q " << c[0] << " p " << p;
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
  for (double x : in)
    out.push_back(t.Process(x, 0.035, 0.043));
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
