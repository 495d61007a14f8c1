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
// tanh within a few ulp, cheaper than the library's: below 0.7 in magnitude the
// continued fraction x / (1 + x^2 / (3 + x^2 / (5 + ...))) cut after seven terms as one
// rational function (relative error below 4e-17), above it 1 - 2 / (e^2|x| + 1).
double FastTanh(double x)
{
  const double a = std::fabs(x);
  if (a < 0.7)
  {
    const double y = x * x;
    const double num = 2027025.0 + y * (270270.0 + y * (6930.0 + y * 36.0));
    const double den = 2027025.0 + y * (945945.0 + y * (51975.0 + y * (630.0 + y)));
    return x * num / den;
  }
  return std::copysign(1.0 - 2.0 / (std::exp(2.0 * a) + 1.0), x);
}

// The curves of ShaperStage (A for mode 0, B for mode 1) with FastTanh.
template <int Mode>
double Curve(double x, double b)
{
  return Mode == 0 ? ShaperStage::CurveA<&FastTanh>(x, b) : ShaperStage::CurveB<&FastTanh>(x, b);
}
}  // namespace

// Both channels in the lanes of Double2; each base-rate frame's gains are combined once
// for its high-rate samples. Sample j + 1's band-pass step is issued before the curves
// of sample j, so the recursion runs on while the curves are evaluated.
template <int Mode>
void OversampledDrive::Shape(const Gains& g, double* const* high, int n)
{
  BandPassSections& stages = mBandPass;
  const int factor = mFactor;
  const int count = n * factor;
  Double2 driveGain[kMaxFrames];
  Double2 compensation[kMaxFrames];
  for (int i = 0; i < n; ++i)
  {
    driveGain[i] = Double2{g.padIn[0][i], g.padIn[1][i]} * Double2{g.driveIn[0][i], g.driveIn[1][i]};
    compensation[i] = 1.0 / (Double2{g.driveOut[0][i], g.driveOut[1][i]} * Double2{g.padOut[0][i], g.padOut[1][i]});
  }
  auto drive = [&](int j) { return Double2{high[0][j], high[1][j]} * driveGain[j / factor]; };
  Double2 stageIn = drive(0);
  Double2 band = stages.Step(stageIn);
  stages.StepZero();
  for (int j = 0; j < count; ++j)
  {
    Double2 nextIn = stageIn;
    Double2 nextBand = band;
    if (j + 1 < count)
    {
      nextIn = drive(j + 1);
      nextBand = stages.Step(nextIn);
      stages.StepZero();
    }
    const Double2 shaped = Double2{Curve<Mode>(stageIn[0], band[0]), Curve<Mode>(stageIn[1], band[1])};
    const Double2 out = shaped * compensation[j / factor];
    high[0][j] = out[0];
    high[1][j] = out[1];
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
