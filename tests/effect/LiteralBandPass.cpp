#include "LiteralBandPass.h"

#include <cmath>

namespace
{
const long double kDen[5] = {0.0081068027183072L, 6.67902279713139e-6L, 1.57031225260495e-10L, 2.22125411838863e-15L,
                             1.20275473057067e-20L};
const long double kNum1 = 4.42189239180392e-6L;
}  // namespace

LiteralBandPass::LiteralBandPass()
{
  using C = std::complex<long double>;
  auto d = [](C w) { return kDen[0] + w * (kDen[1] + w * (kDen[2] + w * (kDen[3] + w * kDen[4]))); };
  const long double radius = std::pow(kDen[0] / kDen[4], 0.25L);
  for (int k = 0; k < 4; ++k) mRoots[k] = std::polar(radius, 0.7L + 1.5L * k);
  for (int iteration = 0; iteration < 1000; ++iteration)
    for (int k = 0; k < 4; ++k)
    {
      C others = kDen[4];
      for (int j = 0; j < 4; ++j)
        if (j != k) others *= mRoots[k] - mRoots[j];
      mRoots[k] -= d(mRoots[k]) / others;
    }
}

void LiteralBandPass::Design(double rate)
{
  const long double r = rate;
  long double real[2];
  int reals = 0;
  std::complex<long double> pair;
  for (const auto& p : mRoots)
  {
    if (std::fabs(p.imag()) < 1e-12L * std::abs(p))
      real[reals++ % 2] = p.real();
    else if (p.imag() > 0)
      pair = p;
  }
  mGain = kNum1 / kDen[4];
  // 1 / ((w - p)(w - conj p)) with w = r (1 - z^-1) / (1 + z^-1).
  Factor& quadratic = mFactors[0];
  quadratic.num[0] = 1;
  quadratic.num[1] = 2;
  quadratic.num[2] = 1;
  const long double re = pair.real(), mag2 = std::norm(pair);
  quadratic.den[0] = r * r - 2 * re * r + mag2;
  quadratic.den[1] = -2 * r * r + 2 * mag2;
  quadratic.den[2] = r * r + 2 * re * r + mag2;
  // w / (w - p0) and 1 / (w - p1).
  mFactors[1].num[0] = r;
  mFactors[1].num[1] = -r;
  mFactors[2].num[0] = 1;
  mFactors[2].num[1] = 1;
  for (int k = 0; k < 2; ++k)
  {
    mFactors[1 + k].den[0] = r - real[k];
    mFactors[1 + k].den[1] = -(r + real[k]);
  }
}

double LiteralBandPass::Step(double input)
{
  long double v = mGain * input;
  for (Factor& f : mFactors)
  {
    const long double out =
        (f.num[0] * v + f.num[1] * f.x[0] + f.num[2] * f.x[1] - f.den[1] * f.y[0] - f.den[2] * f.y[1]) / f.den[0];
    f.x[1] = f.x[0];
    f.x[0] = v;
    f.y[1] = f.y[0];
    f.y[0] = out;
    v = out;
  }
  return static_cast<double>(v);
}

void LiteralBandPass::ClearHistories()
{
  for (Factor& f : mFactors)
    for (int k = 0; k < 2; ++k) f.x[k] = f.y[k] = 0;
}

bool LiteralBandPass::HistoriesFinite() const
{
  for (const Factor& f : mFactors)
    for (int k = 0; k < 2; ++k)
      if (!std::isfinite(f.x[k]) || !std::isfinite(f.y[k])) return false;
  return true;
}
