#include "LiteralFilter.h"

#include <cmath>

namespace
{
const double kM3[4][4] = {
    {1, 1, 1, 1},
    {3, 1, -1, -3},
    {3, -1, -1, 3},
    {1, -1, 1, -1},
};

const double kM4[5][5] = {
    {1, 1, 1, 1, 1}, {4, 2, 0, -2, -4}, {6, 0, -2, 0, 6}, {4, -2, 0, 2, -4}, {1, -1, 1, -1, 1},
};

double M(int order, int k, int m)
{
  return order == 3 ? kM3[k][m] : kM4[k][m];
}
}  // namespace

LiteralFilter::LiteralFilter(int order)
  : mOrder(order)
{
}

void LiteralFilter::Design(const double* d, const double* n, double r)
{
  for (int k = 0; k <= mOrder; ++k)
  {
    double a = 0.0;
    double b = 0.0;
    double rToM = 1.0;
    for (int m = 0; m <= mOrder; ++m)
    {
      a = a + M(mOrder, k, m) * (d[m] * rToM);
      b = b + M(mOrder, k, m) * (n[m] * rToM);
      rToM = rToM * r;
    }
    mA[k] = a;
    mB[k] = b;
  }
}

double LiteralFilter::Step(double x)
{
  double sum = mB[0] * x;
  for (int k = 1; k <= mOrder; ++k) sum = sum + mB[k] * mX[k - 1];
  for (int k = 1; k <= mOrder; ++k) sum = sum - mA[k] * mY[k - 1];
  const double y = sum / mA[0];
  for (int k = mOrder - 1; k > 0; --k)
  {
    mX[k] = mX[k - 1];
    mY[k] = mY[k - 1];
  }
  mX[0] = x;
  mY[0] = y;
  return y;
}

void LiteralFilter::ClearHistories()
{
  for (int k = 0; k < 4; ++k)
  {
    mX[k] = 0.0;
    mY[k] = 0.0;
  }
}

bool LiteralFilter::HistoriesFinite() const
{
  for (int k = 0; k < mOrder; ++k)
    if (!std::isfinite(mX[k]) || !std::isfinite(mY[k])) return false;
  return true;
}
