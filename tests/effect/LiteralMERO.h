#pragma once

#include <deque>

#include "IPlugVST3.h"
#include "LiteralFilter.h"
#include "LiteralOversampledDrive.h"
#include "LiteralToneNetwork.h"
#include "MERO.h"

// The reference for MERO's sound: the product's parameters and block routine written
// out literally, sample by sample, on filters, smoothers and a tone network of its own
// (no code of the product's effect is used). Every filter design, every pow() and every
// parameter read happens in each sample period, the curves call tanh and atan on every
// value, and the zero steps evaluate the full curve. Parameters carry MERO's indexes
// (MERO::EParams). MERO::ProcessAudio must match it bit for bit.
//
// Beyond the literal chain it does what the product does to stay finite: a non-finite
// input sample is processed as 0.0; a processed sample that is not finite is written
// as 0.0; after every 64th frame of a block and after its last frame, a channel any of
// whose chain values is not finite starts from rest; and the whole effect starts from
// rest when the sample rate differs from the previous block's and on activation.
//
// "Quality" High and Ultra, as read when the effect starts from rest (a later change is
// not modelled): each channel's drive goes up through a LiteralResampler, is driven,
// band-passed (design rate twice the high rate, a zero step after each sample), shaped
// and compensated sample by sample at the high rate (the band-pass as its factors,
// LiteralBandPass), delayed by the fraction of a
// base-rate sample that makes the resamplers' delay whole, and comes down again; the
// base-rate shaper stages stand still. "Bypas" passes the input delayed by that whole
// delay. MERO matches it to rounding.
class LiteralMERO : public IPlugVST3
{
public:
  LiteralMERO();

  void HandleParamChange(int index) override;
  void ProcessAudio(double** inputs, double** outputs, int frames) override;
  void HandleActivate(bool active) override;

private:
  enum ESmoother
  {
    kLowSmoother = 0,
    kHighSmoother,
    kDriveInSmoother,
    kDriveOutSmoother,
    kOutputSmoother,
    kPadSmoother,
    kNumSmoothers
  };

  // The parameter's value truncated toward zero; -1, which no switch takes, when it has
  // no 32-bit integer value.
  int Position(int index) const;
  double Smooth(int smoother, double target);
  double CurveA(int channel, double x);
  double CurveB(int channel, double x);

  void DesignAll(double fs);
  void DriveChannel(int channel, double input, int mode);
  double Dry(int channel, double input);
  void StartQuality();
  double ToneChannel(int channel, double toneScale, double modeTrim);
  void StartFromRest();
  void RestChannel(int channel);
  bool ChainFinite(int channel) const;

  double mLevel = 6.0;
  double mLowPosition = 0.088;
  double mHighPosition = 0.088;
  double mOutputGain = 1.0;
  double mGainFactor = 1.2;
  double mPadTarget;
  double mToneScale = 1.0;
  double mModeTrim;

  double mA0[kNumSmoothers];
  double mB1[kNumSmoothers];
  double mZ[kNumSmoothers];

  LiteralToneNetwork mTone[2];
  LiteralFilter mOutputNetwork[2] = {LiteralFilter(3), LiteralFilter(3)};
  LiteralFilter mCurveAStage[2] = {LiteralFilter(4), LiteralFilter(4)};
  LiteralFilter mCurveBStage[2] = {LiteralFilter(4), LiteralFilter(4)};
  double mChainValue[2] = {0.0, 0.0};

  // The oversampled drive of High (4) and Ultra (8); 1 for Standard.
  int mFactor = 1;
  std::vector<LiteralOversampledDrive> mOversampled;
  std::deque<double> mDryDelay[2];

  // The sample rate of the previous block; NaN before the first.
  double mRate;
};
