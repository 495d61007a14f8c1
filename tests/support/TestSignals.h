#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

// Deterministic test signals and exact comparison, shared by the tests of every part.
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

// A tone plus noise per channel, different on each channel, peaking near 0.6.
template <typename Sample>
std::vector<std::vector<Sample>> Make(int channels, int frames, unsigned seed = 1)
{
  std::vector<std::vector<Sample>> signal(static_cast<size_t>(channels),
                                          std::vector<Sample>(static_cast<size_t>(frames)));
  std::uint32_t state = seed * 2654435761u + 1;
  for (int c = 0; c < channels; ++c)
    for (int i = 0; i < frames; ++i)
    {
      state = state * 1664525u + 1013904223u;
      const double noise = (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 0.1;
      signal[c][i] = static_cast<Sample>(0.5 * std::sin(0.0627 * (c + 1) * i) + noise);
    }
  return signal;
}

// True when both signals have the same sample bits everywhere.
template <typename Sample>
bool BitEqual(const std::vector<std::vector<Sample>>& a, const std::vector<std::vector<Sample>>& b)
{
  if (a.size() != b.size()) return false;
  for (size_t c = 0; c < a.size(); ++c)
    if (a[c].size() != b[c].size() || std::memcmp(a[c].data(), b[c].data(), a[c].size() * sizeof(Sample)) != 0)
      return false;
  return true;
}
}  // namespace TestSignals
