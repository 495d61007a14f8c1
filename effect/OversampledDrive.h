#pragma once

#include "BandPassSections.h"
#include "Oversampler.h"

// The drive stage of both channels at 4 or 8 times the base rate, where the curves'
// harmonics stay below the high rate's Nyquist frequency and are filtered off before
// the signal comes down again. Per channel: up to the high rate; pad and drive gain
// (each base-rate frame's gains held for its high-rate samples); one band-pass step
// with the stage's band-pass designed for twice the high rate, then a zero step; the
// mode's curve; the compensating division by the same gains; a delay of the fraction of
// a base-rate sample that makes the whole delay whole; down to the base rate. One
// band-pass per channel serves both modes; it runs as sections (BandPassSections),
// which keep their precision at these rates.
class OversampledDrive
{
public:
  // The most base-rate frames one Process call takes.
  static constexpr int kMaxFrames = 64;

  // The gains of each base-rate frame, per channel, as the smoothers gave them.
  struct Gains
  {
    const double* padIn[2];
    const double* driveIn[2];
    const double* driveOut[2];
    const double* padOut[2];
  };

  // Prepares the resamplers of both factors, from rest. Allocates.
  OversampledDrive();

  // Factor 4 or 8 (anything else counts as 4) at the base rate fs: the band-pass for
  // 2 * factor * fs; from rest.
  void Configure(int factor, double fs);
  int Factor() const { return mFactor; }

  // Whole base-rate samples by which a factor delays the signal: the resamplers' group
  // delay rounded up.
  static int LatencyOf(int factor);

  // n <= kMaxFrames base-rate frames: in[c] (finite samples) driven, shaped with the
  // curve of mode 0 (A) or 1 (B), compensated and back at the base rate in out[c],
  // LatencyOf(Factor()) frames late. in and out may be the same.
  void Process(int mode, const Gains& gains, const double* const* in, double* const* out, int n);

  // Every history of channel c (resamplers, band-pass, delay) to zero; Reset does both.
  void ResetChannel(int c);
  void Reset();
  // Whether every remembered value of both channels is at most limit in magnitude, and
  // whether those of channel c are finite.
  bool HistoryWithin(double limit) const;
  bool ChannelFinite(int c) const;

private:
  // High-rate samples of the fractional delay; at most kMaxPad.
  static constexpr int kMaxPad = 8;
  static int PadOf(int factor);

  Oversampler& Resampler(int c) { return mFactor == 8 ? mUltra[c] : mHigh[c]; }
  const Oversampler& Resampler(int c) const { return mFactor == 8 ? mUltra[c] : mHigh[c]; }

  template <int Mode>
  void Shape(const Gains& gains, double* const* high, int n);
  void DelayByPad(double* high, int count, int c);

  Oversampler mHigh[2];
  Oversampler mUltra[2];
  BandPassSections mBandPass;
  double mPadLine[2][kMaxPad] = {};
  int mFactor = 4;
  int mPad = 0;
};
