#pragma once

#include <vector>

// An independent, term-by-term evaluation of the effect's filter tables, used to check
// the product's designs and the documented responses: each coefficient is
// sum over m of M[k][m] * P_m * r^m with P_m summed monomial by monomial.
namespace ReferenceModel
{
struct Coefficients
{
  std::vector<double> a;
  std::vector<double> b;
};

// The tone network for control variables p, q and design rate f.
Coefficients Tone(double p, double q, double f);
// The third-order output network for design rate r.
Coefficients OutputNetwork(double r);

// Magnitude in dB of b(z)/a(z) at frequency hz for sample rate fs.
double MagnitudeDb(const Coefficients& c, double hz, double fs);
}  // namespace ReferenceModel
