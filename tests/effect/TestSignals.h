#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

// Small helpers shared by the effect tests: exact bit comparison and test signals.
namespace TestSignals
{
inline std::uint64_t Bits(double v)
{
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// Deterministic noise in [-amplitude, amplitude).
inline std::vector<double> Noise(int n, double amplitude, unsigned seed)
{
  std::mt19937 gen(seed);
  std::vector<double> v(n);
  for (double& x : v) x = amplitude * (static_cast<double>(gen()) / 2147483648.0 - 1.0);
  return v;
}

inline std::vector<double> Sine(int n, double amplitude, double hz, double fs)
{
  const double pi = 3.14159265358979323846;
  std::vector<double> v(n);
  for (int i = 0; i < n; ++i) v[i] = amplitude * std::sin(2.0 * pi * hz * i / fs);
  return v;
}

// Peak of |v| over [from, end).
inline double Peak(const std::vector<double>& v, size_t from)
{
  double peak = 0.0;
  for (size_t i = from; i < v.size(); ++i) peak = std::fmax(peak, std::fabs(v[i]));
  return peak;
}
}  // namespace TestSignals
