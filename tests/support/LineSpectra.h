#pragma once

#include <cmath>
#include <complex>
#include <vector>

// Line spectra for the measurement tests: a Blackman-windowed FFT of a power-of-two
// length, read for sines that sit exactly on a bin, so that every harmonic and every
// alias of one sits on a bin too and its window spreads it over five bins only.
namespace LineSpectra
{
// |X[k]| for k = 0 ... n/2 of x (n = x.size(), a power of two), Blackman-windowed unless
// told otherwise.
inline std::vector<double> Magnitudes(const std::vector<double>& x, bool windowed = true)
{
  const size_t n = x.size();
  const double pi = 3.14159265358979323846;
  std::vector<std::complex<double>> a(n);
  for (size_t i = 0; i < n; ++i)
    a[i] = windowed ? x[i] * (0.42 - 0.5 * std::cos(2 * pi * i / n) + 0.08 * std::cos(4 * pi * i / n)) : x[i];
  for (size_t i = 1, j = 0; i < n; ++i)
  {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1)
  {
    const std::complex<double> step = std::polar(1.0, -2 * pi / len);
    for (size_t start = 0; start < n; start += len)
    {
      std::complex<double> w = 1.0;
      for (size_t k = 0; k < len / 2; ++k, w *= step)
      {
        const std::complex<double> u = a[start + k], v = a[start + k + len / 2] * w;
        a[start + k] = u + v;
        a[start + k + len / 2] = u - v;
      }
    }
  }
  std::vector<double> magnitude(n / 2 + 1);
  for (size_t k = 0; k <= n / 2; ++k) magnitude[k] = std::abs(a[k]);
  return magnitude;
}

inline double Decibels(double ratio)
{
  return 20.0 * std::log10(ratio);
}

// The strongest line that is neither DC nor a harmonic of the fundamental on bin
// `fundamental` (each with its two neighbours either side), in dB relative to the
// fundamental.
inline double WorstNonHarmonicDbc(const std::vector<double>& magnitude, size_t fundamental)
{
  std::vector<bool> excluded(magnitude.size(), false);
  for (size_t centre = 0; centre < magnitude.size(); centre += fundamental)
    for (size_t k = centre < 2 ? 0 : centre - 2; k <= centre + 2 && k < magnitude.size(); ++k) excluded[k] = true;
  double worst = 0.0;
  for (size_t k = 0; k < magnitude.size(); ++k)
    if (!excluded[k]) worst = std::fmax(worst, magnitude[k]);
  return Decibels(worst / magnitude[fundamental]);
}
}  // namespace LineSpectra
