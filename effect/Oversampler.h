#pragma once

#include <vector>

#include "PolyphaseStage.h"

// Raises one channel by 4 or 8 times its base rate and brings it back down, through
// cascaded 2:1 polyphase steps: the base step (stopband from the base rate's Nyquist
// frequency) next to the base rate, then half-band steps. What the caller does at the
// high rate between Upsample and Downsample is its own; the pair delays a signal by
// GroupDelay base-rate samples.
class Oversampler
{
public:
  // factor 4 or 8 (anything else counts as 4); blocks of up to maxFrames base-rate
  // samples; from rest. Allocates; not for the audio thread.
  void Prepare(int factor, int maxFrames);

  // Every stage's history to zero, as after Prepare.
  void Reset();

  // Whether every remembered sample of every stage is at most limit in magnitude (false
  // for NaN).
  bool HistoryWithin(double limit) const;

  int Factor() const { return mFactor; }
  int MaxFrames() const { return mMaxFrames; }

  // Delay of Upsample followed by Downsample, in base-rate samples; a multiple of 1/8,
  // not always whole.
  double GroupDelay() const { return GroupDelayOf(mFactor); }
  // The same for a factor (4 or 8, anything else counts as 4), without an instance.
  static double GroupDelayOf(int factor);

  // n <= MaxFrames base-rate samples in (counts outside 0 ... MaxFrames are clamped
  // to it); returns the n * Factor high-rate samples, which the caller may change in
  // place before Downsample.
  double* Upsample(const double* in, int n);

  // The n * Factor high-rate samples back to n base-rate samples in out (n clamped as
  // by Upsample).
  void Downsample(int n, double* out);

private:
  int Stages() const { return mFactor == 8 ? 3 : 2; }
  int Frames(int n) const;

  PolyphaseStage mStages[3];
  // mRate[k] holds the signal at 2^(k + 1) times the base rate.
  std::vector<double> mRate[3];
  int mFactor = 4;
  int mMaxFrames = 0;
};
