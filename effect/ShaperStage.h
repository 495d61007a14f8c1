#pragma once

#include <cmath>

#include "IIRFilter.h"

// The effect's saturation stage: a fourth-order band-pass (an IIRFilter designed for
// twice the sample rate) plus a memoryless curve that combines tanh of the stage input
// with powers of the band-passed copy B of that input. Curve A (Mode 0) uses B^3 and
// B^4; curve B (Mode 1) uses B^2, B^3 and B^7.
class ShaperStage : public IIRFilter<4>
{
private:
  // tanh of a zero is that zero, sign included; quiet passages and decayed band-pass
  // histories give many exact zeros, so the library call is skipped for them. Below
  // 2^-27 atan(v) differs from v by less than a sixth of an ulp (v^3 / 3), so the
  // correctly rounded result is v itself (zeros included); B^7 is that small for most
  // samples.
  static double Tanh(double v) { return v == 0.0 ? v : std::tanh(v); }
  static double Atan(double v) { return std::fabs(v) < kAtanIdentityBelow ? v : std::atan(v); }
  static constexpr double kAtanIdentityBelow = 0x1p-27;

public:
  // The band-pass prototype H(s) = sum kNum[m] (s/2)^m / sum kDen[m] (s/2)^m.
  static constexpr double kBandPassDen[5] = {0.0081068027183072, 6.67902279713139e-6, 1.57031225260495e-10,
                                             2.22125411838863e-15, 1.20275473057067e-20};
  static constexpr double kBandPassNum[5] = {0.0, 4.42189239180392e-6, 0.0, 0.0, 0.0};

  // Band-pass for design rate r: one zero at DC, three at half the design rate.
  void DesignShaperBandPass(double r);

  // One band-pass step, then curve A.
  double ProcessA(double x) { return CurveA(x, Step(x)); }

  // One band-pass step, then curve B.
  double ProcessB(double x) { return CurveB(x, Step(x)); }

  // tanh(x) - (0.6 tanh(B^4) + 0.7 tanh(B^3)), with the library's tanh unless another
  // is given.
  template <double (*TanhOf)(double) = &Tanh>
  static double CurveA(double x, double b)
  {
    const double b3 = (b * b) * b;
    const double b4 = b3 * b;
    return TanhOf(x) - (0.6 * TanhOf(b4) + 0.7 * TanhOf(b3));
  }

  // tanh(x) - (0.7 tanh(B^3) + 0.05 tanh(B^2)) + 0.6 atan(B^7), tanh as for CurveA.
  template <double (*TanhOf)(double) = &Tanh>
  static double CurveB(double x, double b)
  {
    const double b2 = b * b;
    const double b3 = b2 * b;
    const double b7 = (((b3 * b) * b) * b) * b;
    return (TanhOf(x) - (0.7 * TanhOf(b3) + 0.05 * TanhOf(b2))) + 0.6 * Atan(b7);
  }
};
