#pragma once

#include <deque>
#include <vector>

#include "LiteralBandPass.h"
#include "LiteralResampler.h"

// The oversampled drive of one channel written out sample by sample: up through a
// LiteralResampler; at each high-rate sample the pad and drive gain, a band-pass step
// (LiteralBandPass designed for twice the high rate) and a zero step, the mode's curve
// with tanh and atan on every value, the division by the gains; a delay of the high-rate
// samples that make the resamplers' delay a whole number of base-rate samples; down
// again. Part of the reference block routine LiteralMERO.
class LiteralOversampledDrive
{
public:
  // factor 4 or 8 at base rate fs.
  LiteralOversampledDrive(int factor, double fs);

  // The resamplers' delay rounded up to whole base-rate samples.
  int Latency() const { return mLatency; }

  // One base-rate sample through the chain, with this frame's gains.
  double Step(double x, int mode, double padIn, double driveIn, double driveOut, double padOut);

  void Clear();
  bool Finite() const { return mBandPass.HistoriesFinite(); }

private:
  int mFactor;
  int mLatency = 0;
  LiteralResampler mResampler;
  LiteralBandPass mBandPass;
  std::deque<double> mPad;
};
