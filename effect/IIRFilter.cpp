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
IIRFilter<N>::Pair::Pair(IIRFilter& left, IIRFilter& right)
  : mFilter{&left, &right}
  , mDroppedX{0.0, 0.0}
  , mDroppedY{0.0, 0.0}
  , mLastInput{1.0, 1.0}
{
  for (int k = 0; k <= N; ++k)
  {
    mA[k] = Double2{left.mA[k], right.mA[k]};
    mB[k] = Double2{left.mB[k], right.mB[k]};
  }
  for (int k = 0; k < N; ++k)
  {
    mX[k] = Double2{left.mX[k], right.mX[k]};
    mY[k] = Double2{left.mY[k], right.mY[k]};
  }
}

template <int N>
void IIRFilter<N>::Pair::Store() const
{
  for (int lane = 0; lane < 2; ++lane)
  {
    IIRFilter& f = *mFilter[lane];
    for (int k = 0; k < N; ++k)
    {
      f.mX[k] = mX[k][lane];
      f.mY[k] = mY[k][lane];
    }
    f.mSteady = IsPositiveZero(mLastInput[lane]) && f.IsFixedPoint(mDroppedX[lane], mDroppedY[lane]);
  }
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
  Pair pair(left, right);
  const Double2 zero = {0.0, 0.0};
  for (int i = 0; i < n; ++i)
  {
    const Double2 y = pair.Step(Double2{inL[i], inR[i]});
    outL[i] = y[0];
    outR[i] = y[1];
    if (zeroStepAfterEach) pair.Step(zero);
  }
  pair.Store();
}

template void IIRFilter<3>::ClearHistories();
template bool IIRFilter<3>::HistoriesFinite() const;
template void IIRFilter<3>::Design(const double*, const double*, double);
template void IIRFilter<3>::DesignOutputNetwork(double);
template void IIRFilter<3>::StepPair(IIRFilter&, IIRFilter&, const double*, const double*, double*, double*, int, bool);
template class IIRFilter<3>::Pair;
template void IIRFilter<4>::ClearHistories();
template bool IIRFilter<4>::HistoriesFinite() const;
template void IIRFilter<4>::Design(const double*, const double*, double);
template void IIRFilter<4>::StepPair(IIRFilter&, IIRFilter&, const double*, const double*, double*, double*, int, bool);
template class IIRFilter<4>::Pair;
