#include "ReferenceModel.h"

#include <cmath>
#include <complex>

namespace ReferenceModel
{
namespace
{
const int kM3[4][4] = {{1, 1, 1, 1}, {3, 1, -1, -3}, {3, -1, -1, 3}, {1, -1, 1, -1}};
const int kM4[5][5] = {{1, 1, 1, 1, 1}, {4, 2, 0, -2, -4}, {6, 0, -2, 0, 6}, {4, -2, 0, 2, -4}, {1, -1, 1, -1, 1}};

double Matrix(int n, int k, int m)
{
  return n == 3 ? kM3[k][m] : kM4[k][m];
}

Coefficients Bilinear(const std::vector<double>& den, const std::vector<double>& num, double r)
{
  const int n = static_cast<int>(den.size()) - 1;
  Coefficients c;
  for (int k = 0; k <= n; ++k)
  {
    double a = 0.0;
    double b = 0.0;
    for (int m = 0; m <= n; ++m)
    {
      a += Matrix(n, k, m) * den[m] * std::pow(r, m);
      b += Matrix(n, k, m) * num[m] * std::pow(r, m);
    }
    c.a.push_back(a);
    c.b.push_back(b);
  }
  return c;
}
}  // namespace

Coefficients Tone(double p, double q, double f)
{
  const double q2 = q * q;
  const double p2 = p * p;
  std::vector<double> d(5);
  std::vector<double> n(5);
  d[0] = 1.89165938612305e-6;
  d[1] = 5.84773317653659e-9 + 5.61822837678545e-9 * q + 1.11887001067737e-8 * p - 1.36447562277728e-8 * p2;
  d[2] = 3.81609719800236e-12 + 6.82169587607501e-12 * q - 2.060017071488e-12 * q2 + 1.38603283669398e-11 * p +
         1.95228830988068e-11 * p * q - 1.66212915750803e-11 * p2 - 2.38083940229351e-11 * p2 * q;
  d[3] = 6.60286127569399e-16 + 1.74594889501524e-15 * q - 1.74594889501524e-15 * q2 + 4.14900946506348e-15 * p +
         9.39637950771837e-15 * p * q - 7.15839046956248e-15 * p * q2 - 4.74326697987594e-15 * p2 -
         1.09677335132321e-14 * p2 * q + 8.72974447507619e-15 * p2 * q2;
  d[4] = 3.10334479957618e-19 * p + 8.20595980657162e-19 * p * q - 8.20595980657162e-19 * p * q2 -
         3.10334479957618e-19 * p2 - 8.20595980657162e-19 * p2 * q + 8.20595980657162e-19 * p2 * q2;
  n[0] = 1.5815512900373e-6 - 1.55054048042873e-6 * p;
  n[1] = 9.9677425108649e-10 + 4.69720733141079e-9 * q + 5.05476196619765e-10 * p - 4.60510522687332e-9 * p * q -
         1.24043238434298e-9 * p2;
  n[2] = 2.48184471026959e-13 + 3.24125726288252e-12 * q - 1.72230935485062e-12 * q2 + 1.13415697533877e-12 * p +
         1.47087060946334e-12 * p * q + 1.68853858318688e-12 * p * q2 - 1.35752299926304e-12 * p2 -
         3.85293803981734e-12 * p2 * q;
  n[3] = 8.19008754388966e-16 * q - 1.58722626819567e-16 * q2 + 1.16646701382671e-16 * p +
         3.72011206873759e-15 * p * q - 6.50762769960225e-16 * p * q2 - 1.16646701382671e-16 * p2 -
         4.45721994768766e-15 * p2 * q + 7.93613134097836e-16 * p2 * q2;
  n[4] = 3.84934114562814e-19 * p * q - 7.45996346051965e-20 * p * q2 - 3.84934114562814e-19 * p2 * q +
         7.45996346051965e-20 * p2 * q2;
  return Bilinear(d, n, f);
}

Coefficients OutputNetwork(double r)
{
  return Bilinear({6.75506631472643e-10, 1.054964120979446e-8, 3.97256276398519e-10, 7.65400351962497e-16},
                  {0.0, 1.35099975294776e-9, 5.93629551782897e-9, 7.65392698035516e-16}, r);
}

double MagnitudeDb(const Coefficients& c, double hz, double fs)
{
  const double pi = 3.14159265358979323846;
  const std::complex<double> zInv = std::polar(1.0, -2.0 * pi * hz / fs);
  std::complex<double> num = 0.0;
  std::complex<double> den = 0.0;
  std::complex<double> power = 1.0;
  for (size_t k = 0; k < c.a.size(); ++k)
  {
    num += c.b[k] * power;
    den += c.a[k] * power;
    power *= zInv;
  }
  return 20.0 * std::log10(std::abs(num / den));
}
}  // namespace ReferenceModel
