#include "tools/vst3host/Vst3Plugin.h"

#include "public.sdk/source/common/memorystream.h"

namespace mero
{

using namespace Steinberg;
using namespace Steinberg::Vst;

Vst3Plugin::~Vst3Plugin()
{
  Close();
}

bool Vst3Plugin::Create(const Vst3Module& module, int32 classIndex)
{
  Close();
  IPluginFactory* factory = module.Factory();
  PClassInfo info;
  if (!factory || factory->getClassInfo(classIndex, &info) != kResultOk) return false;
  if (factory->createInstance(info.cid, IComponent::iid, reinterpret_cast<void**>(&component)) != kResultOk)
  {
    component = nullptr;
    return false;
  }
  if (component->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&processor)) != kResultOk)
    processor = nullptr;
  if (component->queryInterface(IEditController::iid, reinterpret_cast<void**>(&controller)) != kResultOk)
    controller = nullptr;
  if (!processor || !controller)
  {
    Close();
    return false;
  }
  return true;
}

tresult Vst3Plugin::Initialize(FUnknown* hostContext)
{
  if (!component) return kNotInitialized;
  tresult result = component->initialize(hostContext);
  initialized = initialized || result == kResultOk;
  return result;
}

tresult Vst3Plugin::Terminate()
{
  if (!component) return kNotInitialized;
  initialized = false;
  return component->terminate();
}

void Vst3Plugin::ActivateDefaultBuses(BusDirection dir)
{
  int32 count = component->getBusCount(kAudio, dir);
  for (int32 i = 0; i < count; ++i)
  {
    BusInfo bus{};
    if (component->getBusInfo(kAudio, dir, i, bus) == kResultTrue && (bus.flags & BusInfo::kDefaultActive))
      component->activateBus(kAudio, dir, i, true);
  }
}

bool Vst3Plugin::Prepare(const ProcessSetup& setup, SpeakerArrangement input, SpeakerArrangement output)
{
  if (!processor) return false;
  if (processor->setBusArrangements(&input, 1, &output, 1) != kResultTrue) return false;
  ActivateDefaultBuses(kInput);
  ActivateDefaultBuses(kOutput);
  processSetup = setup;
  if (processor->setupProcessing(processSetup) != kResultOk) return false;
  context = ProcessContext();
  context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kTimeSigValid;
  context.sampleRate = setup.sampleRate;
  context.tempo = 120.0;
  context.timeSigNumerator = 4;
  context.timeSigDenominator = 4;
  component->setActive(true);
  active = true;
  processor->setProcessing(true);
  return true;
}

void Vst3Plugin::Unprepare()
{
  if (!active) return;
  processor->setProcessing(false);
  component->setActive(false);
  active = false;
}

bool Vst3Plugin::QueueParameter(ParamID id, ParamValue value, int32 sampleOffset)
{
  return changes.Add(id, value, sampleOffset);
}

template <typename Sample>
tresult Vst3Plugin::ProcessBlock(Sample* const* inputs, Sample* const* outputs, int32 channels, int32 frames,
                                 int32 sampleSize)
{
  AudioBusBuffers in;
  AudioBusBuffers out;
  in.numChannels = channels;
  out.numChannels = channels;
  if (sampleSize == kSample32)
  {
    in.channelBuffers32 = reinterpret_cast<Sample32**>(const_cast<Sample**>(inputs));
    out.channelBuffers32 = reinterpret_cast<Sample32**>(const_cast<Sample**>(outputs));
  }
  else
  {
    in.channelBuffers64 = reinterpret_cast<Sample64**>(const_cast<Sample**>(inputs));
    out.channelBuffers64 = reinterpret_cast<Sample64**>(const_cast<Sample**>(outputs));
  }
  ProcessData data;
  data.processMode = processSetup.processMode;
  data.symbolicSampleSize = sampleSize;
  data.numSamples = frames;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &in;
  data.outputs = &out;
  return Process(data);
}

tresult Vst3Plugin::Process(float* const* inputs, float* const* outputs, int32 channels, int32 frames)
{
  return ProcessBlock(inputs, outputs, channels, frames, kSample32);
}

tresult Vst3Plugin::Process(double* const* inputs, double* const* outputs, int32 channels, int32 frames)
{
  return ProcessBlock(inputs, outputs, channels, frames, kSample64);
}

tresult Vst3Plugin::Process(ProcessData& data)
{
  if (!processor) return kNotInitialized;
  if (!data.inputParameterChanges) data.inputParameterChanges = &changes;
  if (!data.processContext) data.processContext = &context;
  tresult result = processor->process(data);
  changes.Clear();
  context.projectTimeSamples += data.numSamples;
  return result;
}

tresult Vst3Plugin::GetState(std::vector<char>& bytes)
{
  bytes.clear();
  if (!controller) return kNotInitialized;
  MemoryStream stream;
  tresult result = controller->getState(&stream);
  bytes.assign(stream.getData(), stream.getData() + stream.getSize());
  return result;
}

tresult Vst3Plugin::SetState(const std::vector<char>& bytes)
{
  if (!controller) return kNotInitialized;
  MemoryStream stream;
  int32 written = 0;
  stream.write(const_cast<char*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
  stream.seek(0, IBStream::kIBSeekSet, nullptr);
  return controller->setState(&stream);
}

void Vst3Plugin::Close()
{
  if (component)
  {
    Unprepare();
    if (initialized) Terminate();
  }
  if (controller) controller->release();
  if (processor) processor->release();
  if (component) component->release();
  controller = nullptr;
  processor = nullptr;
  component = nullptr;
}

}  // namespace mero
