#include "ToneNetwork.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace
{
// Terms of the denominator polynomials D_0 ... D_4, one row per monomial.
const double kDen[ToneNetwork::kMonomials][5] = {
    {1.89165938612305e-6, 5.84773317653659e-9, 3.81609719800236e-12, 6.60286127569399e-16, 0.0},
    {0.0, 5.61822837678545e-9, 6.82169587607501e-12, 1.74594889501524e-15, 0.0},
    {0.0, 0.0, -2.060017071488e-12, -1.74594889501524e-15, 0.0},
    {0.0, 1.11887001067737e-8, 1.38603283669398e-11, 4.14900946506348e-15, 3.10334479957618e-19},
    {0.0, 0.0, 1.95228830988068e-11, 9.39637950771837e-15, 8.20595980657162e-19},
    {0.0, 0.0, 0.0, -7.15839046956248e-15, -8.20595980657162e-19},
    {0.0, -1.36447562277728e-8, -1.66212915750803e-11, -4.74326697987594e-15, -3.10334479957618e-19},
    {0.0, 0.0, -2.38083940229351e-11, -1.09677335132321e-14, -8.20595980657162e-19},
    {0.0, 0.0, 0.0, 8.72974447507619e-15, 8.20595980657162e-19},
};

// Terms of the numerator polynomials N_0 ... N_4, one row per monomial.
const double kNum[ToneNetwork::kMonomials][5] = {
    {1.5815512900373e-6, 9.9677425108649e-10, 2.48184471026959e-13, 0.0, 0.0},
    {0.0, 4.69720733141079e-9, 3.24125726288252e-12, 8.19008754388966e-16, 0.0},
    {0.0, 0.0, -1.72230935485062e-12, -1.58722626819567e-16, 0.0},
    {-1.55054048042873e-6, 5.05476196619765e-10, 1.13415697533877e-12, 1.16646701382671e-16, 0.0},
    {0.0, -4.60510522687332e-9, 1.47087060946334e-12, 3.72011206873759e-15, 3.84934114562814e-19},
    {0.0, 0.0, 1.68853858318688e-12, -6.50762769960225e-16, -7.45996346051965e-20},
    {0.0, -1.24043238434298e-9, -1.35752299926304e-12, -1.16646701382671e-16, 0.0},
    {0.0, 0.0, -3.85293803981734e-12, -4.45721994768766e-15, -3.84934114562814e-19},
    {0.0, 0.0, 0.0, 7.93613134097836e-16, 7.45996346051965e-20},
};

// Coefficient of z^-k in (1 - z^-1)^m (1 + z^-1)^(4 - m), row k, column m.
const double kBilinear[5][5] = {
    {1, 1, 1, 1, 1}, {4, 2, 0, -2, -4}, {6, 0, -2, 0, 6}, {4, -2, 0, 2, -4}, {1, -1, 1, -1, 1},
};

}  // namespace

bool ToneNetwork::StateFinite() const
{
  // Without early exits, so that the comparisons can run side by side.
  const double largest = std::numeric_limits<double>::max();
  bool finite = (std::fabs(mState.p) <= largest) & (std::fabs(mState.q) <= largest);
  for (double w : mState.w) finite &= std::fabs(w) <= largest;
  return finite;
}

void ToneNetwork::SetRate(double sampleRate)
{
  double f = 1.0;
  if (sampleRate >= 192000.0)
    f = 192000.0;
  else if (sampleRate > 1.0)
    f = static_cast<double>(static_cast<std::int32_t>(sampleRate));
  mF = f;

  double fPow[5];
  fPow[0] = 1.0;
  for (int m = 1; m < 5; ++m) fPow[m] = fPow[m - 1] * f;
  for (int mono = 0; mono < kMonomials; ++mono)
  {
    for (int k = 0; k < 5; ++k)
    {
      double a = 0.0;
      double b = 0.0;
      for (int m = 0; m < 5; ++m)
      {
        a += kBilinear[k][m] * (kDen[mono][m] * fPow[m]);
        b += kBilinear[k][m] * (kNum[mono][m] * fPow[m]);
      }
      mPrepared[mono][k] = a;
      mPrepared[mono][5 + k] = b;
    }
  }
  mState.coefficientsValid = false;
  mState.steady = false;
}

double ToneNetwork::Coefficient(int k) const
{
  double c[kCoefficients];
  Evaluate(mState.p, mState.q, c);
  return c[k];
}

void ToneNetwork::ProcessEach(ToneNetwork& left, ToneNetwork& right, const double* xL, const double* xR,
                              const double* bassL, const double* bassR, const double* trebleL, const double* trebleR,
                              double* yL, double* yR, int n)
{
  for (int i = 0; i < n; ++i)
  {
    yL[i] = left.Process(xL[i], bassL[i], trebleL[i]);
    yR[i] = right.Process(xR[i], bassR[i], trebleR[i]);
  }
}

void ToneNetwork::ProcessPair(ToneNetwork& left, ToneNetwork& right, const double* xL, const double* xR,
                              const double* bassL, const double* bassR, const double* trebleL, const double* trebleR,
                              double* yL, double* yR, int n)
{
  if (n <= 0) return;
  // A steady network answers without arithmetic; Process knows when.
  if (left.mState.steady || right.mState.steady)
  {
    ProcessEach(left, right, xL, xR, bassL, bassR, trebleL, trebleR, yL, yR, n);
    return;
  }

  Pair lanes(left, right);
  for (int i = 0; i < n; ++i)
  {
    const Double2 y = lanes.Step(Double2{xL[i], xR[i]}, Double2{bassL[i], bassR[i]}, Double2{trebleL[i], trebleR[i]});
    yL[i] = y[0];
    yR[i] = y[1];
  }
  lanes.Store();
}
