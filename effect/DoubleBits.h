#pragma once

#include <cstdint>
#include <cstring>

// The 64 bits of a double, for exact comparisons that tell -0.0 from 0.0 and compare
// NaNs by their pattern: the effect's rest and settled checks are made on bits.
inline std::uint64_t DoubleBits(double v)
{
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}
