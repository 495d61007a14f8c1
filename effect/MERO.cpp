#include "MERO.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "IGraphics.h"
#include "IGraphicsFactory.h"
#include "IMutexLock.h"
#include "MEROEditor.h"
#include "MEROImages.h"
#include "vst3/ModuleHandle.h"

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
// Length of each ramp of the fade that covers a change of "Quality".
constexpr double kSwitchRampSeconds = 0.005;

const double kLowPositions[3] = {0.035, 0.088, 0.188};
const double kHighPositions[4] = {0.043, 0.088, 0.145, 0.22};

// Drive and trim switches: Gain 0/1 gives dB per Level step, Pad 0/1 the drive
// reduction, Mode 0/1 the tone scale and the trim exponent.
const double kGainFactors[2] = {2.0, 1.2};
const double kPadExponents[2] = {-0.5, -1.5};
const double kToneScales[2] = {1.0, 0.9};
const double kTrimExponents[2] = {-0.05, -0.05500000000000001};

constexpr double kLargest = std::numeric_limits<double>::max();

// The processed path treats a non-finite sample as silence so that it cannot stay
// in the filter histories.
inline double Sanitize(double x)
{
  return std::isfinite(x) ? x : 0.0;
}
}  // namespace

MERO::MERO()
  : IPlugVST3(kNumParams, "1-1 2-2", kNumPresets, "MERO", "", "Parvolen", kVendorVersion, FourCharCode("Mer1"),
              FourCharCode("Prvl"), kPlugApiVst3, false, false, 0)
  , mPadTarget(std::pow(10.0, kPadExponents[0]))
  , mModeTrim(std::pow(10.0, kTrimExponents[0]))
  , mDesignedRate(std::numeric_limits<double>::quiet_NaN())
{
  GetParamRecord(kLevel)->DefineInteger("Level", 6, 0, 20, "", "");
  GetParamRecord(kMode)->DefineInteger("Mode", 0, 0, 1, "", "");
  GetParamRecord(kGain)->DefineInteger("Gain", 1, 0, 1, "", "");
  GetParamRecord(kPad)->DefineInteger("Pad", 0, 0, 1, "", "");
  GetParamRecord(kPhase)->DefineInteger("Phase", 0, 0, 1, "", "");
  GetParamRecord(kLow)->DefineInteger("Low", 1, 0, 2, "", "");
  GetParamRecord(kHigh)->DefineInteger("High", 1, 0, 3, "", "");
  GetParamRecord(kBypas)->DefineInteger("Bypas", 0, 0, 1, "", "");
  DefineQuality(GetParamRecord(kQuality));
  SetNOriginalStateParams(kQuality);  // states from before "Quality" hold the nine before it
  ReserveLatency(LatencyOf(kUltra8x));
  IParamRecord* output = GetParamRecord(kOutput);
  output->DefineContinuous("Output", 0.0, -96.0, 12.0, 0.01, "dB", "", 1.0);
  output->SetShape(0.17);

  if (IGraphics* editor =
          MakeGraphics(this, MEROEditor::kWidth, MEROEditor::kHeight, MEROEditor::kFrameRate, gModuleHandle))
  {
    editor->SetImageSource(&MEROImages());
    MEROEditor::Build(this, editor);
    AttachEditor(editor);
  }

  CaptureDefaultPreset();
}

MERO::~MERO() = default;

int MERO::FactorOf(int quality)
{
  return quality == kUltra8x ? 8 : (quality == kHigh4x ? 4 : 1);
}

int MERO::LatencyOf(int quality)
{
  const int factor = FactorOf(quality);
  return factor == 1 ? 0 : OversampledDrive::LatencyOf(factor);
}

int MERO::TargetQuality() const
{
  const int k = ReadInteger(kQuality);
  return k >= kStandard && k < kNumQualities ? k : mRunningQuality;
}

void MERO::DefineQuality(IParamRecord* quality)
{
  quality->DefineInteger("Quality", kStandard, kStandard, kNumQualities - 1, "", "");
  quality->AddDisplayText(kStandard, "Standard");
  quality->AddDisplayText(kHigh4x, "High");
  quality->AddDisplayText(kUltra8x, "Ultra");
}

int MERO::ReadInteger(int index) const
{
  const double v = GetParamRecord(index)->GetValue();
  if (!(v > -2147483649.0 && v < 2147483648.0)) return kNoPosition;
  return static_cast<int>(v);
}

void MERO::HandleParamChange(int index)
{
  IMutexLock lock(GetMutex());
  if (index < 0 || index >= kNumParams) return;
  const int k = ReadInteger(index);
  switch (index)
  {
    case kLevel:
      if (k >= 0 && k <= 20) mLevel = k;
      break;
    case kLow:
      if (k >= 0 && k <= 2) mLowPosition = kLowPositions[k];
      break;
    case kHigh:
      if (k >= 0 && k <= 3) mHighPosition = kHighPositions[k];
      break;
    case kOutput:
    {
      const double dB = GetParamRecord(kOutput)->GetValue();
      if (!std::isnan(dB)) mOutputGain = std::pow(10.0, dB / 20.0);
      break;
    }
    case kQuality:
      if (k >= kStandard && k < kNumQualities) ChangeLatency(LatencyOf(k));
      break;
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
  if (fs == mSmootherRate) return;
  mSmootherRate = fs;
  const double a = std::exp((10.0 / fs) * kMinusTwoPi);
  for (ParamSmoother* s : Smoothers()) s->SetCoefficients(1.0 - a, a);
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
  if (mRunningQuality != kStandard) mOversampled.Configure(FactorOf(mRunningQuality), fs);
  mFade.SetRampFrames(static_cast<int>(std::lround(kSwitchRampSeconds * fs)));
}

void MERO::StartFromRest()
{
  for (ParamSmoother* s : Smoothers()) s->Reset();
  mSmootherRate = std::numeric_limits<double>::quiet_NaN();  // Reset cleared the coefficients
  RestChannel(kLeft);
  RestChannel(kRight);
  mRunningQuality = TargetQuality();
  if (mRunningQuality != kStandard && std::isfinite(mDesignedRate))
    mOversampled.Configure(FactorOf(mRunningQuality), mDesignedRate);
  mDry.SetLength(LatencyOf(mRunningQuality));
  mFade.Reset();
}

void MERO::SwitchQuality(int quality)
{
  mRunningQuality = quality;
  if (quality != kStandard) mOversampled.Configure(FactorOf(quality), mDesignedRate);
  FlushChain();
  mDry.SetLength(LatencyOf(quality));
}

void MERO::RestChannel(int c)
{
  mTone[c].ClearState();
  mOutputNetwork[c].ClearHistories();
  mCurveA[c].ClearHistories();
  mCurveB[c].ClearHistories();
  mChainValue[c] = 0.0;
  mOversampled.ResetChannel(c);
}

bool MERO::ChainFinite(int c) const
{
  return mTone[c].StateFinite() && mOutputNetwork[c].HistoriesFinite() && mCurveA[c].HistoriesFinite() &&
         mCurveB[c].HistoriesFinite() && std::fabs(mChainValue[c]) <= kLargest && mOversampled.ChannelFinite(c);
}

void MERO::HandleActivate(bool active)
{
  IMutexLock lock(GetMutex());
  if (active) StartFromRest();
}

void MERO::ReadGainAndPad()
{
  const int gain = ReadInteger(kGain);
  if (gain == 0 || gain == 1) mGainFactor = kGainFactors[gain];
  const int pad = ReadInteger(kPad);
  if ((pad == 0 || pad == 1) && pad != mPadSwitch)
  {
    mPadSwitch = pad;
    mPadTarget = std::pow(10.0, kPadExponents[pad]);
  }
}

double MERO::DriveTarget()
{
  const double dB = mLevel * mGainFactor;
  if (!(dB == mDriveDecibels))
  {
    mDriveDecibels = dB;
    mDriveTarget = std::pow(10.0, dB / 20.0);
  }
  return mDriveTarget;
}

void MERO::ReadToneScale(int mode)
{
  if ((mode == 0 || mode == 1) && mode != mModeSwitch)
  {
    mModeSwitch = mode;
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
  if (!(fs == mDesignedRate))
  {
    StartFromRest();
    DesignFilters(fs);
    mDesignedRate = fs;
  }
  SetSmootherCoefficients(fs);
  if (frames <= 0) return;

  ReadGainAndPad();
  BlockSettings b;
  b.mode = ReadInteger(kMode);
  b.drive = b.mode == 0 || b.mode == 1;
  ReadToneScale(b.mode);
  b.invert = ReadInteger(kPhase) == 1;
  b.bypass = ReadInteger(kBypas) == 1;
  b.driveTarget = DriveTarget();
  b.padTarget = mPadTarget;
  b.highTarget = mHighPosition / mToneScale;
  b.lowTarget = mLowPosition / mToneScale;
  b.outputGain = mOutputGain;
  b.modeTrim = mModeTrim;

  const int target = TargetQuality();
  const bool silent = InputSilent(inputs, frames);
  if (mAtRest && silent)
  {
    if (target != mRunningQuality)
    {
      SwitchQuality(target);
      mFade.Reset();
    }
    RenderAtRest(b, outputs, frames);
    SetOutputSilent(true);
    return;
  }
  mAtRest = false;
  SetOutputSilent(false);
  for (int start = 0; start < frames; start += kChunkFrames)
  {
    const int n = frames - start < kChunkFrames ? frames - start : kChunkFrames;
    const double* in[2] = {inputs[kLeft] + start, inputs[kRight] + start};
    double* out[2] = {outputs[kLeft] + start, outputs[kRight] + start};
    if (target != mRunningQuality && mFade.ReadyToSwitch())
    {
      SwitchQuality(target);
      mFade.Switched(LatencyOf(target));
    }
    RenderChunk(b, in, out, n);
    FadeForSwitch(target, out, n);
    RestChannelsNotFinite();
  }
  if (silent && ChainNegligible())
  {
    FlushChain();
    mAtRest = true;
  }
}

bool MERO::InputSilent(double** inputs, int frames)
{
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < frames; ++i)
      if (!(inputs[c][i] == 0.0)) return false;
  return true;
}

bool MERO::ChainNegligible() const
{
  for (int c = 0; c < 2; ++c)
  {
    if (!(mTone[c].FilterStateWithin(kRestLevel) && mOutputNetwork[c].HistoriesWithin(kRestLevel) &&
          mCurveA[c].HistoriesWithin(kRestLevel) && mCurveB[c].HistoriesWithin(kRestLevel) &&
          std::fabs(mChainValue[c]) <= kRestLevel))
      return false;
  }
  return mOversampled.HistoryWithin(kRestLevel) && mDry.Within(kRestLevel);
}

void MERO::FlushChain()
{
  for (int c = 0; c < 2; ++c)
  {
    mTone[c].ClearFilterState();
    mOutputNetwork[c].ClearHistories();
    mCurveA[c].ClearHistories();
    mCurveB[c].ClearHistories();
    mChainValue[c] = 0.0;
  }
  mOversampled.Reset();
  mDry.Clear();
}

bool MERO::ControlsSettled(const BlockSettings& b) const
{
  bool settled =
      mHighSmoother.Settled(b.highTarget) && mLowSmoother.Settled(b.lowTarget) && mOutputSmoother.Settled(b.outputGain);
  if (b.drive)
    settled = settled && mPadSmoother.Settled(b.padTarget) && mDriveInSmoother.Settled(b.driveTarget) &&
              mDriveOutSmoother.Settled(b.driveTarget);
  for (int c = 0; c < 2 && settled; ++c)
    settled = mTone[c].ControlsSettled(mLowSmoother.Value(), mHighSmoother.Value());
  return settled;
}

// At rest every filter holds zeros and a zero input keeps it there; only the controls
// move, exactly as the full routine moves them.
void MERO::RenderAtRest(const BlockSettings& b, double** outputs, int frames)
{
  for (int start = 0; start < frames; start += kChunkFrames)
  {
    const int n = frames - start < kChunkFrames ? frames - start : kChunkFrames;
    if (!ControlsSettled(b))
    {
      StepToneSmoothers(b, n);
      if (b.drive) StepDriveSmoothers(b, n);
      for (int c = 0; c < 2; ++c) mTone[c].GlideControls(mChunk.low[c], mChunk.high[c], n);
    }
  }
  for (int c = 0; c < 2; ++c) std::memset(outputs[c], 0, sizeof(double) * static_cast<size_t>(frames));
}

// The chunk runs in passes: smoothers, band-pass steps, curves, output network, tone
// network, output. Every object still sees its own steps in the documented order (the
// pad smoother left-in, left-out, right-in, right-out; each band-pass its sample, then
// its zero step); the passes keep the recursions of both channels side by side with
// their state in registers, and the curves' library calls together.
void MERO::RenderChunk(const BlockSettings& b, const double* const* in, double* const* out, int n)
{
  StepToneSmoothers(b, n);
  bool shaped = false;
  const bool oversampled = mRunningQuality != kStandard;
  if (b.drive && oversampled)
  {
    StepDriveSmoothers(b, n);
    DriveOversampled(in, b.mode, n);
    shaped = true;
  }
  else if (b.drive)
  {
    StepDriveSmoothers(b, n);
    ShaperStage& left = ActiveStage(b.mode, kLeft);
    ShaperStage& right = ActiveStage(b.mode, kRight);
    if (!left.Steady() && !right.Steady())
    {
      if (b.mode == 0)
        ShapeSideBySide<0>(in, n);
      else
        ShapeSideBySide<1>(in, n);
      shaped = true;
    }
    else
    {
      ComputeStageInputs(in, n);
      ShaperStage::StepPair(left, right, mChunk.stageIn[kLeft], mChunk.stageIn[kRight], mChunk.shaped[kLeft],
                            mChunk.shaped[kRight], n, true);
    }
  }
  else if (!oversampled)
  {
    StepZeros(ActiveStage(b.mode, kLeft), ActiveStage(b.mode, kRight), n);
  }
  if (!oversampled) StepZeros(IdleStage(b.mode, kLeft), IdleStage(b.mode, kRight), n);

  if (b.drive && !shaped) ShapeAndCompensate(b.mode, n);
  const bool sideBySide = b.drive && !mOutputNetwork[kLeft].Steady() && !mOutputNetwork[kRight].Steady() &&
                          !mTone[kLeft].Steady() && !mTone[kRight].Steady();
  if (sideBySide)
  {
    RunNetworksSideBySide(b.invert, n);
  }
  else
  {
    if (b.drive)
      RunOutputNetworks(n);
    else
      HoldChainValues(n);
    if (b.invert) InvertChain(n);
    RunToneNetworks(n);
  }
  if (oversampled)
  {
    double* const dry[2] = {mChunk.dry[kLeft], mChunk.dry[kRight]};
    mDry.Process(in, dry, n);
    const double* const delayed[2] = {dry[kLeft], dry[kRight]};
    WriteOutputs(b, delayed, out, n);
  }
  else
  {
    WriteOutputs(b, in, out, n);
  }
}

void MERO::DriveOversampled(const double* const* in, int mode, int n)
{
  ChunkBuffers& k = mChunk;
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i) k.stageIn[c][i] = Sanitize(in[c][i]);
  const OversampledDrive::Gains gains = {{k.padIn[kLeft], k.padIn[kRight]},
                                         {k.driveIn[kLeft], k.driveIn[kRight]},
                                         {k.driveOut[kLeft], k.driveOut[kRight]},
                                         {k.padOut[kLeft], k.padOut[kRight]}};
  const double* const clean[2] = {k.stageIn[kLeft], k.stageIn[kRight]};
  double* const chain[2] = {k.chain[kLeft], k.chain[kRight]};
  mOversampled.Process(mode, gains, clean, chain, n);
}

void MERO::FadeForSwitch(int target, double* const* out, int n)
{
  const bool switchWanted = target != mRunningQuality;
  if (!mFade.Transparent(switchWanted)) mFade.Apply(switchWanted, out, 2, n);
}

Double2 MERO::StageInput(const double* const* in, int i) const
{
  const ChunkBuffers& k = mChunk;
  return Double2{(k.padIn[kLeft][i] * Sanitize(in[kLeft][i])) * k.driveIn[kLeft][i],
                 (k.padIn[kRight][i] * Sanitize(in[kRight][i])) * k.driveIn[kRight][i]};
}

// Sample i's band-pass step is issued before the curves of sample i - 1, so the
// recursion runs on while the library calls of the previous sample execute.
template <int Mode>
void MERO::ShapeSideBySide(const double* const* in, int n)
{
  ShaperStage::Pair stages(ActiveStage(Mode, kLeft), ActiveStage(Mode, kRight));
  const Double2 zero = {0.0, 0.0};
  Double2 stageIn = StageInput(in, 0);
  Double2 band = stages.Step(stageIn);
  stages.Step(zero);
  for (int i = 1; i < n; ++i)
  {
    const Double2 nextIn = StageInput(in, i);
    const Double2 nextBand = stages.Step(nextIn);
    stages.Step(zero);
    ShapeSample<Mode>(i - 1, stageIn, band);
    stageIn = nextIn;
    band = nextBand;
  }
  ShapeSample<Mode>(n - 1, stageIn, band);
  stages.Store();
}

template <int Mode>
void MERO::ShapeSample(int i, Double2 stageIn, Double2 band)
{
  ChunkBuffers& k = mChunk;
  Double2 shaped;
  if (Mode == 0)
    shaped = Double2{ShaperStage::CurveA(stageIn[0], band[0]), ShaperStage::CurveA(stageIn[1], band[1])};
  else
    shaped = Double2{ShaperStage::CurveB(stageIn[0], band[0]), ShaperStage::CurveB(stageIn[1], band[1])};
  const Double2 chain = (shaped / Double2{k.driveOut[kLeft][i], k.driveOut[kRight][i]}) /
                        Double2{k.padOut[kLeft][i], k.padOut[kRight][i]};
  k.chain[kLeft][i] = chain[0];
  k.chain[kRight][i] = chain[1];
}

void MERO::RunNetworksSideBySide(bool invert, int n)
{
  ChunkBuffers& k = mChunk;
  IIRFilter<3>::Pair networks(mOutputNetwork[kLeft], mOutputNetwork[kRight]);
  ToneNetwork::Pair tones(mTone[kLeft], mTone[kRight]);
  Double2 chain = {0.0, 0.0};
  for (int i = 0; i < n; ++i)
  {
    chain = networks.Step(Double2{k.chain[kLeft][i], k.chain[kRight][i]});
    const Double2 y = tones.Step(invert ? -chain : chain, Double2{k.low[kLeft][i], k.low[kRight][i]},
                                 Double2{k.high[kLeft][i], k.high[kRight][i]});
    k.tone[kLeft][i] = y[0];
    k.tone[kRight][i] = y[1];
  }
  networks.Store();
  tones.Store();
  mChainValue[kLeft] = chain[0];
  mChainValue[kRight] = chain[1];
}

// Each smoother is stepped once per channel and sample (the pad smoother twice), left
// first.
void MERO::StepToneSmoothers(const BlockSettings& b, int n)
{
  ChunkBuffers& k = mChunk;
  double* const high[2] = {k.high[kLeft], k.high[kRight]};
  double* const low[2] = {k.low[kLeft], k.low[kRight]};
  double* const gain[2] = {k.gain[kLeft], k.gain[kRight]};
  mHighSmoother.StepInto(b.highTarget, high, 2, n);
  mLowSmoother.StepInto(b.lowTarget, low, 2, n);
  mOutputSmoother.StepInto(b.outputGain, gain, 2, n);
}

void MERO::StepDriveSmoothers(const BlockSettings& b, int n)
{
  ChunkBuffers& k = mChunk;
  double* const pad[4] = {k.padIn[kLeft], k.padOut[kLeft], k.padIn[kRight], k.padOut[kRight]};
  double* const driveIn[2] = {k.driveIn[kLeft], k.driveIn[kRight]};
  double* const driveOut[2] = {k.driveOut[kLeft], k.driveOut[kRight]};
  mPadSmoother.StepInto(b.padTarget, pad, 4, n);
  mDriveInSmoother.StepInto(b.driveTarget, driveIn, 2, n);
  mDriveOutSmoother.StepInto(b.driveTarget, driveOut, 2, n);
}

void MERO::ComputeStageInputs(const double* const* in, int n)
{
  ChunkBuffers& k = mChunk;
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i) k.stageIn[c][i] = (k.padIn[c][i] * Sanitize(in[c][i])) * k.driveIn[c][i];
}

ShaperStage& MERO::ActiveStage(int mode, int c)
{
  return mode == 1 ? mCurveB[c] : mCurveA[c];
}

ShaperStage& MERO::IdleStage(int mode, int c)
{
  return mode == 1 ? mCurveA[c] : mCurveB[c];
}

void MERO::StepZeros(ShaperStage& left, ShaperStage& right, int n)
{
  for (int i = 0; i < n; ++i)
  {
    left.Step(0.0);
    right.Step(0.0);
  }
}

// The curve outputs replace the band-passed values; the drive and pad gains are then
// divided out again.
void MERO::ShapeAndCompensate(int mode, int n)
{
  ChunkBuffers& k = mChunk;
  for (int c = 0; c < 2; ++c)
  {
    if (mode == 0)
    {
      for (int i = 0; i < n; ++i) k.shaped[c][i] = ShaperStage::CurveA(k.stageIn[c][i], k.shaped[c][i]);
    }
    else
    {
      for (int i = 0; i < n; ++i) k.shaped[c][i] = ShaperStage::CurveB(k.stageIn[c][i], k.shaped[c][i]);
    }
    for (int i = 0; i < n; ++i) k.chain[c][i] = (k.shaped[c][i] / k.driveOut[c][i]) / k.padOut[c][i];
  }
}

void MERO::RunOutputNetworks(int n)
{
  ChunkBuffers& k = mChunk;
  IIRFilter<3>::StepPair(mOutputNetwork[kLeft], mOutputNetwork[kRight], k.chain[kLeft], k.chain[kRight], k.chain[kLeft],
                         k.chain[kRight], n, false);
  mChainValue[kLeft] = k.chain[kLeft][n - 1];
  mChainValue[kRight] = k.chain[kRight][n - 1];
}

void MERO::HoldChainValues(int n)
{
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i) mChunk.chain[c][i] = mChainValue[c];
}

void MERO::InvertChain(int n)
{
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i) mChunk.chain[c][i] = -mChunk.chain[c][i];
}

void MERO::RunToneNetworks(int n)
{
  ChunkBuffers& k = mChunk;
  ToneNetwork::ProcessPair(mTone[kLeft], mTone[kRight], k.chain[kLeft], k.chain[kRight], k.low[kLeft], k.low[kRight],
                           k.high[kLeft], k.high[kRight], k.tone[kLeft], k.tone[kRight], n);
}

// Each dry sample is read before the output sample of the same index is written, so
// the buffers may be the same.
void MERO::WriteOutputs(const BlockSettings& b, const double* const* dry, double* const* out, int n)
{
  ChunkBuffers& k = mChunk;
  if (b.bypass)
  {
    for (int i = 0; i < n; ++i)
    {
      out[kLeft][i] = dry[kLeft][i];
      out[kRight][i] = dry[kRight][i];
    }
    return;
  }
  for (int c = 0; c < 2; ++c)
  {
    for (int i = 0; i < n; ++i)
    {
      const double processed = (k.tone[c][i] * b.modeTrim) * k.gain[c][i];
      out[c][i] = std::fabs(processed) <= kLargest ? processed : 0.0;
    }
  }
}

void MERO::RestChannelsNotFinite()
{
  for (int c = 0; c < 2; ++c)
    if (!ChainFinite(c)) RestChannel(c);
}
