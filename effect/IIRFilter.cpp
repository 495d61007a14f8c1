#include "IIRFilter.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace
{
// Coefficient of z^-k in (1 - z^-1)^m (1 + z^-1)^(n - m), by multiplying out the factors.
template <int N>
struct BilinearMatrix
{
  double m[N + 1][N + 1] = {};

  constexpr BilinearMatrix()
  {
    for (int col = 0; col <= N; ++col)
    {
      long poly[N + 1] = {1};
      for (int f = 0; f < N; ++f)
      {
        const long sign = f < col ? -1 : 1;
        for (int k = N; k > 0; --k) poly[k] += sign * poly[k - 1];
      }
      for (int k = 0; k <= N; ++k) m[k][col] = static_cast<double>(poly[k]);
    }
  }
};

constexpr BilinearMatrix<3> kMatrix3;
constexpr BilinearMatrix<4> kMatrix4;

template <int N>
constexpr const BilinearMatrix<N>& Matrix()
{
  if constexpr (N == 3)
    return kMatrix3;
  else
    return kMatrix4;
}

const double kOutputDen[4] = {6.75506631472643e-10, 1.054964120979446e-8, 3.97256276398519e-10, 7.65400351962497e-16};
const double kOutputNum[4] = {0.0, 1.35099975294776e-9, 5.93629551782897e-9, 7.65392698035516e-16};
}  // namespace

template <int N>
void IIRFilter<N>::ClearHistories()
{
  for (int k = 0; k < N; ++k)
  {
    mX[k] = 0.0;
    mY[k] = 0.0;
  }
  mSteady = false;
}

template <int N>
bool IIRFilter<N>::HistoriesFinite() const
{
  // Without early exits, so that the comparisons can run side by side.
  const double largest = std::numeric_limits<double>::max();
  bool finite = true;
  for (int k = 0; k < N; ++k) finite &= (std::fabs(mX[k]) <= largest) & (std::fabs(mY[k]) <= largest);
  return finite;
}

template <int N>
void IIRFilter<N>::Design(const double* den, const double* num, double r)
{
  const BilinearMatrix<N>& matrix = Matrix<N>();
  double rPow[N + 1];
  rPow[0] = 1.0;
  for (int m = 1; m <= N; ++m) rPow[m] = rPow[m - 1] * r;
  for (int k = 0; k <= N; ++k)
  {
    double a = 0.0;
    double b = 0.0;
    for (int m = 0; m <= N; ++m)
    {
      a += matrix.m[k][m] * (den[m] * rPow[m]);
      b += matrix.m[k][m] * (num[m] * rPow[m]);
    }
    mA[k] = a;
    mB[k] = b;
  }
  mSteady = false;
}

template <int N>
void IIRFilter<N>::DesignOutputNetwork(double r)
{
  static_assert(N == 3, "the output network is of order 3");
  Design(kOutputDen, kOutputNum, r);
}

template <int N>
IIRFilter<N>::Lane::Lane(const IIRFilter& f)
  : droppedX(0.0)
  , droppedY(0.0)
  , lastInput(1.0)
{
  std::memcpy(a, f.mA, sizeof a);
  std::memcpy(b, f.mB, sizeof b);
  std::memcpy(x, f.mX, sizeof x);
  std::memcpy(y, f.mY, sizeof y);
}

template <int N>
inline double IIRFilter<N>::Lane::Step(double in)
{
  lastInput = in;
  return Difference(a, b, x, y, in, droppedX, droppedY);
}

template <int N>
void IIRFilter<N>::Lane::StoreTo(IIRFilter& f) const
{
  std::memcpy(f.mX, x, sizeof x);
  std::memcpy(f.mY, y, sizeof y);
  f.mSteady = IsPositiveZero(lastInput) && f.IsFixedPoint(droppedX, droppedY);
}

template <int N>
void IIRFilter<N>::StepPair(IIRFilter& left, IIRFilter& right, const double* inL, const double* inR, double* outL,
                            double* outR, int n, bool zeroStepAfterEach)
{
  if (n <= 0) return;
  if (left.mSteady || right.mSteady)
  {
    for (int i = 0; i < n; ++i)
    {
      outL[i] = left.Step(inL[i]);
      outR[i] = right.Step(inR[i]);
      if (zeroStepAfterEach)
      {
        left.Step(0.0);
        right.Step(0.0);
      }
    }
    return;
  }
  Lane l(left);
  Lane r(right);
  if (zeroStepAfterEach)
  {
    for (int i = 0; i < n; ++i)
    {
      outL[i] = l.Step(inL[i]);
      outR[i] = r.Step(inR[i]);
      l.Step(0.0);
      r.Step(0.0);
    }
  }
  else
  {
    for (int i = 0; i < n; ++i)
    {
      outL[i] = l.Step(inL[i]);
      outR[i] = r.Step(inR[i]);
    }
  }
  l.StoreTo(left);
  r.StoreTo(right);
}

template void IIRFilter<3>::ClearHistories();
template bool IIRFilter<3>::HistoriesFinite() const;
template void IIRFilter<3>::Design(const double*, const double*, double);
template void IIRFilter<3>::DesignOutputNetwork(double);
template void IIRFilter<3>::StepPair(IIRFilter&, IIRFilter&, const double*, const double*, double*, double*, int, bool);
template void IIRFilter<4>::ClearHistories();
template bool IIRFilter<4>::HistoriesFinite() const;
template void IIRFilter<4>::Design(const double*, const double*, double);
template void IIRFilter<4>::StepPair(IIRFilter&, IIRFilter&, const double*, const double*, double*, double*, int, bool);
