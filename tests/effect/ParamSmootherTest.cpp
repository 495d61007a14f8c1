#include <gtest/gtest.h>

#include <cmath>

#include "ParamSmoother.h"
#include "TestSignals.h"

using TestSignals::Bits;

TEST(ParamSmoother, StartsAtRestWithUnitInputGain)
{
  ParamSmoother s;
  EXPECT_EQ(1.0, s.A0());
  EXPECT_EQ(0.0, s.B1());
  EXPECT_EQ(0.0, s.Value());
  EXPECT_EQ(0.25, s.Step(0.25));
}

// Step skips the arithmetic once the value has settled; every result must still be
// a0 * target + b1 * z, through settling, target changes and coefficient changes.
TEST(ParamSmoother, MatchesTheRecurrenceBitForBit)
{
  ParamSmoother s;
  double z = 0.0;
  double a0 = 1.0;
  double b1 = 0.0;
  int mismatches = 0;
  const double targets[] = {0.3, std::pow(10.0, -1.5), 0.3, 15.848931924611136};
  for (int phase = 0; phase < 8; ++phase)
  {
    if (phase % 3 == 0)
    {
      const double a = std::exp((10.0 / (44100.0 + 4000.0 * phase)) * -6.283185307179586);
      a0 = 1.0 - a;
      b1 = a;
      s.SetCoefficients(a0, b1);
    }
    const double target = targets[phase % 4];
    for (int i = 0; i < 60000; ++i)
    {
      z = a0 * target + b1 * z;
      mismatches += Bits(z) != Bits(s.Step(target));
    }
  }
  EXPECT_EQ(0, mismatches);
}
