#include "LoudnessMeter.h"

#include <ebur128.h>

#include <limits>

struct LoudnessMeter::State
{
  ebur128_state* meter = nullptr;
  ~State()
  {
    if (meter) ebur128_destroy(&meter);
  }
};

LoudnessMeter::LoudnessMeter() = default;
LoudnessMeter::~LoudnessMeter() = default;

bool LoudnessMeter::Open(int sampleRate, int channels, std::string& error)
{
  mState = std::make_unique<State>();
  mState->meter = ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(sampleRate), EBUR128_MODE_I);
  if (!mState->meter)
  {
    error = "the loudness meter cannot measure " + std::to_string(channels) + " channels at " +
            std::to_string(sampleRate) + " Hz";
    return false;
  }
  return true;
}

bool LoudnessMeter::Add(const float* interleaved, int64_t frames)
{
  return mState && mState->meter &&
         ebur128_add_frames_float(mState->meter, interleaved, static_cast<size_t>(frames)) == EBUR128_SUCCESS;
}

double LoudnessMeter::Integrated() const
{
  double lufs = -std::numeric_limits<double>::infinity();
  if (mState && mState->meter && ebur128_loudness_global(mState->meter, &lufs) != EBUR128_SUCCESS)
    return -std::numeric_limits<double>::infinity();
  return lufs;
}
