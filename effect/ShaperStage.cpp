#include "ShaperStage.h"

#include <cmath>

namespace
{
const double kBandPassDen[5] = {0.0081068027183072, 6.67902279713139e-6, 1.57031225260495e-10,
                                2.22125411838863e-15, 1.20275473057067e-20};
const double kBandPassNum[5] = {0.0, 4.42189239180392e-6, 0.0, 0.0, 0.0};

// tanh and atan of a zero are that zero, sign included; quiet passages and decayed
// band-pass histories give many exact zeros, so the library call is skipped for them.
inline double Tanh(double v)
{
  return v == 0.0 ? v : std::tanh(v);
}

inline double Atan(double v)
{
  return v == 0.0 ? v : std::atan(v);
}
} // namespace

void ShaperStage::DesignShaperBandPass(double r)
{
  Design(kBandPassDen, kBandPassNum, r);
}

double ShaperStage::ProcessA(double x)
{
  const double b = Step(x);
  const double b3 = (b * b) * b;
  const double b4 = b3 * b;
  return Tanh(x) - (0.6 * Tanh(b4) + 0.7 * Tanh(b3));
}

double ShaperStage::ProcessB(double x)
{
  const double b = Step(x);
  const double b2 = b * b;
  const double b3 = b2 * b;
  const double b7 = (((b3 * b) * b) * b) * b;
  return (Tanh(x) - (0.7 * Tanh(b3) + 0.05 * Tanh(b2))) + 0.6 * Atan(b7);
}
