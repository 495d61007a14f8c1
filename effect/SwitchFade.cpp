#include "SwitchFade.h"

void SwitchFade::SetRampFrames(int frames)
{
  const bool full = mPosition == mRamp;
  mRamp = frames < 1 ? 1 : frames;
  if (full || mPosition > mRamp) mPosition = mRamp;
}

void SwitchFade::Reset()
{
  mPosition = mRamp;
  mFill = 0;
}

double SwitchFade::NextGain(bool switchWanted)
{
  if (mFill > 0)
  {
    --mFill;
    return 0.0;
  }
  if (switchWanted)
  {
    if (mPosition > 0) --mPosition;
  }
  else if (mPosition < mRamp)
  {
    ++mPosition;
  }
  return static_cast<double>(mPosition) / mRamp;
}

void SwitchFade::Apply(bool switchWanted, double* const* out, int channels, int n)
{
  for (int i = 0; i < n; ++i)
  {
    const double gain = NextGain(switchWanted);
    for (int c = 0; c < channels; ++c) out[c][i] *= gain;
  }
}
