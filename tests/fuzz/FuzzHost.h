#pragma once

#include "ByteReader.h"
#include "base/source/fobject.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "tools/vst3host/ParameterChanges.h"

// Plays a careless or hostile host against one instance made by a module's factory. Each
// step is one call, or a few related ones, chosen with its arguments by the fuzz input:
// lifecycle and bus calls, setups, process calls with odd buses and channels, null
// pointers, long blocks, wild automation, state streams that are short, truncated,
// garbage, failing or holding values no parameter can have, and controller queries and
// conversions with values outside 0 ... 1. The process is aborted, with a message, when
// an answer breaks what the binding promises, a parameter holds a value outside its
// range or step, a normal block stops coming out finite, or the latency changes
// without the host being told (restartComponent with kLatencyChanged, after which
// getLatencySamples gives the new latency).
class FuzzHost
{
public:
  explicit FuzzHost(Steinberg::IPluginFactory* factory);
  ~FuzzHost();

  FuzzHost(const FuzzHost&) = delete;
  FuzzHost& operator=(const FuzzHost&) = delete;

  // Runs the step that the next bytes choose.
  void Step(ByteReader& in);
  // Renders a normal stereo block at the last accepted setup's sample size; aborts
  // unless every output sample is finite.
  void CheckNormalBlock();
  // Aborts unless getState holds every parameter within its range and on its step
  // and every parameter's normalised value lies in 0 ... 1.
  void CheckValues();
  // Aborts when the latency changed since the last check without a restart request,
  // or differs from the one reported during the last request.
  void CheckLatency();

private:
  // The component handler: counts restart requests and notes the latency then.
  class RestartWatch;

  void Initialize(ByteReader& in);
  void Arrange(ByteReader& in);
  void ActivateBus(ByteReader& in);
  void Setup(ByteReader& in);
  void Process(ByteReader& in);
  void SetState(ByteReader& in);
  void GetState(ByteReader& in);
  void Controller(ByteReader& in);
  void Query(ByteReader& in);
  void FillParameterChanges(ByteReader& in, int frames);
  std::vector<char> CurrentState();

  Steinberg::Vst::IComponent* mComponent = nullptr;
  Steinberg::Vst::IAudioProcessor* mProcessor = nullptr;
  Steinberg::Vst::IEditController* mController = nullptr;
  Steinberg::IPtr<mero::ParameterChanges> mChanges;
  Steinberg::IPtr<RestartWatch> mRestarts;
  int mCheckedRestarts = 0;
  Steinberg::uint32 mCheckedLatency = 0;
  Steinberg::int32 mSampleSize = Steinberg::Vst::kSample32;
};
