#include "LiteralMERO.h"

#include <cmath>

namespace
{
double CurveA(ShaperStage& stage, double x)
{
  const double b = stage.Step(x);
  const double b3 = (b * b) * b;
  const double b4 = b3 * b;
  return std::tanh(x) - (0.6 * std::tanh(b4) + 0.7 * std::tanh(b3));
}

double CurveB(ShaperStage& stage, double x)
{
  const double b = stage.Step(x);
  const double b2 = b * b;
  const double b3 = b2 * b;
  const double b7 = b3 * b * b * b * b;
  return std::tanh(x) - (0.7 * std::tanh(b3) + 0.05 * std::tanh(b2)) + 0.6 * std::atan(b7);
}
} // namespace

void LiteralMERO::ProcessAudio(double** inputs, double** outputs, int frames)
{
  const double fs = GetSampleRate();
  const double a = std::exp((10 / fs) * (-6.283185307179586));
  for (ParamSmoother* s : {&mLowSmoother, &mHighSmoother, &mDriveInSmoother, &mDriveOutSmoother,
                           &mOutputSmoother, &mPadSmoother})
    s->SetCoefficients(1 - a, a);
  if (frames <= 0)
    return;

  for (int i = 0; i < frames; ++i)
  {
    for (int c = 0; c < 2; ++c)
    {
      mTone[c].SetRate(fs);
      mOutputNetwork[c].DesignOutputNetwork(fs);
    }
    for (ShaperStage* s : {&mCurveA[0], &mCurveA[1], &mCurveB[0], &mCurveB[1]})
      s->DesignShaperBandPass(2 * fs);

    const int gain = ReadInteger(kGain);
    if (gain == 0)
      mGainFactor = 2.0;
    else if (gain == 1)
      mGainFactor = 1.2;

    const int pad = ReadInteger(kPad);
    if (pad == 0)
      mPadTarget = std::pow(10, -0.5);
    else if (pad == 1)
      mPadTarget = std::pow(10, -1.5);

    for (int c = 0; c < 2; ++c)
    {
      const int mode = ReadInteger(kMode);
      if (mode == 0 || mode == 1)
      {
        double x = inputs[c][i];
        if (!std::isfinite(x))
          x = 0.0;
        DriveChannel(c, x, mode);
      }
    }

    CurveA(mCurveA[0], 0.0);
    CurveA(mCurveA[1], 0.0);
    CurveB(mCurveB[0], 0.0);
    CurveB(mCurveB[1], 0.0);

    double toneScale = mToneScale;
    double modeTrim = mModeTrim;
    const int mode = ReadInteger(kMode);
    if (mode == 0)
    {
      toneScale = 1.0;
      modeTrim = std::pow(10, -0.05);
    }
    else if (mode == 1)
    {
      toneScale = 0.9;
      modeTrim = std::pow(10, -0.05500000000000001);
    }
    mToneScale = toneScale;
    mModeTrim = modeTrim;

    for (int c = 0; c < 2; ++c)
      ToneChannel(c, toneScale, modeTrim, inputs, outputs, i);
  }
}

void LiteralMERO::DriveChannel(int c, double input, int mode)
{
  const double padIn = mPadSmoother.Step(mPadTarget);
  const double d = std::pow(10, mLevel * mGainFactor / 20);
  const double driveIn = mDriveInSmoother.Step(d);
  const double driveOut = mDriveOutSmoother.Step(d);
  const double padOut = mPadSmoother.Step(mPadTarget);
  const double u = (padIn * input) * driveIn;
  const double s = mode == 0 ? CurveA(mCurveA[c], u) : CurveB(mCurveB[c], u);
  mChainValue[c] = mOutputNetwork[c].Step((s / driveOut) / padOut);
}

void LiteralMERO::ToneChannel(int c, double toneScale, double modeTrim, double** inputs, double** outputs,
                              int i)
{
  double chain = mChainValue[c];
  if (ReadInteger(kPhase) == 1)
    chain = -chain;
  const double h = mHighSmoother.Step(mHighPosition / toneScale);
  const double l = mLowSmoother.Step(mLowPosition / toneScale);
  const double g = mOutputSmoother.Step(mOutputGain);
  const double result = (mTone[c].Process(chain, l, h) * modeTrim) * g;
  if (ReadInteger(kBypas) == 1)
    outputs[c][i] = inputs[c][i];
  else
    outputs[c][i] = result;
}
