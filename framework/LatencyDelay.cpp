#include "LatencyDelay.h"

#include <algorithm>
#include <cstring>

void LatencyDelay::Prepare(int channels, int capacity)
{
  mCapacity = std::max({capacity, mLength, 0});
  mWritePos = 0;
  mRings.assign(static_cast<size_t>(std::max(channels, 0)), std::vector<double>(static_cast<size_t>(mCapacity), 0.0));
}

void LatencyDelay::SetLength(int length)
{
  mLength = std::max(length, 0);
  if (mLength > mCapacity) Prepare(GetChannels(), mLength);
  mWritePos = 0;
  for (std::vector<double>& ring : mRings) std::fill_n(ring.begin(), mLength, 0.0);
}

void LatencyDelay::Process(double* const* inputs, int nInputs, double* const* outputs, int nOutputs, int frames)
{
  if (frames <= 0 || !outputs) return;
  const int nPass = inputs ? std::min(nInputs, nOutputs) : 0;
  const size_t bytes = sizeof(double) * static_cast<size_t>(frames);

  for (int i = 0; i < nOutputs; ++i)
  {
    double* out = outputs[i];
    if (!out) continue;
    const double* in = i < nPass ? inputs[i] : nullptr;
    if (!in)
    {
      std::memset(out, 0, bytes);
      continue;
    }
    if (mLength == 0 || i >= GetChannels())
    {
      if (out != in) std::memmove(out, in, bytes);
      continue;
    }
    double* ring = mRings[static_cast<size_t>(i)].data();
    int pos = mWritePos;
    for (int s = 0; s < frames; ++s)
    {
      const double x = in[s];
      out[s] = ring[pos];
      ring[pos] = x;
      if (++pos == mLength) pos = 0;
    }
  }
  if (mLength > 0) mWritePos = static_cast<int>((mWritePos + static_cast<long long>(frames)) % mLength);
}
