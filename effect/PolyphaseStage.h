#pragma once

#include <vector>

// One 2:1 rate step of the oversampler: a symmetric odd-length FIR low-pass h at the
// higher rate, applied in polyphase form both ways. Upsampling inserts a zero after
// every sample and filters with 2h; downsampling filters with h and keeps every other
// sample. Leading and trailing zero taps of each phase are skipped, so a half-band
// filter costs one multiplication in its centre phase. Both directions delay by
// (length - 1) / 2 samples of the higher rate.
class PolyphaseStage
{
public:
  // Takes the filter (copied) and sizes the histories and the work buffers for blocks
  // of up to maxLowFrames samples at the lower rate, from rest. Allocates; not for the
  // audio thread. taps has an odd length.
  void Prepare(const double* taps, int length, int maxLowFrames);

  // Both histories to zero, as after Prepare.
  void Reset();

  // Whether every sample both directions remember is at most limit in magnitude (false
  // for NaN).
  bool HistoryWithin(double limit) const;

  // Higher-rate samples each direction delays by.
  int Delay() const { return mDelay; }

  // n <= maxLowFrames lower-rate samples in, 2n higher-rate samples out. out may not
  // overlap in.
  void Upsample(const double* in, int n, double* out);

  // 2n higher-rate samples in, n <= maxLowFrames lower-rate samples out. out may not
  // overlap in.
  void Downsample(const double* in, int n, double* out);

private:
  // The nonzero taps of one phase, reversed so that they run forward over a history
  // window, and the phase index of the newest sample they reach.
  struct Phase
  {
    std::vector<double> taps;
    int newest = 0;
  };

  static Phase MakePhase(const double* taps, int length, int parity, double gain);
  static double Dot(const double* taps, const double* window, int count);
  // Moves the last mHistory samples of a line that holds n new samples to its front.
  void Keep(std::vector<double>& line, int n) const;

  Phase mUp[2];
  Phase mDown[2];
  // Per line: mHistory older samples, then the block's new ones.
  std::vector<double> mUpLine;
  std::vector<double> mDownLine[2];
  int mHistory = 0;
  int mDelay = 0;
};
