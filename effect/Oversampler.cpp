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

bool Oversampler::HistoryWithin(double limit) const
{
  bool within = true;
  for (int k = 0; k < Stages(); ++k) within &= mStages[k].HistoryWithin(limit);
  return within;
}

double Oversampler::GroupDelayOf(int factor)
{
  // Each step delays by (length - 1) / 2 samples of its higher rate, once up and once
  // down.
  using namespace ResamplerCoefficients;
  const int lengths[3] = {kBaseLength, kHalfBand4Length, kHalfBand8Length};
  const int stages = factor == 8 ? 3 : 2;
  double delay = 0.0;
  for (int k = 0; k < stages; ++k) delay += 2.0 * ((lengths[k] - 1) / 2) / (2 << k);
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
