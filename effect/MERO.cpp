#include "MERO.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "IMutexLock.h"

namespace
{
constexpr int FourCharCode(const char (&c)[5])
{
  return static_cast<int>((static_cast<std::uint32_t>(static_cast<unsigned char>(c[0])) << 24) |
                          (static_cast<std::uint32_t>(static_cast<unsigned char>(c[1])) << 16) |
                          (static_cast<std::uint32_t>(static_cast<unsigned char>(c[2])) << 8) |
                          static_cast<std::uint32_t>(static_cast<unsigned char>(c[3])));
}

constexpr int kNumPresets = 1;
constexpr int kVendorVersion = 0x10000;
constexpr int kPlugApiVst3 = 1;
constexpr double kMinusTwoPi = -6.283185307179586;

const double kLowPositions[3] = {0.035, 0.088, 0.188};
const double kHighPositions[4] = {0.043, 0.088, 0.145, 0.22};

// Drive and trim switches: Gain 0/1 gives dB per Level step, Pad 0/1 the drive
// reduction, Mode 0/1 the tone scale and the trim exponent.
const double kGainFactors[2] = {2.0, 1.2};
const double kPadExponents[2] = {-0.5, -1.5};
const double kToneScales[2] = {1.0, 0.9};
const double kTrimExponents[2] = {-0.05, -0.05500000000000001};

// The processed path treats a non-finite sample as silence so that it cannot stay
// in the filter histories.
inline double Sanitize(double x)
{
  return std::isfinite(x) ? x : 0.0;
}
} // namespace

MERO::MERO()
  : IPlugVST3(kNumParams, "1-1 2-2", kNumPresets, "MERO", "", "Parvolen", kVendorVersion,
              FourCharCode("Mer1"), FourCharCode("Prvl"), kPlugApiVst3, false, false, 0),
    mPadTarget(std::pow(10.0, kPadExponents[0])),
    mModeTrim(std::pow(10.0, kTrimExponents[0])),
    mDesignedRate(std::numeric_limits<double>::quiet_NaN())
{
  for (ParamSmoother* s : {&mLowSmoother, &mHighSmoother, &mDriveInSmoother, &mDriveOutSmoother,
                           &mOutputSmoother, &mPadSmoother})
    s->Reset();

  for (int c = 0; c < 2; ++c)
  {
    mOutputNetwork[c].Clear();
    mTone[c].Clear();
    mCurveA[c].Clear();
    mCurveB[c].Clear();
  }

  GetParamRecord(kLevel)->DefineInteger("Level", 6, 0, 20, "", "");
  GetParamRecord(kMode)->DefineInteger("Mode", 0, 0, 1, "", "");
  GetParamRecord(kGain)->DefineInteger("Gain", 1, 0, 1, "", "");
  GetParamRecord(kPad)->DefineInteger("Pad", 0, 0, 1, "", "");
  GetParamRecord(kPhase)->DefineInteger("Phase", 0, 0, 1, "", "");
  GetParamRecord(kLow)->DefineInteger("Low", 1, 0, 2, "", "");
  GetParamRecord(kHigh)->DefineInteger("High", 1, 0, 3, "", "");
  GetParamRecord(kBypas)->DefineInteger("Bypas", 0, 0, 1, "", "");
  IParamRecord* output = GetParamRecord(kOutput);
  output->DefineContinuous("Output", 0.0, -96.0, 12.0, 0.01, "%", "", 1.0);
  output->SetShape(0.17);

  CaptureDefaultPreset();
}

MERO::~MERO() = default;

int MERO::ReadInteger(int index) const
{
  const double v = GetParamRecord(index)->GetValue();
  if (!(v > -2147483649.0 && v < 2147483648.0))
    return kNoPosition;
  return static_cast<int>(v);
}

void MERO::HandleParamChange(int index)
{
  IMutexLock lock(GetMutex());
  if (index < 0 || index >= kNumParams)
    return;
  const int k = ReadInteger(index);
  switch (index)
  {
  case kLevel:
    if (k >= 0 && k <= 20)
      mLevel = k;
    break;
  case kLow:
    if (k >= 0 && k <= 2)
      mLowPosition = kLowPositions[k];
    break;
  case kHigh:
    if (k >= 0 && k <= 3)
      mHighPosition = kHighPositions[k];
    break;
  case kOutput:
  {
    const double dB = GetParamRecord(kOutput)->GetValue();
    if (!std::isnan(dB))
      mOutputGain = std::pow(10.0, dB / 20.0);
    break;
  }
  default:
    break;
  }
}

void MERO::SetSmootherCoefficients(double fs)
{
  const double a = std::exp((10.0 / fs) * kMinusTwoPi);
  for (ParamSmoother* s : {&mLowSmoother, &mHighSmoother, &mDriveInSmoother, &mDriveOutSmoother,
                           &mOutputSmoother, &mPadSmoother})
    s->SetCoefficients(1.0 - a, a);
}

void MERO::DesignFilters(double fs)
{
  for (int c = 0; c < 2; ++c)
  {
    mTone[c].SetRate(fs);
    mOutputNetwork[c].DesignOutputNetwork(fs);
    mCurveA[c].DesignShaperBandPass(2.0 * fs);
    mCurveB[c].DesignShaperBandPass(2.0 * fs);
  }
}

void MERO::ReadGainAndPad()
{
  const int gain = ReadInteger(kGain);
  if (gain == 0 || gain == 1)
    mGainFactor = kGainFactors[gain];
  const int pad = ReadInteger(kPad);
  if (pad == 0 || pad == 1)
    mPadTarget = std::pow(10.0, kPadExponents[pad]);
}

void MERO::ReadToneScale(int mode)
{
  if (mode == 0 || mode == 1)
  {
    mToneScale = kToneScales[mode];
    mModeTrim = std::pow(10.0, kTrimExponents[mode]);
  }
}

// Everything that depends only on the sample rate or on parameter values is constant
// within a block and is computed once here; the per-sample work below is the same
// arithmetic in the same order.
void MERO::ProcessAudio(double** inputs, double** outputs, int frames)
{
  const double fs = GetSampleRate();
  SetSmootherCoefficients(fs);
  if (frames <= 0)
    return;

  if (!(fs == mDesignedRate))
  {
    DesignFilters(fs);
    mDesignedRate = fs;
  }
  ReadGainAndPad();
  const int mode = ReadInteger(kMode);
  const bool drive = mode == 0 || mode == 1;
  ReadToneScale(mode);
  const bool invert = ReadInteger(kPhase) == 1;
  const bool bypass = ReadInteger(kBypas) == 1;

  const double driveTarget = std::pow(10.0, mLevel * mGainFactor / 20.0);
  const double padTarget = mPadTarget;
  const double highTarget = mHighPosition / mToneScale;
  const double lowTarget = mLowPosition / mToneScale;
  const double outputGain = mOutputGain;
  const double modeTrim = mModeTrim;

  const double* inL = inputs[kLeft];
  const double* inR = inputs[kRight];
  double* outL = outputs[kLeft];
  double* outR = outputs[kRight];

  // Left and right run side by side so that their independent chains overlap; each
  // smoother still takes its steps in the documented order (left first).
  for (int i = 0; i < frames; ++i)
  {
    if (drive)
    {
      const double padInL = mPadSmoother.Step(padTarget);
      const double driveInL = mDriveInSmoother.Step(driveTarget);
      const double driveOutL = mDriveOutSmoother.Step(driveTarget);
      const double padOutL = mPadSmoother.Step(padTarget);
      const double padInR = mPadSmoother.Step(padTarget);
      const double driveInR = mDriveInSmoother.Step(driveTarget);
      const double driveOutR = mDriveOutSmoother.Step(driveTarget);
      const double padOutR = mPadSmoother.Step(padTarget);
      const double uL = (padInL * Sanitize(inL[i])) * driveInL;
      const double uR = (padInR * Sanitize(inR[i])) * driveInR;
      double sL;
      double sR;
      if (mode == 0)
      {
        const double bL = mCurveA[kLeft].Step(uL);
        const double bR = mCurveA[kRight].Step(uR);
        sL = ShaperStage::CurveA(uL, bL);
        sR = ShaperStage::CurveA(uR, bR);
      }
      else
      {
        const double bL = mCurveB[kLeft].Step(uL);
        const double bR = mCurveB[kRight].Step(uR);
        sL = ShaperStage::CurveB(uL, bL);
        sR = ShaperStage::CurveB(uR, bR);
      }
      mChainValue[kLeft] = mOutputNetwork[kLeft].Step((sL / driveOutL) / padOutL);
      mChainValue[kRight] = mOutputNetwork[kRight].Step((sR / driveOutR) / padOutR);
    }

    // The second step of each band-pass pair; its curve output is not used.
    mCurveA[kLeft].Step(0.0);
    mCurveA[kRight].Step(0.0);
    mCurveB[kLeft].Step(0.0);
    mCurveB[kRight].Step(0.0);

    const double chainL = invert ? -mChainValue[kLeft] : mChainValue[kLeft];
    const double chainR = invert ? -mChainValue[kRight] : mChainValue[kRight];
    const double hL = mHighSmoother.Step(highTarget);
    const double lL = mLowSmoother.Step(lowTarget);
    const double gL = mOutputSmoother.Step(outputGain);
    const double hR = mHighSmoother.Step(highTarget);
    const double lR = mLowSmoother.Step(lowTarget);
    const double gR = mOutputSmoother.Step(outputGain);
    const double resultL = (mTone[kLeft].Process(chainL, lL, hL) * modeTrim) * gL;
    const double resultR = (mTone[kRight].Process(chainR, lR, hR) * modeTrim) * gR;
    outL[i] = bypass ? inL[i] : resultL;
    outR[i] = bypass ? inR[i] : resultR;
  }
}
