#include "BandPassSections.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "ShaperStage.h"

namespace
{
using Complex = std::complex<double>;

// The roots of the prototype's denominator in w = s/2: the roots of a monic quartic in
// v = w / scale (scale = (D0/D4)^(1/4), so that the roots are near the unit circle),
// by simultaneous Newton steps (Weierstrass-Durand-Kerner) from points spread round a
// circle. The polynomial is fixed, so they are worked out once.
struct PrototypeRoots
{
  Complex w[4];

  PrototypeRoots()
  {
    const double* d = ShaperStage::kBandPassDen;
    const double scale = std::pow(d[0] / d[4], 0.25);
    double c[4];  // v^4 + c3 v^3 + c2 v^2 + c1 v + c0
    for (int m = 0; m < 4; ++m) c[m] = d[m] * std::pow(scale, m) / (d[4] * std::pow(scale, 4));
    auto p = [&c](Complex v) { return (((v + c[3]) * v + c[2]) * v + c[1]) * v + c[0]; };
    Complex v[4];
    for (int k = 0; k < 4; ++k) v[k] = std::polar(1.0, 0.4 + k * 1.5707963267948966);
    for (int iteration = 0; iteration < 500; ++iteration)
    {
      for (int k = 0; k < 4; ++k)
      {
        Complex denominator = 1.0;
        for (int j = 0; j < 4; ++j)
          if (j != k) denominator *= v[k] - v[j];
        v[k] -= p(v[k]) / denominator;
      }
    }
    for (int k = 0; k < 4; ++k) w[k] = scale * v[k];
  }
};

const PrototypeRoots& Roots()
{
  static const PrototypeRoots roots;
  return roots;
}

bool IsReal(Complex z)
{
  return std::fabs(z.imag()) <= 1e-9 * std::abs(z);
}
}  // namespace

// With w = s/2 = r (1 - z^-1) / (1 + z^-1), H = (N1 / D4) w / prod (w - p):
//   w / (w - p)  = r (1 - z^-1) / ((r - p) - (r + p) z^-1)
//   1 / (w - p)  = (1 + z^-1) / ((r - p) - (r + p) z^-1)
//   1 / ((w - p)(w - p*)) = (1 + z^-1)^2 / (A0 + A1 z^-1 + A2 z^-2), with
//   A0 = r^2 - 2 Re(p) r + |p|^2, A1 = 2 |p|^2 - 2 r^2, A2 = r^2 + 2 Re(p) r + |p|^2.
void BandPassSections::Design(double r)
{
  const PrototypeRoots& roots = Roots();
  double real[2] = {0.0, 0.0};
  Complex pair = 0.0;
  int reals = 0;
  for (const Complex& p : roots.w)
  {
    if (IsReal(p) && reals < 2)
      real[reals++] = p.real();
    else if (p.imag() > 0.0)
      pair = p;
  }
  mGain = ShaperStage::kBandPassNum[1] / ShaperStage::kBandPassDen[4];

  const double sigma = pair.real(), magnitude2 = std::norm(pair);
  const double a0 = r * r - 2.0 * sigma * r + magnitude2;
  mSections[0].b[0] = 1.0 / a0;
  mSections[0].b[1] = 2.0 / a0;
  mSections[0].b[2] = 1.0 / a0;
  mSections[0].a[1] = (2.0 * magnitude2 - 2.0 * r * r) / a0;
  mSections[0].a[2] = (r * r + 2.0 * sigma * r + magnitude2) / a0;

  const double withZero[2] = {r, -r};
  const double withoutZero[2] = {1.0, 1.0};
  for (int k = 0; k < 2; ++k)
  {
    Section& section = mSections[1 + k];
    const double* numerator = k == 0 ? withZero : withoutZero;
    const double d0 = r - real[k];
    section.b[0] = numerator[0] / d0;
    section.b[1] = numerator[1] / d0;
    section.b[2] = 0.0;
    section.a[1] = -(r + real[k]) / d0;
    section.a[2] = 0.0;
  }
}

Double2 BandPassSections::Section::Step(Double2 in)
{
  const Double2 out = b[0] * in + b[1] * x[0] + b[2] * x[1] - a[1] * y[0] - a[2] * y[1];
  x[1] = x[0];
  x[0] = in;
  y[1] = y[0];
  y[0] = out;
  return out;
}

Double2 BandPassSections::Section::StepZero()
{
  const Double2 out = b[1] * x[0] + b[2] * x[1] - a[1] * y[0] - a[2] * y[1];
  x[1] = x[0];
  x[0] = Double2{0.0, 0.0};
  y[1] = y[0];
  y[0] = out;
  return out;
}

void BandPassSections::StepZero()
{
  Double2 v = mSections[0].StepZero();
  v = mSections[1].Step(v);
  mSections[2].Step(v);
}

Double2 BandPassSections::Step(Double2 x)
{
  Double2 v = mGain * x;
  for (Section& section : mSections) v = section.Step(v);
  return v;
}

template <typename Visit>
void BandPassSections::ForEachHistory(Visit visit) const
{
  for (const Section& section : mSections)
    for (int k = 0; k < 2; ++k)
    {
      visit(section.x[k]);
      visit(section.y[k]);
    }
}

void BandPassSections::ClearLane(int lane)
{
  for (Section& section : mSections)
    for (int k = 0; k < 2; ++k)
    {
      section.x[k][lane] = 0.0;
      section.y[k][lane] = 0.0;
    }
}

void BandPassSections::Clear()
{
  ClearLane(0);
  ClearLane(1);
}

bool BandPassSections::Within(double limit) const
{
  bool within = true;
  ForEachHistory([&](Double2 v) { within &= std::fabs(v[0]) <= limit && std::fabs(v[1]) <= limit; });
  return within;
}

bool BandPassSections::LaneFinite(int lane) const
{
  bool finite = true;
  ForEachHistory([&](Double2 v) { finite &= std::isfinite(v[lane]); });
  return finite;
}
