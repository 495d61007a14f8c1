#pragma once

// One plug-in instance driven the way a DAW drives it: created from a module's factory
// as IComponent, with its IAudioProcessor and IEditController taken from the same object;
// initialize, bus arrangement and activation, processing setup, activation, process
// calls with the parameter changes queued since the last block, state through a memory
// stream, and the teardown in reverse order.

#include "tools/vst3host/ParameterChanges.h"
#include "tools/vst3host/Vst3Module.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <vector>

namespace mero
{

class Vst3Plugin
{
public:
  Vst3Plugin() = default;
  ~Vst3Plugin();
  Vst3Plugin(const Vst3Plugin&) = delete;
  Vst3Plugin& operator=(const Vst3Plugin&) = delete;

  // Creates an instance of the factory's class at classIndex; false when the class,
  // the instance or one of its three interfaces is missing.
  bool Create(const Vst3Module& module, Steinberg::int32 classIndex = 0);
  // initialize (context) of the component (which is also the controller).
  Steinberg::tresult Initialize(Steinberg::FUnknown* context);
  Steinberg::tresult Terminate();

  // setBusArrangements with one input and one output bus, activation of every bus
  // that reports itself default-active, setupProcessing, setActive (true) and
  // setProcessing (true). False when the arrangement or the setup is refused.
  bool Prepare(const Steinberg::Vst::ProcessSetup& setup, Steinberg::Vst::SpeakerArrangement input,
               Steinberg::Vst::SpeakerArrangement output);
  // setProcessing (false) and setActive (false) after a Prepare.
  void Unprepare();

  // Queues a point for the next process call.
  bool QueueParameter(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value, Steinberg::int32 sampleOffset = 0);
  ParameterChanges& Changes() { return mChanges; }

  // One process call over one input and one output bus of `channels` channels (in-place
  // allowed), carrying the queued parameter changes, which are cleared afterwards;
  // inputSilence is the input bus's silence flags.
  Steinberg::tresult Process(float* const* inputs, float* const* outputs, Steinberg::int32 channels,
                             Steinberg::int32 frames, Steinberg::uint64 inputSilence = 0);
  Steinberg::tresult Process(double* const* inputs, double* const* outputs, Steinberg::int32 channels,
                             Steinberg::int32 frames, Steinberg::uint64 inputSilence = 0);
  // A process call with the caller's own data; the queued changes and the transport
  // context are filled in where the caller left them null.
  Steinberg::tresult Process(Steinberg::Vst::ProcessData& data);

  // The controller's getState into bytes; its result code.
  Steinberg::tresult GetState(std::vector<char>& bytes);
  // The controller's setState from bytes; its result code.
  Steinberg::tresult SetState(const std::vector<char>& bytes);

  // Undoes whatever of Prepare, Initialize and Create has been done, and releases.
  void Close();

  Steinberg::Vst::IComponent* Component() const { return mComponent; }
  Steinberg::Vst::IAudioProcessor* Processor() const { return mProcessor; }
  Steinberg::Vst::IEditController* Controller() const { return mController; }
  Steinberg::Vst::ProcessContext& Context() { return mContext; }

private:
  void ActivateDefaultBuses(Steinberg::Vst::BusDirection dir);
  template <typename Sample>
  Steinberg::tresult ProcessBlock(Sample* const* inputs, Sample* const* outputs, Steinberg::int32 channels,
                                  Steinberg::int32 frames, Steinberg::int32 sampleSize, Steinberg::uint64 inputSilence);

  Steinberg::Vst::IComponent* mComponent = nullptr;
  Steinberg::Vst::IAudioProcessor* mProcessor = nullptr;
  Steinberg::Vst::IEditController* mController = nullptr;
  bool mInitialized = false;
  bool mActive = false;
  Steinberg::Vst::ProcessSetup mProcessSetup{};
  Steinberg::Vst::ProcessContext mContext{};
  ParameterChanges mChanges;
};

}  // namespace mero
