#include "LiteralToneNetwork.h"

#include <cmath>

namespace
{
// Monomials in the order 1, q, q^2, p, pq, pq^2, p^2, p^2 q, p^2 q^2; columns m = 0 ... 4.
const double kD[9][5] = {
    {1.89165938612305e-6, 5.84773317653659e-9, 3.81609719800236e-12, 6.60286127569399e-16, 0},
    {0, 5.61822837678545e-9, 6.82169587607501e-12, 1.74594889501524e-15, 0},
    {0, 0, -2.060017071488e-12, -1.74594889501524e-15, 0},
    {0, 1.11887001067737e-8, 1.38603283669398e-11, 4.14900946506348e-15, 3.10334479957618e-19},
    {0, 0, 1.95228830988068e-11, 9.39637950771837e-15, 8.20595980657162e-19},
    {0, 0, 0, -7.15839046956248e-15, -8.20595980657162e-19},
    {0, -1.36447562277728e-8, -1.66212915750803e-11, -4.74326697987594e-15, -3.10334479957618e-19},
    {0, 0, -2.38083940229351e-11, -1.09677335132321e-14, -8.20595980657162e-19},
    {0, 0, 0, 8.72974447507619e-15, 8.20595980657162e-19},
};

const double kN[9][5] = {
    {1.5815512900373e-6, 9.9677425108649e-10, 2.48184471026959e-13, 0, 0},
    {0, 4.69720733141079e-9, 3.24125726288252e-12, 8.19008754388966e-16, 0},
    {0, 0, -1.72230935485062e-12, -1.58722626819567e-16, 0},
    {-1.55054048042873e-6, 5.05476196619765e-10, 1.13415697533877e-12, 1.16646701382671e-16, 0},
    {0, -4.60510522687332e-9, 1.47087060946334e-12, 3.72011206873759e-15, 3.84934114562814e-19},
    {0, 0, 1.68853858318688e-12, -6.50762769960225e-16, -7.45996346051965e-20},
    {0, -1.24043238434298e-9, -1.35752299926304e-12, -1.16646701382671e-16, 0},
    {0, 0, -3.85293803981734e-12, -4.45721994768766e-15, -3.84934114562814e-19},
    {0, 0, 0, 7.93613134097836e-16, 7.45996346051965e-20},
};

const double kM[5][5] = {
    {1, 1, 1, 1, 1}, {4, 2, 0, -2, -4}, {6, 0, -2, 0, 6}, {4, -2, 0, 2, -4}, {1, -1, 1, -1, 1},
};

const double kSmoothing = 0.993;
const double kSmoothingInput = 0.007000000000000006;

// The weight of monomial j in coefficient k (a_k from the D table, b_k from the N
// table): sum over m of M[k][m] * T_j[m] * F^m.
double Weight(const double (&table)[9][5], int j, int k, double f)
{
  double w = 0.0;
  double fToM = 1.0;
  for (int m = 0; m < 5; ++m)
  {
    w = w + kM[k][m] * (table[j][m] * fToM);
    fToM = fToM * f;
  }
  return w;
}

double Evaluate(const double (&table)[9][5], int k, double p, double q, double f)
{
  double w[9];
  for (int j = 0; j < 9; ++j) w[j] = Weight(table, j, k, f);
  const double inP0 = w[0] + q * (w[1] + q * w[2]);
  const double inP1 = w[3] + q * (w[4] + q * w[5]);
  const double inP2 = w[6] + q * (w[7] + q * w[8]);
  return inP0 + p * (inP1 + p * inP2);
}
}  // namespace

void LiteralToneNetwork::SetRate(double sampleRate)
{
  const double f = std::trunc(sampleRate);
  if (!(f > 1.0))
    mF = 1.0;
  else if (f >= 192000.0)
    mF = 192000.0;
  else
    mF = f;
}

double LiteralToneNetwork::Coefficient(int k) const
{
  return k < 5 ? Evaluate(kD, k, mP, mQ, mF) : Evaluate(kN, k - 5, mP, mQ, mF);
}

double LiteralToneNetwork::Process(double x, double bassPos, double treblePos)
{
  mP = (1.0 - bassPos) * kSmoothingInput + mP * kSmoothing;
  mQ = treblePos * kSmoothingInput + mQ * kSmoothing;
  double a[5];
  double b[5];
  for (int k = 0; k < 5; ++k)
  {
    a[k] = Coefficient(k);
    b[k] = Coefficient(5 + k);
  }
  mW[0] = x - (a[1] * mW[1] + a[2] * mW[2] + a[3] * mW[3] + a[4] * mW[4]) / a[0];
  const double y = (b[0] * mW[0] + b[1] * mW[1] + b[2] * mW[2] + b[3] * mW[3] + b[4] * mW[4]) / a[0];
  mW[4] = mW[3];
  mW[3] = mW[2];
  mW[2] = mW[1];
  mW[1] = mW[0];
  return y;
}

void LiteralToneNetwork::ClearState()
{
  mP = 0.0;
  mQ = 0.0;
  for (double& w : mW) w = 0.0;
}

bool LiteralToneNetwork::StateFinite() const
{
  if (!std::isfinite(mP) || !std::isfinite(mQ)) return false;
  for (double w : mW)
    if (!std::isfinite(w)) return false;
  return true;
}
