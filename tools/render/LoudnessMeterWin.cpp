#include "LoudnessMeter.h"

#include <limits>

// libebur128 is not among the cross-built Windows libraries: loudness is measured
// by the Linux mero-render only.
struct LoudnessMeter::State
{
};

LoudnessMeter::LoudnessMeter() = default;
LoudnessMeter::~LoudnessMeter() = default;

bool LoudnessMeter::Open(int, int, std::string& error)
{
  error = "this mero-render measures no loudness (--loudness needs the Linux build)";
  return false;
}

bool LoudnessMeter::Add(const float*, int64_t)
{
  return false;
}

double LoudnessMeter::Integrated() const
{
  return -std::numeric_limits<double>::infinity();
}
