#pragma once

#include <complex>

// The shaper band-pass of the oversampled drive written out as the product of its
// factors: H(s) = N1 (s/2) / (D4 prod (s/2 - p_k)), each factor taken through the
// bilinear transform s = 2r (1 - z^-1) / (1 + z^-1) on its own and stepped in long
// double. The roots p_k of the prototype's denominator are found here, by Durand-Kerner
// iteration in long double. Part of the reference block routine LiteralMERO.
class LiteralBandPass
{
public:
  LiteralBandPass();

  void Design(double r);
  double Step(double x);
  void ClearHistories();
  bool HistoriesFinite() const;

private:
  // A factor (num0 + num1 z^-1 + num2 z^-2) / (den0 + den1 z^-1 + den2 z^-2).
  struct Factor
  {
    long double num[3] = {};
    long double den[3] = {};
    long double x[2] = {};
    long double y[2] = {};
  };
  std::complex<long double> mRoots[4];
  long double mGain = 0.0L;
  Factor mFactors[3];
};
