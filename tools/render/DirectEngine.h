#pragma once

#include "EffectEngine.h"
#include "MERO.h"

// Drives class MERO in-process through its plug-in base, doing what the VST 3
// binding does for a host: preset 0 loaded at initialisation, the channels
// connected for the mono or stereo configuration, the sample rate and block
// buffers set up, and per block the 32-bit bridge (ConnectInputs, ProcessAudio
// or the pass-through while bypassed, WriteOutputs) under the plug-in lock.
class DirectEngine : public EffectEngine
{
public:
  DirectEngine();

  const std::vector<EffectParam>& Params() const override { return mParams; }
  bool Prepare(double sampleRate, int channels, int maxBlock, std::string& error) override;
  bool SetParams(const std::vector<std::pair<int, double>>& values, std::string& error) override;
  void Process(const float* const* in, float* const* out, int frames) override;

private:
  MERO mPlug;
  std::vector<EffectParam> mParams;
  int mChannels = 0;
};
