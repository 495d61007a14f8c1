#include "DryDelay.h"

#include <cmath>

void DryDelay::SetLength(int frames)
{
  mLength = frames < 0 ? 0 : (frames > kCapacity ? kCapacity : frames);
  Clear();
}

void DryDelay::Process(const double* const* in, double* const* out, int n)
{
  if (mLength == 0)
  {
    for (int c = 0; c < 2; ++c)
      if (out[c] != in[c])
        for (int i = 0; i < n; ++i) out[c][i] = in[c][i];
    return;
  }
  int pos = mPos;
  for (int i = 0; i < n; ++i)
  {
    for (int c = 0; c < 2; ++c)
    {
      const double x = in[c][i];
      out[c][i] = mRing[c][pos];
      mRing[c][pos] = x;
    }
    pos = pos + 1 == mLength ? 0 : pos + 1;
  }
  mPos = pos;
}

void DryDelay::Clear()
{
  ClearChannel(0);
  ClearChannel(1);
  mPos = 0;
}

void DryDelay::ClearChannel(int c)
{
  for (double& v : mRing[c]) v = 0.0;
}

bool DryDelay::Within(double limit) const
{
  bool within = true;
  for (int c = 0; c < 2; ++c)
    for (int k = 0; k < mLength; ++k) within &= std::fabs(mRing[c][k]) <= limit;
  return within;
}
