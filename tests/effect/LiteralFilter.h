#pragma once

// A recursive filter of order 3 or 4 written out term by term: coefficients from a
// continuous-time prototype through the bilinear transform, one direct-form-I step per
// call. Part of the reference block routine LiteralMERO.
class LiteralFilter
{
public:
  explicit LiteralFilter(int order);

  // a_k = sum over m of M[k][m] * D_m * r^m and b_k = sum over m of M[k][m] * N_m * r^m,
  // where M[k][m] is the coefficient of z^-k in (1 - z^-1)^m (1 + z^-1)^(order - m).
  void Design(const double* d, const double* n, double r);

  // y = (b0 x + b1 x1 + ... + bn xn - a1 y1 - ... - an yn) / a0, then the histories shift.
  double Step(double x);

  // Previous inputs and outputs to zero; the design stays.
  void ClearHistories();
  bool HistoriesFinite() const;

private:
  int mOrder;
  double mA[5] = {};
  double mB[5] = {};
  double mX[4] = {};  // mX[0] = x1, the most recent input
  double mY[4] = {};  // mY[0] = y1, the most recent output
};
