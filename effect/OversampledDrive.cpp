#include "OversampledDrive.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "ShaperStage.h"

OversampledDrive::OversampledDrive()
{
  for (int c = 0; c < 2; ++c)
  {
    mHigh[c].Prepare(4, kMaxFrames);
    mUltra[c].Prepare(8, kMaxFrames);
  }
  mPad = PadOf(mFactor);
}

int OversampledDrive::LatencyOf(int factor)
{
  return static_cast<int>(std::ceil(Oversampler::GroupDelayOf(factor)));
}

int OversampledDrive::PadOf(int factor)
{
  const int n = factor == 8 ? 8 : 4;
  return static_cast<int>(std::lround((LatencyOf(n) - Oversampler::GroupDelayOf(n)) * n));
}

void OversampledDrive::Configure(int factor, double fs)
{
  mFactor = factor == 8 ? 8 : 4;
  mPad = PadOf(mFactor);
  mBandPass.Design(2.0 * mFactor * fs);
  Reset();
}

void OversampledDrive::ResetChannel(int c)
{
  mHigh[c].Reset();
  mUltra[c].Reset();
  mBandPass.ClearLane(c);
  for (double& v : mPadLine[c]) v = 0.0;
}

void OversampledDrive::Reset()
{
  ResetChannel(0);
  ResetChannel(1);
}

bool OversampledDrive::HistoryWithin(double limit) const
{
  bool within = true;
  for (int c = 0; c < 2; ++c)
  {
    within &= Resampler(c).HistoryWithin(limit);
    for (double v : mPadLine[c]) within &= std::fabs(v) <= limit;
  }
  return within && mBandPass.Within(limit);
}

bool OversampledDrive::ChannelFinite(int c) const
{
  bool finite = Resampler(c).HistoryWithin(std::numeric_limits<double>::max()) && mBandPass.LaneFinite(c);
  for (double v : mPadLine[c]) finite &= std::isfinite(v);
  return finite;
}

void OversampledDrive::Process(int mode, const Gains& gains, const double* const* in, double* const* out, int n)
{
  if (n <= 0) return;
  if (n > kMaxFrames) n = kMaxFrames;
  double* high[2] = {Resampler(0).Upsample(in[0], n), Resampler(1).Upsample(in[1], n)};
  if (mode == 1)
    Shape<1>(gains, high, n);
  else
    Shape<0>(gains, high, n);
  for (int c = 0; c < 2; ++c)
  {
    DelayByPad(high[c], n * mFactor, c);
    Resampler(c).Downsample(n, out[c]);
  }
}

namespace
{
template <int Mode>
Double2 Curve(Double2 x, Double2 band)
{
  if (Mode == 0) return Double2{ShaperStage::CurveA(x[0], band[0]), ShaperStage::CurveA(x[1], band[1])};
  return Double2{ShaperStage::CurveB(x[0], band[0]), ShaperStage::CurveB(x[1], band[1])};
}
}  // namespace

// Both channels in the lanes of Double2. Sample j + 1's band-pass step is issued before
// the curves of sample j, so the recursion runs on while the library calls execute.
template <int Mode>
void OversampledDrive::Shape(const Gains& g, double* const* high, int n)
{
  BandPassSections& stages = mBandPass;
  const Double2 zero = {0.0, 0.0};
  const int factor = mFactor;
  const int count = n * factor;
  auto gain = [](const double* const* values, int i) { return Double2{values[0][i], values[1][i]}; };
  auto drive = [&](int j)
  {
    const int i = j / factor;
    return (gain(g.padIn, i) * Double2{high[0][j], high[1][j]}) * gain(g.driveIn, i);
  };
  Double2 stageIn = drive(0);
  Double2 band = stages.Step(stageIn);
  stages.Step(zero);
  for (int j = 0; j < count; ++j)
  {
    Double2 nextIn = zero;
    Double2 nextBand = zero;
    if (j + 1 < count)
    {
      nextIn = drive(j + 1);
      nextBand = stages.Step(nextIn);
      stages.Step(zero);
    }
    const int i = j / factor;
    const Double2 shaped = (Curve<Mode>(stageIn, band) / gain(g.driveOut, i)) / gain(g.padOut, i);
    high[0][j] = shaped[0];
    high[1][j] = shaped[1];
    stageIn = nextIn;
    band = nextBand;
  }
}

void OversampledDrive::DelayByPad(double* high, int count, int c)
{
  if (mPad <= 0 || count < mPad) return;
  double* line = mPadLine[c];
  double last[kMaxPad];
  std::memcpy(last, high + count - mPad, sizeof(double) * mPad);
  std::memmove(high + mPad, high, sizeof(double) * (count - mPad));
  std::memcpy(high, line, sizeof(double) * mPad);
  std::memcpy(line, last, sizeof(double) * mPad);
}
