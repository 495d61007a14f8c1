#include "MERO.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

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
  for (ParamSmoother* s : Smoothers())
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

std::array<ParamSmoother*, 6> MERO::Smoothers()
{
  return {&mLowSmoother, &mHighSmoother, &mDriveInSmoother, &mDriveOutSmoother, &mOutputSmoother, &mPadSmoother};
}

void MERO::SetSmootherCoefficients(double fs)
{
  const double a = std::exp((10.0 / fs) * kMinusTwoPi);
  for (ParamSmoother* s : Smoothers())
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

// What the block routine reads once per block: everything that depends only on the
// sample rate or on parameter values is constant within a block.
struct MERO::BlockSettings
{
  bool drive;
  int mode;
  bool invert;
  bool bypass;
  double driveTarget;
  double padTarget;
  double highTarget;
  double lowTarget;
  double outputGain;
  double modeTrim;
};

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
  BlockSettings b;
  b.mode = ReadInteger(kMode);
  b.drive = b.mode == 0 || b.mode == 1;
  ReadToneScale(b.mode);
  b.invert = ReadInteger(kPhase) == 1;
  b.bypass = ReadInteger(kBypas) == 1;
  b.driveTarget = std::pow(10.0, mLevel * mGainFactor / 20.0);
  b.padTarget = mPadTarget;
  b.highTarget = mHighPosition / mToneScale;
  b.lowTarget = mLowPosition / mToneScale;
  b.outputGain = mOutputGain;
  b.modeTrim = mModeTrim;

  for (int start = 0; start < frames; start += kChunkFrames)
  {
    const int n = frames - start < kChunkFrames ? frames - start : kChunkFrames;
    const double* in[2] = {inputs[kLeft] + start, inputs[kRight] + start};
    double* out[2] = {outputs[kLeft] + start, outputs[kRight] + start};
    RenderChunk(b, in, out, n);
  }
}

// The chunk runs in passes: smoothers, band-pass steps, curves, output network, tone
// network, output. Every object still sees its own steps in the documented order (the
// pad smoother left-in, left-out, right-in, right-out; each band-pass its sample, then
// its zero step); the passes keep the recursions of both channels side by side with
// their state in registers, and the curves' library calls together.
void MERO::RenderChunk(const BlockSettings& b, const double* const* in, double* const* out, int n)
{
  ChunkBuffers& k = mChunk;

  // Each smoother is stepped once per channel and sample (the pad smoother twice),
  // left first.
  double* const high[2] = {k.high[kLeft], k.high[kRight]};
  double* const low[2] = {k.low[kLeft], k.low[kRight]};
  double* const gain[2] = {k.gain[kLeft], k.gain[kRight]};
  mHighSmoother.StepInto(b.highTarget, high, 2, n);
  mLowSmoother.StepInto(b.lowTarget, low, 2, n);
  mOutputSmoother.StepInto(b.outputGain, gain, 2, n);

  ShaperStage* active[2] = {&mCurveA[kLeft], &mCurveA[kRight]};
  ShaperStage* idle[2] = {&mCurveB[kLeft], &mCurveB[kRight]};
  if (b.mode == 1)
  {
    std::swap(active[kLeft], idle[kLeft]);
    std::swap(active[kRight], idle[kRight]);
  }

  if (b.drive)
  {
    double* const pad[4] = {k.padIn[kLeft], k.padOut[kLeft], k.padIn[kRight], k.padOut[kRight]};
    double* const driveIn[2] = {k.driveIn[kLeft], k.driveIn[kRight]};
    double* const driveOut[2] = {k.driveOut[kLeft], k.driveOut[kRight]};
    mPadSmoother.StepInto(b.padTarget, pad, 4, n);
    mDriveInSmoother.StepInto(b.driveTarget, driveIn, 2, n);
    mDriveOutSmoother.StepInto(b.driveTarget, driveOut, 2, n);
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < n; ++i)
        k.stageIn[c][i] = (k.padIn[c][i] * Sanitize(in[c][i])) * k.driveIn[c][i];
    ShaperStage::StepPair(*active[kLeft], *active[kRight], k.stageIn[kLeft], k.stageIn[kRight], k.shaped[kLeft],
                          k.shaped[kRight], n, true);
  }
  else
  {
    for (int i = 0; i < n; ++i)
    {
      active[kLeft]->Step(0.0);
      active[kRight]->Step(0.0);
    }
  }
  for (int i = 0; i < n; ++i)
  {
    idle[kLeft]->Step(0.0);
    idle[kRight]->Step(0.0);
  }

  if (b.drive)
  {
    for (int c = 0; c < 2; ++c)
    {
      // The curve outputs replace the band-passed values.
      if (b.mode == 0)
      {
        for (int i = 0; i < n; ++i)
          k.shaped[c][i] = ShaperStage::CurveA(k.stageIn[c][i], k.shaped[c][i]);
      }
      else
      {
        for (int i = 0; i < n; ++i)
          k.shaped[c][i] = ShaperStage::CurveB(k.stageIn[c][i], k.shaped[c][i]);
      }
      for (int i = 0; i < n; ++i)
        k.chain[c][i] = (k.shaped[c][i] / k.driveOut[c][i]) / k.padOut[c][i];
    }
    IIRFilter<3>::StepPair(mOutputNetwork[kLeft], mOutputNetwork[kRight], k.chain[kLeft], k.chain[kRight],
                           k.chain[kLeft], k.chain[kRight], n, false);
    mChainValue[kLeft] = k.chain[kLeft][n - 1];
    mChainValue[kRight] = k.chain[kRight][n - 1];
  }
  else
  {
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < n; ++i)
        k.chain[c][i] = mChainValue[c];
  }

  if (b.invert)
  {
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < n; ++i)
        k.chain[c][i] = -k.chain[c][i];
  }
  ToneNetwork::ProcessPair(mTone[kLeft], mTone[kRight], k.chain[kLeft], k.chain[kRight], k.low[kLeft], k.low[kRight],
                           k.high[kLeft], k.high[kRight], k.tone[kLeft], k.tone[kRight], n);

  for (int i = 0; i < n; ++i)
  {
    for (int c = 0; c < 2; ++c)
    {
      const double processed = (k.tone[c][i] * b.modeTrim) * k.gain[c][i];
      out[c][i] = b.bypass ? in[c][i] : processed;
    }
  }
}
