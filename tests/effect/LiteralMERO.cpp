#include "LiteralMERO.h"

#include <cmath>
#include <limits>

#include "IMutexLock.h"

namespace
{
const double kBandPassD[5] = {0.0081068027183072, 6.67902279713139e-6, 1.57031225260495e-10, 2.22125411838863e-15,
                              1.20275473057067e-20};
const double kBandPassN[5] = {0, 4.42189239180392e-6, 0, 0, 0};
const double kOutputD[4] = {6.75506631472643e-10, 1.054964120979446e-8, 3.97256276398519e-10, 7.65400351962497e-16};
const double kOutputN[4] = {0, 1.35099975294776e-9, 5.93629551782897e-9, 7.65392698035516e-16};

// Frames between the checks of the chain values.
const int kCheckInterval = 64;
}  // namespace

LiteralMERO::LiteralMERO()
  : IPlugVST3(MERO::kNumParams, "1-1 2-2", 1, "MERO", "", "Parvolen", 0x10000, 0x4D657231, 0x5072766C, 1, false, false,
              0)
  , mPadTarget(std::pow(10, -0.5))
  , mModeTrim(std::pow(10, -0.05))
  , mRate(std::numeric_limits<double>::quiet_NaN())
{
  for (int s = 0; s < kNumSmoothers; ++s)
  {
    mA0[s] = 1.0;
    mB1[s] = 0.0;
    mZ[s] = 0.0;
  }
  GetParamRecord(MERO::kLevel)->DefineInteger("Level", 6, 0, 20, "", "");
  GetParamRecord(MERO::kMode)->DefineInteger("Mode", 0, 0, 1, "", "");
  GetParamRecord(MERO::kGain)->DefineInteger("Gain", 1, 0, 1, "", "");
  GetParamRecord(MERO::kPad)->DefineInteger("Pad", 0, 0, 1, "", "");
  GetParamRecord(MERO::kPhase)->DefineInteger("Phase", 0, 0, 1, "", "");
  GetParamRecord(MERO::kLow)->DefineInteger("Low", 1, 0, 2, "", "");
  GetParamRecord(MERO::kHigh)->DefineInteger("High", 1, 0, 3, "", "");
  GetParamRecord(MERO::kBypas)->DefineInteger("Bypas", 0, 0, 1, "", "");
  GetParamRecord(MERO::kOutput)->DefineContinuous("Output", 0.0, -96.0, 12.0, 0.01, "dB", "", 1.0);
  GetParamRecord(MERO::kOutput)->SetShape(0.17);
  IParamRecord* quality = GetParamRecord(MERO::kQuality);
  quality->DefineInteger("Quality", 0, 0, 2, "", "");
  quality->AddDisplayText(0, "Standard");
  quality->AddDisplayText(1, "High");
  quality->AddDisplayText(2, "Ultra");
  CaptureDefaultPreset();
}

int LiteralMERO::Position(int index) const
{
  const double v = GetParamRecord(index)->GetValue();
  if (!(v > -2147483649.0 && v < 2147483648.0)) return -1;
  return static_cast<int>(v);
}

void LiteralMERO::HandleParamChange(int index)
{
  IMutexLock lock(GetMutex());
  const int k = index >= 0 && index < MERO::kNumParams ? Position(index) : -1;
  if (index == MERO::kLevel && k >= 0 && k <= 20) mLevel = k;
  if (index == MERO::kLow)
  {
    if (k == 0)
      mLowPosition = 0.035;
    else if (k == 1)
      mLowPosition = 0.088;
    else if (k == 2)
      mLowPosition = 0.188;
  }
  if (index == MERO::kHigh)
  {
    if (k == 0)
      mHighPosition = 0.043;
    else if (k == 1)
      mHighPosition = 0.088;
    else if (k == 2)
      mHighPosition = 0.145;
    else if (k == 3)
      mHighPosition = 0.22;
  }
  if (index == MERO::kOutput)
  {
    const double v = GetParamRecord(index)->GetValue();
    if (!std::isnan(v)) mOutputGain = std::pow(10, v / 20);
  }
}

void LiteralMERO::HandleActivate(bool active)
{
  IMutexLock lock(GetMutex());
  if (active) StartFromRest();
}

double LiteralMERO::Smooth(int s, double target)
{
  mZ[s] = mA0[s] * target + mB1[s] * mZ[s];
  return mZ[s];
}

double LiteralMERO::CurveA(int c, double x)
{
  const double b = mCurveAStage[c].Step(x);
  const double b3 = (b * b) * b;
  const double b4 = b3 * b;
  return std::tanh(x) - (0.6 * std::tanh(b4) + 0.7 * std::tanh(b3));
}

double LiteralMERO::CurveB(int c, double x)
{
  const double b = mCurveBStage[c].Step(x);
  const double b2 = b * b;
  const double b3 = b2 * b;
  const double b7 = b3 * b * b * b * b;
  return std::tanh(x) - (0.7 * std::tanh(b3) + 0.05 * std::tanh(b2)) + 0.6 * std::atan(b7);
}

void LiteralMERO::ProcessAudio(double** inputs, double** outputs, int frames)
{
  const double fs = GetSampleRate();
  if (!(fs == mRate)) StartFromRest();
  mRate = fs;
  const double a = std::exp((10 / fs) * (-6.283185307179586));
  for (int s = 0; s < kNumSmoothers; ++s)
  {
    mA0[s] = 1 - a;
    mB1[s] = a;
  }
  if (frames <= 0) return;

  for (int i = 0; i < frames; ++i)
  {
    DesignAll(fs);

    const int gain = Position(MERO::kGain);
    if (gain == 0)
      mGainFactor = 2.0;
    else if (gain == 1)
      mGainFactor = 1.2;

    const int pad = Position(MERO::kPad);
    if (pad == 0)
      mPadTarget = std::pow(10, -0.5);
    else if (pad == 1)
      mPadTarget = std::pow(10, -1.5);

    for (int c = 0; c < 2; ++c)
    {
      const int mode = Position(MERO::kMode);
      if (mode == 0 || mode == 1)
      {
        const double x = inputs[c][i];
        DriveChannel(c, std::isfinite(x) ? x : 0.0, mode);
      }
    }

    if (mFactor == 1)
    {
      CurveA(0, 0.0);
      CurveA(1, 0.0);
      CurveB(0, 0.0);
      CurveB(1, 0.0);
    }

    const int mode = Position(MERO::kMode);
    if (mode == 0)
    {
      mToneScale = 1.0;
      mModeTrim = std::pow(10, -0.05);
    }
    else if (mode == 1)
    {
      mToneScale = 0.9;
      mModeTrim = std::pow(10, -0.05500000000000001);
    }

    for (int c = 0; c < 2; ++c)
    {
      const double result = ToneChannel(c, mToneScale, mModeTrim);
      const int bypas = Position(MERO::kBypas);
      const double dry = Dry(c, inputs[c][i]);
      if (bypas == 1)
        outputs[c][i] = dry;
      else
        outputs[c][i] = std::isfinite(result) ? result : 0.0;
    }

    if ((i + 1) % kCheckInterval == 0 || i == frames - 1)
    {
      for (int c = 0; c < 2; ++c)
        if (!ChainFinite(c)) RestChannel(c);
    }
  }
}

void LiteralMERO::DesignAll(double fs)
{
  for (int c = 0; c < 2; ++c)
  {
    mTone[c].SetRate(fs);
    mOutputNetwork[c].Design(kOutputD, kOutputN, fs);
    mCurveAStage[c].Design(kBandPassD, kBandPassN, 2 * fs);
    mCurveBStage[c].Design(kBandPassD, kBandPassN, 2 * fs);
  }
}

void LiteralMERO::DriveChannel(int c, double input, int mode)
{
  const double padIn = Smooth(kPadSmoother, mPadTarget);
  const double d = std::pow(10, mLevel * mGainFactor / 20);
  const double driveIn = Smooth(kDriveInSmoother, d);
  const double driveOut = Smooth(kDriveOutSmoother, d);
  const double padOut = Smooth(kPadSmoother, mPadTarget);
  if (!mOversampled.empty())
  {
    mChainValue[c] = mOutputNetwork[c].Step(mOversampled[c].Step(input, mode, padIn, driveIn, driveOut, padOut));
    return;
  }
  const double u = (padIn * input) * driveIn;
  const double s = mode == 0 ? CurveA(c, u) : CurveB(c, u);
  mChainValue[c] = mOutputNetwork[c].Step((s / driveOut) / padOut);
}

double LiteralMERO::Dry(int c, double input)
{
  mDryDelay[c].push_back(input);
  const double out = mDryDelay[c].front();
  mDryDelay[c].pop_front();
  return out;
}

void LiteralMERO::StartQuality()
{
  const int position = Position(MERO::kQuality);
  mFactor = position == 1 ? 4 : (position == 2 ? 8 : 1);
  mOversampled.clear();
  if (mFactor > 1 && std::isfinite(GetSampleRate()))
    mOversampled = {LiteralOversampledDrive(mFactor, GetSampleRate()),
                    LiteralOversampledDrive(mFactor, GetSampleRate())};
  const int latency = mOversampled.empty() ? 0 : mOversampled[0].Latency();
  for (int c = 0; c < 2; ++c) mDryDelay[c].assign(latency, 0.0);
}

double LiteralMERO::ToneChannel(int c, double toneScale, double modeTrim)
{
  double chain = mChainValue[c];
  const int phase = Position(MERO::kPhase);
  if (phase == 1) chain = -chain;
  const double h = Smooth(kHighSmoother, mHighPosition / toneScale);
  const double l = Smooth(kLowSmoother, mLowPosition / toneScale);
  const double g = Smooth(kOutputSmoother, mOutputGain);
  return (mTone[c].Process(chain, l, h) * modeTrim) * g;
}

void LiteralMERO::StartFromRest()
{
  for (int s = 0; s < kNumSmoothers; ++s)
  {
    mA0[s] = 1.0;
    mB1[s] = 0.0;
    mZ[s] = 0.0;
  }
  StartQuality();
  RestChannel(0);
  RestChannel(1);
}

void LiteralMERO::RestChannel(int c)
{
  mTone[c].ClearState();
  mOutputNetwork[c].ClearHistories();
  mCurveAStage[c].ClearHistories();
  mCurveBStage[c].ClearHistories();
  mChainValue[c] = 0.0;
  if (!mOversampled.empty()) mOversampled[c].Clear();
}

bool LiteralMERO::ChainFinite(int c) const
{
  return mTone[c].StateFinite() && mOutputNetwork[c].HistoriesFinite() && mCurveAStage[c].HistoriesFinite() &&
         mCurveBStage[c].HistoriesFinite() && std::isfinite(mChainValue[c]) &&
         (mOversampled.empty() || mOversampled[c].Finite());
}
