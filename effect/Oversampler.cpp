#include "Oversampler.h"

#include <algorithm>

#include "ResamplerCoefficients.h"

void Oversampler::Prepare(int factor, int maxFrames)
{
  using namespace ResamplerCoefficients;
  mFactor = factor == 8 ? 8 : 4;
  mMaxFrames = std::max(maxFrames, 1);
  mStages[0].Prepare(kBase, kBaseLength, mMaxFrames);
  mStages[1].Prepare(kHalfBand4, kHalfBand4Length, 2 * mMaxFrames);
  mStages[2].Prepare(kHalfBand8, kHalfBand8Length, 4 * mMaxFrames);
  for (int k = 0; k < 3; ++k) mRate[k].assign(static_cast<size_t>(mMaxFrames) << (k + 1), 0.0);
}

void Oversampler::Reset()
{
  for (PolyphaseStage& stage : mStages) stage.Reset();
}

double Oversampler::GroupDelay() const
{
  // Each step delays by its Delay() at its higher rate, once up and once down.
  double delay = 0.0;
  for (int k = 0; k < Stages(); ++k) delay += 2.0 * mStages[k].Delay() / (2 << k);
  return delay;
}

int Oversampler::Frames(int n) const
{
  return std::clamp(n, 0, mMaxFrames);
}

double* Oversampler::Upsample(const double* in, int n)
{
  n = Frames(n);
  const double* from = in;
  for (int k = 0; k < Stages(); ++k)
  {
    mStages[k].Upsample(from, n << k, mRate[k].data());
    from = mRate[k].data();
  }
  return mRate[Stages() - 1].data();
}

void Oversampler::Downsample(int n, double* out)
{
  n = Frames(n);
  for (int k = Stages() - 1; k >= 0; --k)
    mStages[k].Downsample(mRate[k].data(), n << k, k > 0 ? mRate[k - 1].data() : out);
}
