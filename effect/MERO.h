#pragma once

#include <array>
#include <limits>

#include "DryDelay.h"
#include "IPlugVST3.h"
#include "IIRFilter.h"
#include "OversampledDrive.h"
#include "ParamSmoother.h"
#include "ShaperStage.h"
#include "SwitchFade.h"
#include "ToneNetwork.h"

// The product: a stereo drive-and-tone effect. Per channel the block routine runs
// pad and drive gain -> shaper stage -> drive and pad compensation -> output network
// -> polarity -> tone network -> mode trim and output gain -> bypass switch, in double
// precision, sample by sample. The configuration is one in to one out or two to two.
// With "Quality" at High or Ultra the part from pad and drive gain to the compensation
// runs at 4 or 8 times the rate (OversampledDrive); the output is then late by the
// latency the plug-in reports, and so is the dry signal of "Bypas".
class MERO : public IPlugVST3
{
public:
  enum EParams
  {
    kLevel = 0,
    kLow,
    kHigh,
    kOutput,
    kMode,
    kGain,
    kPad,
    kPhase,
    kBypas,
    kQuality,
    kNumParams
  };

  // Positions of "Quality": the drive stage at the base rate, at 4 and at 8 times it.
  enum EQuality
  {
    kStandard = 0,
    kHigh4x,
    kUltra8x,
    kNumQualities
  };

  MERO();
  ~MERO() override;

  // Turns the new value of one parameter into its model setting, under the plug-in lock.
  void HandleParamChange(int index) override;

  // Renders one block; always reads inputs[0] and inputs[1] and writes outputs[0]
  // and outputs[1]. A non-finite input sample is processed as 0.0 (bypass passes it
  // on unchanged). "Phase" and "Bypas" act when they read 1; any other reading
  // processes normally, so that every output sample is written.
  //
  // The processed output stays finite whatever the input: a processed sample that is not finite
  // is written as 0.0, and after every 64th frame of a block and after its last frame a
  // channel whose chain (shaper stages, output network, tone network) holds a value
  // that is not finite starts again from rest, so at most the rest of those 64 frames
  // of that channel are silent. When the sample rate differs from the previous block's,
  // the whole effect starts from rest (filters, shaper histories and smoothers, as in a
  // fresh instance) before the block.
  void ProcessAudio(double** inputs, double** outputs, int frames) override;

  // Rest: after a block whose input was all zeros, when every filter state value of both
  // channels (shaper stages, output network, tone network, chain values) is at most
  // kRestLevel, the chain is flushed to zero and is at rest. While at rest, a block of
  // zeros runs no filter: the smoothers and the tone controls advance as they would,
  // the outputs are zeros and IsOutputSilent says so. A state of kRestLevel gives every
  // later output sample of a zero input less than 2^-170 in magnitude, which a 32-bit
  // sample holds as zero, and against any input in the 32-bit normal range it is below
  // half an ulp of the values it would meet, so it is absorbed exactly.
  static constexpr double kRestLevel = 0x1p-200;
  bool AtRest() const { return mAtRest; }

  // Activation starts the effect from rest, as a fresh instance, under the plug-in lock.
  void HandleActivate(bool active) override;

protected:
  // A parameter's value truncated toward zero; kNoPosition when it has no
  // 32-bit integer value (NaN or out of range), which every switch ignores.
  static constexpr int kNoPosition = -2147483647 - 1;
  int ReadInteger(int index) const;

  static void DefineQuality(IParamRecord* quality);
  // The oversampling factor of a "Quality" position (1 for Standard), and the latency
  // in frames it gives the output.
  static int FactorOf(int quality);
  static int LatencyOf(int quality);
  // The position "Quality" asks for; the running one while it reads no position.
  int TargetQuality() const;
  int RunningQuality() const { return mRunningQuality; }

  // The six control smoothers.
  std::array<ParamSmoother*, 6> Smoothers();
  // Smoother coefficients for a 10 Hz corner at the sample rate fs.
  void SetSmootherCoefficients(double fs);
  // Every filter design for the sample rate fs.
  void DesignFilters(double fs);
  // Smoothers, filters and shaper histories as at construction (designs kept).
  void StartFromRest();
  void RestChannel(int channel);
  bool ChainFinite(int channel) const;
  // Gain factor and pad target from "Gain" and "Pad"; tone scale and mode trim from
  // "Mode" (for mode 0 or 1).
  void ReadGainAndPad();
  void ReadToneScale(int mode);
  // 10^(Level * gain factor / 20), recomputed only when the product changes.
  double DriveTarget();

  enum EChannel
  {
    kLeft = 0,
    kRight = 1
  };

  // Model settings.
  double mLevel = 6.0;
  double mLowPosition = 0.088;
  double mHighPosition = 0.088;
  double mOutputGain = 1.0;
  double mGainFactor = 1.2;
  double mPadTarget;
  double mToneScale = 1.0;
  double mModeTrim;

  // What the values above were last computed from, so that a block whose switches and
  // rate are unchanged calls no library function for them. -1 and NaN: not yet.
  int mPadSwitch = -1;
  int mModeSwitch = -1;
  double mDriveDecibels = std::numeric_limits<double>::quiet_NaN();
  double mDriveTarget = 1.0;
  double mSmootherRate = std::numeric_limits<double>::quiet_NaN();

  // Control smoothers.
  ParamSmoother mLowSmoother;
  ParamSmoother mHighSmoother;
  ParamSmoother mDriveInSmoother;
  ParamSmoother mDriveOutSmoother;
  ParamSmoother mOutputSmoother;
  ParamSmoother mPadSmoother;

  // Per-channel signal chain.
  ToneNetwork mTone[2];
  IIRFilter<3> mOutputNetwork[2];
  ShaperStage mCurveA[2];
  ShaperStage mCurveB[2];
  // Output-network result per channel; kept when "Mode" reads neither 0 nor 1.
  double mChainValue[2] = {0.0, 0.0};

private:
  // Frames rendered per pass of RenderChunk.
  static constexpr int kChunkFrames = 64;
  struct BlockSettings;
  void RenderChunk(const BlockSettings& settings, const double* const* in, double* const* out, int n);

  // The steps of RenderChunk, in order; each runs over the chunk's n frames.
  void StepToneSmoothers(const BlockSettings& settings, int n);
  void StepDriveSmoothers(const BlockSettings& settings, int n);
  void ComputeStageInputs(const double* const* in, int n);
  static void StepZeros(ShaperStage& left, ShaperStage& right, int n);
  void ShapeAndCompensate(int mode, int n);
  void RunOutputNetworks(int n);
  void HoldChainValues(int n);
  void InvertChain(int n);
  void RunToneNetworks(int n);
  void WriteOutputs(const BlockSettings& settings, const double* const* dry, double* const* out, int n);
  // The same steps with both channels in the lanes of Double2 and the passes merged, so
  // that the recursions of the filters overlap with the curves' library calls; for
  // filters that are not steady.
  template <int Mode>
  void ShapeSideBySide(const double* const* in, int n);
  template <int Mode>
  void ShapeSample(int i, Double2 stageIn, Double2 band);
  Double2 StageInput(const double* const* in, int i) const;
  void RunNetworksSideBySide(bool invert, int n);
  // After each chunk.
  void RestChannelsNotFinite();

  static bool InputSilent(double** inputs, int frames);
  bool ChainNegligible() const;
  void FlushChain();
  bool ControlsSettled(const BlockSettings& settings) const;
  void RenderAtRest(const BlockSettings& settings, double** outputs, int frames);

  // The stage whose curve a mode uses, and the one it leaves to the zero steps.
  ShaperStage& ActiveStage(int mode, int channel);
  ShaperStage& IdleStage(int mode, int channel);

  // The processing path of a "Quality" position, from rest (the controls keep gliding).
  void SwitchQuality(int quality);
  // The oversampled drive stage for the chunk, into the chain values.
  void DriveOversampled(const double* const* in, int mode, int n);
  // The chunk's output gain while the path changes.
  void FadeForSwitch(int target, double* const* out, int n);

  // Per-sample values that RenderChunk hands from one pass to the next, per channel.
  struct ChunkBuffers
  {
    double padIn[2][kChunkFrames];
    double driveIn[2][kChunkFrames];
    double driveOut[2][kChunkFrames];
    double padOut[2][kChunkFrames];
    double high[2][kChunkFrames];
    double low[2][kChunkFrames];
    double gain[2][kChunkFrames];
    double stageIn[2][kChunkFrames];
    double shaped[2][kChunkFrames];
    double chain[2][kChunkFrames];
    double tone[2][kChunkFrames];
    double dry[2][kChunkFrames];
  };
  ChunkBuffers mChunk;

  // The rate the filters are designed for and the signal state belongs to; NaN until
  // the first block.
  double mDesignedRate;
  bool mAtRest = false;

  // The oversampled path of High and Ultra, the dry signal's matching delay, and the
  // fade that covers a change of path.
  OversampledDrive mOversampled;
  DryDelay mDry;
  SwitchFade mFade;
  int mRunningQuality = kStandard;
};
