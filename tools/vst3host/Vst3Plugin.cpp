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
  if (factory->createInstance(info.cid, IComponent::iid, reinterpret_cast<void**>(&mComponent)) != kResultOk)
  {
    mComponent = nullptr;
    return false;
  }
  if (mComponent->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&mProcessor)) != kResultOk)
    mProcessor = nullptr;
  if (mComponent->queryInterface(IEditController::iid, reinterpret_cast<void**>(&mController)) != kResultOk)
    mController = nullptr;
  if (!mProcessor || !mController)
  {
    Close();
    return false;
  }
  return true;
}

tresult Vst3Plugin::Initialize(FUnknown* hostContext)
{
  if (!mComponent) return kNotInitialized;
  tresult result = mComponent->initialize(hostContext);
  mInitialized = mInitialized || result == kResultOk;
  return result;
}

tresult Vst3Plugin::Terminate()
{
  if (!mComponent) return kNotInitialized;
  mInitialized = false;
  return mComponent->terminate();
}

void Vst3Plugin::ActivateDefaultBuses(BusDirection dir)
{
  int32 count = mComponent->getBusCount(kAudio, dir);
  for (int32 i = 0; i < count; ++i)
  {
    BusInfo bus{};
    if (mComponent->getBusInfo(kAudio, dir, i, bus) == kResultTrue && (bus.flags & BusInfo::kDefaultActive))
      mComponent->activateBus(kAudio, dir, i, true);
  }
}

bool Vst3Plugin::Prepare(const ProcessSetup& setup, SpeakerArrangement input, SpeakerArrangement output)
{
  if (!mProcessor) return false;
  if (mProcessor->setBusArrangements(&input, 1, &output, 1) != kResultTrue) return false;
  ActivateDefaultBuses(kInput);
  ActivateDefaultBuses(kOutput);
  mProcessSetup = setup;
  if (mProcessor->setupProcessing(mProcessSetup) != kResultOk) return false;
  mContext = ProcessContext();
  mContext.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kTimeSigValid;
  mContext.sampleRate = setup.sampleRate;
  mContext.tempo = 120.0;
  mContext.timeSigNumerator = 4;
  mContext.timeSigDenominator = 4;
  mComponent->setActive(true);
  mActive = true;
  mProcessor->setProcessing(true);
  return true;
}

void Vst3Plugin::Unprepare()
{
  if (!mActive) return;
  mProcessor->setProcessing(false);
  mComponent->setActive(false);
  mActive = false;
}

bool Vst3Plugin::QueueParameter(ParamID id, ParamValue value, int32 sampleOffset)
{
  return mChanges.Add(id, value, sampleOffset);
}

template <typename Sample>
tresult Vst3Plugin::ProcessBlock(Sample* const* inputs, Sample* const* outputs, int32 channels, int32 frames,
                                 int32 sampleSize, uint64 inputSilence)
{
  AudioBusBuffers in;
  AudioBusBuffers out;
  in.numChannels = channels;
  in.silenceFlags = inputSilence;
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
  data.processMode = mProcessSetup.processMode;
  data.symbolicSampleSize = sampleSize;
  data.numSamples = frames;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &in;
  data.outputs = &out;
  return Process(data);
}

tresult Vst3Plugin::Process(float* const* inputs, float* const* outputs, int32 channels, int32 frames,
                            uint64 inputSilence)
{
  return ProcessBlock(inputs, outputs, channels, frames, kSample32, inputSilence);
}

tresult Vst3Plugin::Process(double* const* inputs, double* const* outputs, int32 channels, int32 frames,
                            uint64 inputSilence)
{
  return ProcessBlock(inputs, outputs, channels, frames, kSample64, inputSilence);
}

tresult Vst3Plugin::Process(ProcessData& data)
{
  if (!mProcessor) return kNotInitialized;
  if (!data.inputParameterChanges) data.inputParameterChanges = &mChanges;
  if (!data.processContext) data.processContext = &mContext;
  tresult result = mProcessor->process(data);
  mChanges.Clear();
  mContext.projectTimeSamples += data.numSamples;
  return result;
}

tresult Vst3Plugin::GetState(std::vector<char>& bytes)
{
  bytes.clear();
  if (!mController) return kNotInitialized;
  MemoryStream stream;
  tresult result = mController->getState(&stream);
  bytes.assign(stream.getData(), stream.getData() + stream.getSize());
  return result;
}

tresult Vst3Plugin::SetState(const std::vector<char>& bytes)
{
  if (!mController) return kNotInitialized;
  MemoryStream stream;
  int32 written = 0;
  stream.write(const_cast<char*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
  stream.seek(0, IBStream::kIBSeekSet, nullptr);
  return mController->setState(&stream);
}

void Vst3Plugin::Close()
{
  if (mComponent)
  {
    Unprepare();
    if (mInitialized) Terminate();
  }
  if (mController) mController->release();
  if (mProcessor) mProcessor->release();
  if (mComponent) mComponent->release();
  mController = nullptr;
  mProcessor = nullptr;
  mComponent = nullptr;
}

}  // namespace mero
