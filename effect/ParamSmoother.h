#pragma once

#include <cstdint>

#include "DoubleBits.h"

// One-pole low-pass that glides a control value toward its target: each step sets
// z = a0 * target + b1 * z and returns z. Once a step has left z unchanged, further
// steps toward the same target with the same coefficients return z without
// arithmetic, which is the same result.
class ParamSmoother
{
public:
  void SetCoefficients(double a0, double b1)
  {
    if (DoubleBits(a0) != DoubleBits(mA0) || DoubleBits(b1) != DoubleBits(mB1)) mSteady = false;
    mA0 = a0;
    mB1 = b1;
  }

  // a0 = 1, b1 = 0, z = 0.
  void Reset() { *this = ParamSmoother(); }

  double Step(double target)
  {
    if (mSteady && DoubleBits(target) == DoubleBits(mTarget)) return mZ;
    const double z = mA0 * target + mB1 * mZ;
    mSteady = DoubleBits(z) == DoubleBits(mZ);
    mTarget = target;
    mZ = z;
    return z;
  }

  // n samples of perSample steps each toward target: outs[j][i] is step j of sample i.
  void StepInto(double target, double* const* outs, int perSample, int n)
  {
    int i = 0;
    for (; i < n && !(mSteady && DoubleBits(target) == DoubleBits(mTarget)); ++i)
      for (int j = 0; j < perSample; ++j) outs[j][i] = Step(target);
    for (; i < n; ++i)
      for (int j = 0; j < perSample; ++j) outs[j][i] = mZ;
  }

  // Whether further steps toward target return the current value unchanged.
  bool Settled(double target) const { return mSteady && DoubleBits(target) == DoubleBits(mTarget); }

  double A0() const { return mA0; }
  double B1() const { return mB1; }
  double Value() const { return mZ; }

private:
  double mA0 = 1.0;
  double mB1 = 0.0;
  double mZ = 0.0;
  double mTarget = 0.0;
  bool mSteady = false;
};
