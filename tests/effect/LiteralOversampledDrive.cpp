#include "LiteralOversampledDrive.h"

#include <cmath>

LiteralOversampledDrive::LiteralOversampledDrive(int factor, double fs)
  : mFactor(factor)
  , mResampler(factor)
{
  // (length - 1) / 2 samples of each step's higher rate, once up and once down.
  const int lengths[3] = {131, 31, 19};
  double delay = 0.0;
  for (int k = 0, rate = 2; rate <= factor; ++k, rate *= 2) delay += 2.0 * ((lengths[k] - 1) / 2) / rate;
  mLatency = static_cast<int>(std::ceil(delay));
  mPad.assign(static_cast<size_t>(std::lround((mLatency - delay) * factor)), 0.0);
  mBandPass.Design(2.0 * factor * fs);
}

double LiteralOversampledDrive::Step(double x, int mode, double padIn, double driveIn, double driveOut, double padOut)
{
  std::vector<double> high = mResampler.Up(x);
  for (double& v : high)
  {
    const double u = (padIn * v) * driveIn;
    const double b = mBandPass.Step(u);
    mBandPass.Step(0.0);
    double s;
    if (mode == 0)
      s = std::tanh(u) - (0.6 * std::tanh(b * b * b * b) + 0.7 * std::tanh(b * b * b));
    else
      s = std::tanh(u) - (0.7 * std::tanh(b * b * b) + 0.05 * std::tanh(b * b)) +
          0.6 * std::atan(b * b * b * b * b * b * b);
    mPad.push_back((s / driveOut) / padOut);
    v = mPad.front();
    mPad.pop_front();
  }
  return mResampler.Down(high);
}

void LiteralOversampledDrive::Clear()
{
  mResampler.Clear();
  mBandPass.ClearHistories();
  for (double& v : mPad) v = 0.0;
}
