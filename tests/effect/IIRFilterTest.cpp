#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "IIRFilter.h"
#include "ReferenceModel.h"
#include "ShaperStage.h"
#include "TestSignals.h"

using TestSignals::Bits;

namespace
{
// The difference equation written out in its documented order, as the reference for
// Step's arithmetic and its shortcut for steady states.
template <int N>
struct LiteralDirectForm
{
  double x[N] = {};
  double y[N] = {};

  double Step(const IIRFilter<N>& f, double in)
  {
    double acc = f.B(0) * in;
    for (int k = 1; k <= N; ++k) acc = acc + f.B(k) * x[k - 1];
    for (int k = 1; k <= N; ++k) acc = acc - f.A(k) * y[k - 1];
    const double out = acc / f.A(0);
    for (int k = N - 1; k > 0; --k)
    {
      x[k] = x[k - 1];
      y[k] = y[k - 1];
    }
    x[0] = in;
    y[0] = out;
    return out;
  }
};

void ExpectRelativelyNear(double expected, double actual, double relative)
{
  EXPECT_NEAR(expected, actual, std::fabs(expected) * relative) << "expected " << expected;
}

// Silence with zeros of both signs from rest, then noise bursts separated by long
// stretches of +0 and of -0, so the histories decay into subnormal values.
std::vector<double> BurstsAndSilence()
{
  std::vector<double> in(5000, 0.0);
  in.insert(in.end(), 10, -0.0);
  in.insert(in.end(), 5000, 0.0);
  for (int burst = 0; burst < 4; ++burst)
  {
    const std::vector<double> noise = TestSignals::Noise(300, burst == 2 ? 1e3 : 0.5, 11 + burst);
    in.insert(in.end(), noise.begin(), noise.end());
    in.insert(in.end(), 60000, burst % 2 == 0 ? 0.0 : -0.0);
    in.push_back(1e-310);
    in.insert(in.end(), 30000, 0.0);
  }
  return in;
}
}  // namespace

TEST(IIRFilterDesign, ShaperBandPassAtTwiceCdRate)
{
  ShaperStage s;
  s.DesignShaperBandPass(88200.0);
  const double a[5] = {4.070712966, -4.748990633, 1.972669449, -1.009082692, -0.1556002468};
  const double b[5] = {0.390010909, 0.7800218179, 0.0, -0.7800218179, -0.390010909};
  for (int k = 0; k < 5; ++k)
  {
    ExpectRelativelyNear(a[k], s.A(k), 1e-9);
    ExpectRelativelyNear(b[k], s.B(k), 1e-9);
  }
  EXPECT_EQ(0.0, s.B(2));
}

TEST(IIRFilterDesign, OutputNetworkAtCdRate)
{
  IIRFilter<3> f;
  f.DesignOutputNetwork(44100.0);
  const double a[4] = {0.838698638, -0.9690589953, -0.5761169585, 0.7064773212};
  const double b[4] = {11.61067123, -11.7418416, -11.34809218, 11.47926254};
  for (int k = 0; k < 4; ++k)
  {
    ExpectRelativelyNear(a[k], f.A(k), 1e-9);
    ExpectRelativelyNear(b[k], f.B(k), 1e-9);
  }
}

TEST(IIRFilterResponse, OutputNetworkGainAtListedFrequencies)
{
  IIRFilter<3> f;
  f.DesignOutputNetwork(44100.0);
  ReferenceModel::Coefficients c;
  for (int k = 0; k < 4; ++k)
  {
    c.a.push_back(f.A(k));
    c.b.push_back(f.B(k));
  }
  EXPECT_NEAR(21.157, ReferenceModel::MagnitudeDb(c, 10.0, 44100.0), 0.0005);
  EXPECT_NEAR(23.489, ReferenceModel::MagnitudeDb(c, 1000.0, 44100.0), 0.0005);
  EXPECT_NEAR(22.245, ReferenceModel::MagnitudeDb(c, 20000.0, 44100.0), 0.0005);
}

TEST(IIRFilterResponse, OutputNetworkRunsASineAtItsGainAndBlocksDc)
{
  IIRFilter<3> f;
  f.DesignOutputNetwork(44100.0);
  const std::vector<double> in = TestSignals::Sine(44100, 0.01, 1000.0, 44100.0);
  std::vector<double> out;
  for (double x : in) out.push_back(f.Step(x));
  EXPECT_NEAR(23.489, 20.0 * std::log10(TestSignals::Peak(out, 22050) / 0.01), 0.002);

  // The low cut's pole has a time constant of about 7.8 s.
  IIRFilter<3> dc;
  dc.DesignOutputNetwork(4000.0);
  double y = 1.0;
  for (int i = 0; i < 4000 * 300; ++i) y = dc.Step(0.25);
  EXPECT_NEAR(0.0, y, 1e-12);
}

TEST(IIRFilterStep, MatchesTheDifferenceEquationBitForBit)
{
  const std::vector<double> in = BurstsAndSilence();
  ShaperStage bandPass;
  bandPass.DesignShaperBandPass(96000.0);
  IIRFilter<3> network;
  network.DesignOutputNetwork(48000.0);
  LiteralDirectForm<4> bandPassRef;
  LiteralDirectForm<3> networkRef;
  int mismatches = 0;
  int subnormals = 0;
  for (double x : in)
  {
    const double y4 = bandPass.Step(x);
    const double y3 = network.Step(x);
    mismatches += Bits(y4) != Bits(bandPassRef.Step(bandPass, x));
    mismatches += Bits(y3) != Bits(networkRef.Step(network, x));
    subnormals += std::fpclassify(y4) == FP_SUBNORMAL;
  }
  EXPECT_EQ(0, mismatches);
  EXPECT_GT(subnormals, 100000);
}

TEST(IIRFilterStep, RestingFilterKeepsTheSignOfZeroInputs)
{
  ShaperStage s;
  s.DesignShaperBandPass(88200.0);
  LiteralDirectForm<4> ref;
  for (double x : {0.0, -0.0, -0.0, 0.0, -0.0, -0.0, -0.0, -0.0, -0.0, 0.0, 0.0})
    EXPECT_EQ(Bits(ref.Step(s, x)), Bits(s.Step(x)));
}
