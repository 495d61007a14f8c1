#pragma once

// A stereo effect of the binding whose one parameter, "Latency" (0 ... 100 samples, all
// reserved), is its latency; and the calls that drive an instance of the binding
// in-process with 32-bit blocks.

#include "IMutexLock.h"
#include "vst3/IPlugVST3.h"

class LatencyPlug : public IPlugVST3
{
public:
  static constexpr int kMaxLatency = 100;

  LatencyPlug()
    : IPlugVST3(1, "1-1 2-2", 0, "Latency", "", "Maker", 1, 1, 1, 1, false, false, 0)
  {
    GetParamRecord(0)->DefineInteger("Latency", 0, 0, kMaxLatency);
    ReserveLatency(kMaxLatency);
  }

  void HandleParamChange(int index) override
  {
    IMutexLock lock(GetMutex());
    if (index == 0) ChangeLatency(static_cast<int>(GetParamRecord(0)->GetValue()));
  }
};

namespace InProcess
{
// Initialised, stereo with both buses on, set up for blocks of up to 512 frames and
// active.
inline bool Prepare(IPlugVST3& plug)
{
  using namespace Steinberg;
  using namespace Steinberg::Vst;
  SpeakerArrangement stereo = SpeakerArr::kStereo;
  ProcessSetup setup{kRealtime, kSample32, 512, 44100.0};
  return plug.initialize(nullptr) == kResultOk && plug.setBusArrangements(&stereo, 1, &stereo, 1) == kResultOk &&
         plug.activateBus(kAudio, kInput, 0, true) == kResultOk &&
         plug.activateBus(kAudio, kOutput, 0, true) == kResultOk && plug.setupProcessing(setup) == kResultOk &&
         plug.setActive(true) == kResultOk;
}

// One process call over stereo buffers (in place allowed).
inline void ProcessStereo(IPlugVST3& plug, Steinberg::Vst::IParameterChanges* changes, float** in, float** out,
                          int frames)
{
  using namespace Steinberg::Vst;
  AudioBusBuffers inBus, outBus;
  inBus.numChannels = outBus.numChannels = 2;
  inBus.channelBuffers32 = in;
  outBus.channelBuffers32 = out;
  ProcessData data;
  data.symbolicSampleSize = kSample32;
  data.numSamples = frames;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  data.inputParameterChanges = changes;
  plug.process(data);
}
}  // namespace InProcess
