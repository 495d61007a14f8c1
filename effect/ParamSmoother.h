#pragma once

// One-pole low-pass that glides a control value toward its target: each step
// sets z = a0 * target + b1 * z and returns z.
class ParamSmoother
{
public:
  void SetCoefficients(double a0, double b1)
  {
    mA0 = a0;
    mB1 = b1;
  }

  void Reset()
  {
    mA0 = 1.0;
    mB1 = 0.0;
    mZ = 0.0;
  }

  double Step(double target)
  {
    mZ = mA0 * target + mB1 * mZ;
    return mZ;
  }

  double A0() const { return mA0; }
  double B1() const { return mB1; }
  double Value() const { return mZ; }

private:
  double mA0 = 1.0;
  double mB1 = 0.0;
  double mZ = 0.0;
};
