#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ShaperStage.h"
#include "TestSignals.h"

using TestSignals::Bits;

namespace
{
ShaperStage Designed(double r)
{
  ShaperStage s;
  s.DesignShaperBandPass(r);
  return s;
}

// The curves as documented, calling tanh and atan for every value.
double LiteralCurveA(double x, double b)
{
  const double b3 = (b * b) * b;
  const double b4 = b3 * b;
  return std::tanh(x) - (0.6 * std::tanh(b4) + 0.7 * std::tanh(b3));
}

double LiteralCurveB(double x, double b)
{
  const double b2 = b * b;
  const double b3 = b2 * b;
  const double b7 = b3 * b * b * b * b;
  return std::tanh(x) - (0.7 * std::tanh(b3) + 0.05 * std::tanh(b2)) + 0.6 * std::atan(b7);
}
}  // namespace

TEST(ShaperStageSettle, ConstantInputSettlesToTanh)
{
  const double settled = 0.46211715726000974;
  for (bool zeroSteps : {false, true})
  {
    ShaperStage a = Designed(88200.0);
    ShaperStage b = Designed(88200.0);
    double outA = 0.0;
    double outB = 0.0;
    for (int i = 0; i < 200000; ++i)
    {
      outA = a.ProcessA(0.5);
      outB = b.ProcessB(0.5);
      if (zeroSteps)
      {
        a.ProcessA(0.0);
        b.ProcessB(0.0);
      }
    }
    EXPECT_NEAR(settled, outA, 1e-15) << "zero steps " << zeroSteps;
    EXPECT_NEAR(settled, outB, 1e-15) << "zero steps " << zeroSteps;
  }
}

TEST(ShaperStageCurves, RestingStageAndSmallInputs)
{
  ShaperStage a = Designed(96000.0);
  ShaperStage b = Designed(96000.0);
  EXPECT_EQ(0.0, a.ProcessA(0.0));
  EXPECT_EQ(0.0, b.ProcessB(0.0));
  for (double x : {1e-4, -3e-5, 2e-4})
  {
    EXPECT_NEAR(x, a.ProcessA(x), 1e-6 * std::fabs(x));
    // Curve B also has the even term 0.05 tanh(B^2), of the order of x^2.
    EXPECT_NEAR(x, b.ProcessB(x), 1e-5 * std::fabs(x));
  }
}

TEST(ShaperStageCurves, SameBandPassDifferentCurvesAndBoundedAtan)
{
  ShaperStage a = Designed(88200.0);
  ShaperStage b = Designed(88200.0);
  const double outA = a.ProcessA(40.0);
  const double outB = b.ProcessB(40.0);
  EXPECT_EQ(Bits(a.YHistory(0)), Bits(b.YHistory(0)));
  EXPECT_NE(outA, outB);
  EXPECT_EQ(Bits(LiteralCurveA(40.0, a.YHistory(0))), Bits(outA));
  EXPECT_EQ(Bits(LiteralCurveB(40.0, b.YHistory(0))), Bits(outB));
  // B is about 3.8 here, so B^7 is large and the atan term is near its bound.
  EXPECT_GT(a.YHistory(0), 3.0);
  EXPECT_LE(outB, 1.0 + 0.6 * 3.14159265358979323846 / 2.0);
}

// The curves skip the library call for zero arguments; every result, including the
// sign of zero results and values whose powers underflow, must stay what tanh and
// atan give.
TEST(ShaperStageCurves, MatchLiteralCurvesBitForBit)
{
  std::vector<double> in = TestSignals::Noise(2000, 3.0, 5);
  in.insert(in.end(), 40000, 0.0);
  for (double x : {-0.0, 1e-300, -1e-300, 1e-320, -0.0, 0.0, 1e-100, -1e-60}) in.push_back(x);
  in.insert(in.end(), 20000, -0.0);

  ShaperStage a = Designed(96000.0);
  ShaperStage b = Designed(96000.0);
  int mismatches = 0;
  for (double x : in)
  {
    const double outA = a.ProcessA(x);
    const double outB = b.ProcessB(x);
    mismatches += Bits(outA) != Bits(LiteralCurveA(x, a.YHistory(0)));
    mismatches += Bits(outB) != Bits(LiteralCurveB(x, b.YHistory(0)));
    a.ProcessA(0.0);
    b.ProcessB(0.0);
  }
  EXPECT_EQ(0, mismatches);
}
