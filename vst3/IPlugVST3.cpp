#include "vst3/IPlugVST3.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "IGraphics.h"
#include "IMutexLock.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "vst3/IPlugParameter.h"
#include "vst3/WideText.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr int kNameUnits = 128;

int SpeakerCount(SpeakerArrangement arrangement)
{
  int n = 0;
  for (; arrangement; arrangement &= arrangement - 1) ++n;
  return n;
}

void WideName(const char* name, String128 out)
{
  WidenText(name, out, kNameUnits);
}

// A host value limited to 0 ... 1, NaN read as 0.
double UnitInterval(double v)
{
  return v > 0.0 ? std::min(v, 1.0) : 0.0;
}
}  // namespace

IPlugVST3::IPlugVST3(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* makerName, int vendorVersion, int uniqueID, int mfrID,
                     int plugApi, bool isInstrument, bool midiIn, int latency)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, makerName, vendorVersion, uniqueID, mfrID,
              plugApi, isInstrument, midiIn, latency)
  , mHostIn32(static_cast<size_t>(NInChannels()), nullptr)
  , mHostIn64(static_cast<size_t>(NInChannels()), nullptr)
  , mHostOut64(static_cast<size_t>(NOutChannels()), nullptr)
{
  for (int i = 0; i < NInChannels(); ++i) SetInputConnected(i, true);
  for (int i = 0; i < NOutChannels(); ++i) SetOutputConnected(i, true);
  if (NInChannels() > 0) CreateLatencyDelay();

  SetInputBusName(0, "Main Input");
  if (IsInstrument())
  {
    char name[32];
    for (int pair = 0; pair < NOutChannels() / 2; ++pair)
    {
      std::snprintf(name, sizeof(name), "Output %i", pair + 1);
      SetOutputBusName(pair, name);
    }
  }
  else
  {
    SetOutputBusName(0, "Output");
  }
}

SpeakerArrangement IPlugVST3::ArrangementFor(int channels)
{
  switch (channels)
  {
    case 1:
      return SpeakerArr::kMono;
    case 2:
      return SpeakerArr::kStereo;
    case 3:
      return SpeakerArr::k30Music;
    case 4:
      return SpeakerArr::k40Music;
    case 5:
      return SpeakerArr::k50;
    case 6:
      return SpeakerArr::k51;
    default:
      return SpeakerArr::kEmpty;
  }
}

// ---- Initialisation ----

tresult PLUGIN_API IPlugVST3::initialize(FUnknown* context)
{
  // The SDK base stores the context unless one is stored already; an earlier
  // initialisation without one leaves room for it.
  tresult result = SingleComponentEffect::initialize(context);

  FUnknownPtr<IHostApplication> app(context);
  if (app)
  {
    String128 wide = {};
    app->getName(wide);
    wide[kNameUnits - 1] = 0;
    char name[kNameUnits];
    NarrowText(wide, name, sizeof(name));
    SetHost(name, 0);
  }

  if (result == kResultOk && !mRegistered)
  {
    try
    {
      RegisterBusesAndParameters();
    }
    catch (...)
    {
      result = kOutOfMemory;
    }
  }

  HandleHostIdentified();
  LoadPreset(0);
  return result;
}

void IPlugVST3::RegisterBusesAndParameters()
{
  String128 name;
  const SpeakerArrangement input = ArrangementFor(NInChannels() - mSideChainChannels);
  if (input != SpeakerArr::kEmpty)
  {
    WideName(GetInputBusName(0), name);
    addAudioInput(name, input, kMain, BusInfo::kDefaultActive);
  }
  if (IsInstrument())
  {
    for (int pair = 0; pair < NOutChannels() / 2; ++pair)
    {
      WideName(GetOutputBusName(pair), name);
      addAudioOutput(name, SpeakerArr::kStereo, kMain, BusInfo::kDefaultActive);
    }
  }
  else
  {
    WideName(GetOutputBusName(0), name);
    addAudioOutput(name, ArrangementFor(NOutChannels()), kMain, BusInfo::kDefaultActive);
  }
  if (DoesMidiIn()) addEventInput(STR16("MIDI Input"), 1, kMain, BusInfo::kDefaultActive);

  if (NPresets() > 0)
    parameters.addParameter(new Parameter(STR16("Preset"), kPresetTag, STR16(""), 0.0, NPresets() - 1,
                                          ParameterInfo::kIsProgramChange | ParameterInfo::kIsList, kRootUnitId,
                                          STR16("")));
  if (!IsInstrument())
  {
    auto* bypass = new StringListParameter(
        STR16("Bypass"), kBypassTag, nullptr,
        ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass, kRootUnitId);
    bypass->appendString(STR16("off"));
    bypass->appendString(STR16("on"));
    parameters.addParameter(bypass);
  }
  for (int i = 0; i < NParams(); ++i)
  {
    const IParamRecord* record = GetParamRecord(i);
    const int unit = AddGroupName(record->GetGroup());
    parameters.addParameter(new IPlugParameter(record, static_cast<ParamID>(i), unit));
  }
  mRegistered = true;
}

tresult PLUGIN_API IPlugVST3::terminate()
{
  mRegistered = false;
  return SingleComponentEffect::terminate();
}

// ---- Component and processor setup ----

tresult PLUGIN_API IPlugVST3::setActive(TBool state)
{
  HandleActivate(state != 0);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                                 int32 numOuts)
{
  if (!inputs || numIns <= 0 || !outputs || numOuts <= 0) return kResultFalse;

  for (int i = 0; i < NInChannels(); ++i)
  {
    SetInputConnected(i, false);
    PointInputAtScratch(i);
  }
  for (int i = 0; i < NOutChannels(); ++i)
  {
    SetOutputConnected(i, false);
    PointOutputAtScratch(i);
  }

  const int ins = SpeakerCount(inputs[0]);
  const int outs = SpeakerCount(outputs[0]);
  if (!LegalIO(ins, outs)) return kResultFalse;

  try
  {
    auto* firstIn = audioInputs.empty() ? nullptr : FCast<AudioBus>(audioInputs.front().get());
    if (firstIn && SpeakerCount(firstIn->getArrangement()) != ins)
    {
      // The host need not activate a bus again after a new arrangement.
      const bool active = firstIn->isActive();
      audioInputs.clear();
      addAudioInput(STR16("Input"), ArrangementFor(ins), kMain, BusInfo::kDefaultActive)->setActive(active);
    }
    auto* firstOut = audioOutputs.empty() ? nullptr : FCast<AudioBus>(audioOutputs.front().get());
    if (firstOut && SpeakerCount(firstOut->getArrangement()) != outs)
    {
      const bool active = firstOut->isActive();
      audioOutputs.clear();
      addAudioOutput(STR16("Output"), ArrangementFor(outs), kMain, BusInfo::kDefaultActive)->setActive(active);
    }
  }
  catch (...)
  {
    return kResultFalse;
  }
  return numIns == 1 ? kResultOk : kResultFalse;
}

tresult PLUGIN_API IPlugVST3::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API IPlugVST3::getLatencySamples()
{
  return static_cast<uint32>(GetLatency());
}

uint32 PLUGIN_API IPlugVST3::getTailSamples()
{
  return static_cast<uint32>(GetTailSize());
}

tresult PLUGIN_API IPlugVST3::setupProcessing(ProcessSetup& setup)
{
  if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64) return kResultFalse;
  // A rate that is not a positive number would put NaN or a runaway gain into every
  // smoother and filter history for good; an empty block leaves nothing to render into.
  if (!std::isfinite(setup.sampleRate) || setup.sampleRate <= 0.0 || setup.maxSamplesPerBlock <= 0) return kResultFalse;
  // Block buffers that cannot be had refuse the setup before anything changes.
  if (!ResizeBlockBuffers(setup.maxSamplesPerBlock)) return kResultFalse;
  SetSampleRate(setup.sampleRate);
  SetBypassed(false);
  HandleReset();
  processSetup = setup;
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setProcessing(TBool)
{
  return kNotImplemented;
}

// ---- Processing ----

class IPlugVST3::LockForNotices
{
public:
  explicit LockForNotices(IPlugVST3& plug)
    : mPlug(plug)
  {
    mPlug.GetMutex().Enter();
    ++mPlug.mNoticeDepth;
  }
  ~LockForNotices()
  {
    const bool outermost = --mPlug.mNoticeDepth == 0;
    mPlug.GetMutex().Leave();
    if (outermost && mPlug.mLatencyNoticePending.exchange(false) && mPlug.componentHandler)
      mPlug.componentHandler->restartComponent(kLatencyChanged);
  }
  LockForNotices(const LockForNotices&) = delete;
  LockForNotices& operator=(const LockForNotices&) = delete;

private:
  IPlugVST3& mPlug;
};

tresult PLUGIN_API IPlugVST3::process(ProcessData& data)
{
  LockForNotices lock(*this);
  ProcessLocked(data);
  return kResultOk;
}

void IPlugVST3::ProcessLocked(ProcessData& data)
{
  if (data.processContext) mProcessContext = *data.processContext;
  ApplyParameterChanges(data.inputParameterChanges);

  const int frames = std::max(data.numSamples, 0);
  ConnectInputBus(data);
  ConnectOutputBuses(data);

  // The scratch buffers hold one prepared block; longer calls are rendered in pieces,
  // which gives the same samples since the block routine carries its state over.
  const int piece = GetBlockSize();
  if (frames == 0 || piece <= 0)
  {
    // A flush call, or no block buffers prepared (no setup yet): the block routine runs
    // for no frames and the host's outputs get silence.
    BindPiece(data, 0, 0);
    RenderPiece(0);
    SilenceHostOutputs(data, frames, false);
    return;
  }
  bool silent = true;
  for (int done = 0; done < frames;)
  {
    const int n = std::min(piece, frames - done);
    BindPiece(data, done, n);
    SetOutputSilent(false);
    RenderPiece(n);
    silent = silent && IsOutputSilent();
    if (data.symbolicSampleSize != kSample64) WriteOutputs(n, done);
    done += n;
  }
  SilenceHostOutputs(data, frames, true);
  ReportOutputSilence(data, silent);
}

void IPlugVST3::ReportOutputSilence(ProcessData& data, bool silent)
{
  if (data.numOutputs <= 0 || !data.outputs) return;
  int first = 0;
  for (int32 b = 0; b < data.numOutputs; ++b)
  {
    AudioBusBuffers& bus = data.outputs[b];
    uint64 flags = 0;
    for (int k = 0; k < bus.numChannels && k < 64; ++k)
      if (silent && first + k < NOutChannels() && IsOutputConnected(first + k)) flags |= uint64(1) << k;
    bus.silenceFlags = flags;
    first += std::max(static_cast<int>(bus.numChannels), 0);
  }
}

void IPlugVST3::ApplyParameterChanges(IParameterChanges* changes)
{
  if (!changes) return;
  const int32 count = changes->getParameterCount();
  for (int32 i = 0; i < count; ++i)
  {
    IParamValueQueue* queue = changes->getParameterData(i);
    if (!queue) continue;
    int32 offset = 0;
    ParamValue value = 0.0;
    if (queue->getPoint(queue->getPointCount() - 1, offset, value) != kResultTrue) continue;

    const ParamID id = queue->getParameterId();
    // NaN is no value: the parameter stays as it is.
    if (std::isnan(value)) continue;
    if (id == kBypassTag)
    {
      SetBypassed(value > 0.5);
    }
    else if (id == kPresetTag)
    {
      LoadPreset(PresetAt(value));
    }
    else if (IParamRecord* record = RecordForTag(id))
    {
      record->SetFromNormalized(value);
      ShowHostValue(static_cast<int>(id), value);
      HandleParamChange(static_cast<int>(id));
    }
  }
}

void IPlugVST3::ShowHostValue(int index, double normalized)
{
  IEditorLink* editor = GetGUI();
  // NaN has no plain value and leaves the parameter as it was, so its controls stay too.
  if (!editor || std::isnan(normalized)) return;
  editor->ShowParamValue(index, std::clamp(normalized, 0.0, 1.0), true);
}

void IPlugVST3::ConnectInputBus(const ProcessData& data)
{
  std::fill(mHostIn32.begin(), mHostIn32.end(), nullptr);
  std::fill(mHostIn64.begin(), mHostIn64.end(), nullptr);
  // Without an input bus the channels keep their connection state and read silence.
  if (data.numInputs <= 0 || !data.inputs) return;

  const AudioBusBuffers& bus = data.inputs[0];
  const bool sixtyFour = data.symbolicSampleSize == kSample64;
  const int k = std::clamp(static_cast<int>(bus.numChannels), 0, NInChannels());
  const Steinberg::uint64 hostSilence = bus.silenceFlags;
  for (int i = 0; i < NInChannels(); ++i)
  {
    SetInputConnected(i, i < k);
    if (i >= k) continue;
    // A channel the host flags silent is not read: its scratch is zeroed instead.
    if (i < 64 && (hostSilence >> i) & 1) continue;
    const size_t c = static_cast<size_t>(i);
    if (sixtyFour && bus.channelBuffers64)
      mHostIn64[c] = bus.channelBuffers64[i];
    else if (!sixtyFour && bus.channelBuffers32)
      mHostIn32[c] = bus.channelBuffers32[i];
  }
}

void IPlugVST3::ConnectOutputBuses(const ProcessData& data)
{
  const bool sixtyFour = data.symbolicSampleSize == kSample64;
  std::fill(mHostOut64.begin(), mHostOut64.end(), nullptr);
  for (int j = 0; j < NOutChannels(); ++j) SetOutputDestination(j, nullptr);
  if (data.numOutputs <= 0 || !data.outputs)
  {
    // No output bus: everything renders into scratch and no host buffer is written.
    for (int j = 0; j < NOutChannels(); ++j)
    {
      SetOutputConnected(j, false);
      PointOutputAtScratch(j);
    }
    return;
  }
  int first = 0;
  for (int32 b = 0; b < data.numOutputs; ++b)
  {
    const AudioBusBuffers& bus = data.outputs[b];
    const int g = std::max(static_cast<int>(bus.numChannels), 0);
    const bool active = b < static_cast<int32>(audioOutputs.size()) && audioOutputs[static_cast<size_t>(b)]->isActive();
    for (int j = first; j < NOutChannels(); ++j)
    {
      const bool connected = j < first + g && active;
      SetOutputConnected(j, connected);
      if (!connected)
      {
        PointOutputAtScratch(j);
        continue;
      }
      const int k = j - first;
      if (sixtyFour)
      {
        mHostOut64[static_cast<size_t>(j)] = bus.channelBuffers64 ? bus.channelBuffers64[k] : nullptr;
      }
      else
      {
        PointOutputAtScratch(j);
        SetOutputDestination(j, bus.channelBuffers32 ? bus.channelBuffers32[k] : nullptr);
      }
    }
    first += g;
    if (first >= NOutChannels()) break;
  }
}

void IPlugVST3::BindPiece(const ProcessData& data, int offset, int frames)
{
  BindInputPiece(offset, frames);
  if (data.symbolicSampleSize == kSample64) BindOutputPiece64(offset);
}

void IPlugVST3::BindInputPiece(int offset, int frames)
{
  for (int i = 0; i < NInChannels(); ++i)
  {
    const size_t c = static_cast<size_t>(i);
    if (double* host64 = mHostIn64[c])
    {
      PointInputAt(i, host64 + offset);
    }
    else if (float* host32 = mHostIn32[c])
    {
      ConnectInputs(i, 1, &host32, frames, offset);
    }
    else
    {
      // Nothing feeds this channel in this call.
      SilenceInput(i, frames);
    }
  }
}

void IPlugVST3::BindOutputPiece64(int offset)
{
  for (int j = 0; j < NOutChannels(); ++j)
  {
    if (!IsOutputConnected(j)) continue;
    double* host = mHostOut64[static_cast<size_t>(j)];
    if (host)
      PointOutputAt(j, host + offset);
    else
      PointOutputAtScratch(j);
  }
}

void IPlugVST3::SilenceHostOutputs(ProcessData& data, int frames, bool rendered)
{
  if (frames <= 0 || data.numOutputs <= 0 || !data.outputs) return;
  const bool sixtyFour = data.symbolicSampleSize == kSample64;
  int first = 0;
  for (int32 b = 0; b < data.numOutputs; ++b)
  {
    const AudioBusBuffers& bus = data.outputs[b];
    const int g = std::max(static_cast<int>(bus.numChannels), 0);
    // Once set up, a bus the host switched off is left to the host.
    const bool switchedOff =
        b < static_cast<int32>(audioOutputs.size()) && !audioOutputs[static_cast<size_t>(b)]->isActive();
    for (int k = 0; k < g && !(rendered && switchedOff); ++k)
    {
      const int j = first + k;
      if (rendered && j < NOutChannels() && IsOutputConnected(j)) continue;
      if (sixtyFour && bus.channelBuffers64 && bus.channelBuffers64[k])
        std::memset(bus.channelBuffers64[k], 0, sizeof(double) * static_cast<size_t>(frames));
      else if (!sixtyFour && bus.channelBuffers32 && bus.channelBuffers32[k])
        std::memset(bus.channelBuffers32[k], 0, sizeof(float) * static_cast<size_t>(frames));
    }
    first += g;
  }
}

void IPlugVST3::RenderPiece(int frames)
{
  if (IsBypassed())
    PassThroughAudio(frames);
  else
    ProcessAudio(GetInputPointers(), GetOutputPointers(), frames);
}

// ---- State ----

tresult PLUGIN_API IPlugVST3::getState(IBStream* state)
{
  if (!state) return kInvalidArgument;
  IMutexLock lock(GetMutex());
  StateChunk chunk;
  if (!SaveState(chunk)) return kResultFalse;
  const int32 original = std::min(OriginalStateBytes(), chunk.GetSize());
  int32 flag = IsBypassed() ? 1 : 0;
  const double sizeFactor = GetEditorSizeFactor();
  const int32 preset = GetCurrentPresetIdx();
  if (!WriteAll(state, chunk.GetData(), original) || !WriteAll(state, &flag, sizeof(flag)) ||
      !WriteAll(state, chunk.GetData() + original, chunk.GetSize() - original) ||
      (GetGUI() && !WriteAll(state, &sizeFactor, sizeof(sizeFactor))) || !WriteAll(state, &preset, sizeof(preset)))
    return kResultFalse;
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setState(IBStream* state)
{
  if (!state) return kInvalidArgument;
  LockForNotices lock(*this);
  // The current state gives the lengths of the parts. The stream must deliver the
  // original layout and the flag; then each later part (the further parameters, with
  // an editor the size factor, the preset index) whole, or it ends before that part and
  // every one after it takes its default; then it must end. Otherwise nothing changes.
  StateChunk chunk;
  if (!SaveState(chunk) || chunk.GetSize() <= 0) return kResultFalse;
  const int32 original = std::min(OriginalStateBytes(), chunk.GetSize());
  const int32 appended = chunk.GetSize() - original;
  int32 flag = 0;
  if (!ReadAll(state, chunk.GetData(), original) || !ReadAll(state, &flag, sizeof(flag))) return kResultFalse;
  const int32 delivered = ReadUpTo(state, chunk.GetData() + original, appended);
  if (delivered != 0 && (delivered != appended || !AppendedValuesValid(chunk))) return kResultFalse;
  if (delivered == 0) WriteAppendedDefaults(chunk);
  bool whole = delivered == appended;
  double sizeFactor = 1.0;
  if (whole && GetGUI() && !ReadSizeFactor(state, sizeFactor, whole)) return kResultFalse;
  // States saved before the preset index was stored end before it, when preset 0 was
  // the only one.
  int32 preset = 0;
  const int32 presetBytes = whole ? ReadUpTo(state, &preset, sizeof(preset)) : 0;
  if ((presetBytes != 0 && presetBytes != sizeof(preset)) || preset < 0 || preset >= std::max(NPresets(), 1))
    return kResultFalse;
  unsigned char beyond = 0;
  if (ReadUpTo(state, &beyond, 1) != 0) return kResultFalse;
  LoadState(chunk, 0);
  SetCurrentPresetIdx(preset);
  SetBypassed(flag != 0);
  SetEditorSizeFactor(sizeFactor);
  RefreshParamControls();
  return kResultOk;
}

bool IPlugVST3::ReadSizeFactor(IBStream* stream, double& factor, bool& whole)
{
  double stored = 0.0;
  const int32 read = ReadUpTo(stream, &stored, sizeof(stored));
  whole = read == sizeof(stored);
  if (read == 0) return true;
  if (read != sizeof(stored) || !(stored >= kMinEditorSizeFactor && stored <= kMaxEditorSizeFactor)) return false;
  factor = stored;
  return true;
}

bool IPlugVST3::WriteAll(IBStream* stream, const void* bytes, int32 size)
{
  if (size <= 0) return true;
  int32 written = 0;
  return stream->write(const_cast<void*>(bytes), size, &written) == kResultOk && written == size;
}

bool IPlugVST3::ReadAll(IBStream* stream, void* bytes, int32 size)
{
  return ReadUpTo(stream, bytes, size) == std::max(size, 0);
}

int32 IPlugVST3::ReadUpTo(IBStream* stream, void* bytes, int32 size)
{
  // A stream may deliver fewer bytes per read than asked for; it has ended when a
  // read fails or delivers none.
  auto* out = static_cast<unsigned char*>(bytes);
  int32 done = 0;
  while (done < size)
  {
    int32 read = 0;
    if (stream->read(out + done, size - done, &read) != kResultOk || read <= 0 || read > size - done) break;
    done += read;
  }
  return done;
}

// ---- Controller queries ----

tresult PLUGIN_API IPlugVST3::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
  if (paramIndex < 0 || paramIndex >= parameters.getParameterCount()) return kResultFalse;
  return SingleComponentEffect::getParameterInfo(paramIndex, info);
}

tresult PLUGIN_API IPlugVST3::getParamStringByValue(ParamID tag, ParamValue valueNormalized, String128 string)
{
  if (!string) return kInvalidArgument;
  if (tag == kPresetTag && NPresets() > 0)
  {
    WideName(GetPresetName(PresetAt(valueNormalized)), string);
    return kResultOk;
  }
  const IParamRecord* record = RecordForTag(tag);
  if (!record) return kResultFalse;
  char text[IParamRecord::kValueTextSize];
  record->FormatValue(record->ToPlain(valueNormalized), text, sizeof(text));
  WideName(text, string);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getParamValueByString(ParamID tag, TChar* string, ParamValue& valueNormalized)
{
  if (!string) return kInvalidArgument;
  ParamValue value = 0.0;
  if (tag == kPresetTag && getParameterObject(tag))
  {
    // A preset's name, or a number: the SDK's plain parameter would read the text
    // through a conversion that throws on invalid UTF-16 and a scan that depends on
    // the locale.
    const int named = PresetNamed(string);
    if (named >= 0)
      value = PresetValue(named);
    else if (!IPlugParameter::ReadNumber(string, value))
      return kResultFalse;
  }
  else
  {
    const tresult result = SingleComponentEffect::getParamValueByString(tag, string, value);
    if (result != kResultOk) return result;
  }
  // Only normalised values are answers; a text may give any number or NaN.
  if (!(value >= 0.0 && value <= 1.0)) return kResultFalse;
  valueNormalized = value;
  return kResultOk;
}

ParamValue PLUGIN_API IPlugVST3::normalizedParamToPlain(ParamID tag, ParamValue valueNormalized)
{
  // From the record itself, so that the answer holds also while no parameter objects
  // are registered (before initialize, after terminate).
  if (const IParamRecord* record = RecordForTag(tag)) return record->ToPlain(valueNormalized);
  // The SDK's list parameter finds its step by an integer conversion that only
  // normalised values survive; the binding's own parameters have the plain range 0 ... 1.
  if (IsBindingTag(tag))
    return UnitInterval(SingleComponentEffect::normalizedParamToPlain(tag, UnitInterval(valueNormalized)));
  return SingleComponentEffect::normalizedParamToPlain(tag, valueNormalized);
}

ParamValue PLUGIN_API IPlugVST3::plainParamToNormalized(ParamID tag, ParamValue plainValue)
{
  if (const IParamRecord* record = RecordForTag(tag)) return record->ToNormalized(plainValue);
  if (IsBindingTag(tag))
    return UnitInterval(SingleComponentEffect::plainParamToNormalized(tag, UnitInterval(plainValue)));
  return plainValue;
}

ParamValue PLUGIN_API IPlugVST3::getParamNormalized(ParamID tag)
{
  if (tag == kBypassTag) return IsBypassed() ? 1.0 : 0.0;
  if (tag == kPresetTag) return PresetValue(GetCurrentPresetIdx());
  const IParamRecord* record = RecordForTag(tag);
  return record ? record->GetNormalized() : 0.0;
}

tresult PLUGIN_API IPlugVST3::setParamNormalized(ParamID tag, ParamValue value)
{
  if (tag == kBypassTag)
  {
    if (!std::isnan(value)) SetBypassed(value > 0.5);
    return kResultOk;
  }
  if (tag == kPresetTag && NPresets() > 0)
  {
    // A host that sets the value it reads (some do after restoring a session) must not
    // undo the edits made after the preset was loaded: only another preset loads.
    if (std::isnan(value) || PresetAt(value) == GetCurrentPresetIdx()) return kResultOk;
    bool loaded;
    {
      LockForNotices lock(*this);
      loaded = LoadPreset(PresetAt(value));
    }
    // Every parameter may have changed; the host reads them again.
    if (loaded && componentHandler) componentHandler->restartComponent(kParamValuesChanged);
    return kResultOk;
  }
  IParamRecord* record = RecordForTag(tag);
  if (!record) return kResultFalse;
  // The controller is also the processor: the effect and the editor follow at once.
  // A host echoing an edit back leaves the value as it is; the control being dragged
  // then keeps its own position rather than jumping to the step.
  LockForNotices lock(*this);
  const double before = record->GetValue();
  record->SetFromNormalized(value);
  if (record->GetValue() != before) ShowHostValue(static_cast<int>(tag), value);
  HandleParamChange(static_cast<int>(tag));
  return kResultOk;
}

IPlugView* PLUGIN_API IPlugVST3::createView(FIDString name)
{
  if (!name || std::strcmp(name, ViewType::kEditor) != 0 || !GetGUI()) return nullptr;
  try
  {
    mViews.reserve(mViews.size() + 1);
  }
  catch (...)
  {
    return nullptr;
  }
  auto* view = new (std::nothrow) IPlugVST3View(this);
  if (view) mViews.push_back(view);
  return view;
}

tresult PLUGIN_API IPlugVST3::setKnobMode(KnobMode)
{
  return kResultTrue;
}

bool IPlugVST3::IsBindingTag(ParamID tag)
{
  return tag == kPresetTag || tag == kBypassTag;
}

int IPlugVST3::PresetAt(double normalized) const
{
  // The SDK's step of a normalised value: stepCount + 1 equal parts of 0 ... 1.
  const int n = NPresets();
  return n > 1 ? std::min(static_cast<int>(UnitInterval(normalized) * n), n - 1) : 0;
}

double IPlugVST3::PresetValue(int index) const
{
  const int n = NPresets();
  return n > 1 ? std::clamp(index, 0, n - 1) / static_cast<double>(n - 1) : 0.0;
}

int IPlugVST3::PresetNamed(const TChar* text) const
{
  char name[kNameUnits];
  NarrowText(text, name, sizeof(name));
  for (int i = 0; i < NPresets(); ++i)
    if (std::strcmp(name, GetPresetName(i)) == 0) return i;
  return -1;
}

IParamRecord* IPlugVST3::RecordForTag(ParamID tag) const
{
  return tag < static_cast<ParamID>(NParams()) ? GetParamRecord(static_cast<int>(tag)) : nullptr;
}

// ---- Units and program list ----

int32 PLUGIN_API IPlugVST3::getUnitCount()
{
  return 1 + NGroupNames();
}

tresult PLUGIN_API IPlugVST3::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
  if (unitIndex == 0)
  {
    info.id = kRootUnitId;
    info.parentUnitId = kNoParentUnitId;
    WideName("Root Unit", info.name);
    info.programListId = NPresets() > 0 ? static_cast<ProgramListID>(kPresetTag) : kNoProgramListId;
    return kResultOk;
  }
  const char* group = unitIndex > 0 ? GetGroupName(unitIndex - 1) : nullptr;
  if (!group) return kResultFalse;
  info.id = unitIndex;
  info.parentUnitId = kRootUnitId;
  WideName(group, info.name);
  info.programListId = kNoProgramListId;
  return kResultOk;
}

int32 PLUGIN_API IPlugVST3::getProgramListCount()
{
  return NPresets() > 0 ? 1 : 0;
}

tresult PLUGIN_API IPlugVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info)
{
  if (listIndex != 0 || NPresets() <= 0) return kResultFalse;
  info.id = static_cast<ProgramListID>(kPresetTag);
  WideName("Factory Presets", info.name);
  info.programCount = NPresets();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramName(ProgramListID listId, int32 programIndex, String128 name)
{
  if (!name) return kInvalidArgument;
  const char* preset = GetPresetName(programIndex);
  if (listId != static_cast<ProgramListID>(kPresetTag) || !preset) return kResultFalse;
  WideName(preset, name);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramInfo(ProgramListID, int32, Vst::CString, String128)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::hasProgramPitchNames(ProgramListID, int32)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::getProgramPitchName(ProgramListID, int32, int16, String128)
{
  return kNotImplemented;
}

UnitID PLUGIN_API IPlugVST3::getSelectedUnit()
{
  return kRootUnitId;
}

tresult PLUGIN_API IPlugVST3::selectUnit(UnitID)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::setUnitProgramData(int32, int32, IBStream*)
{
  return kNotImplemented;
}

// ---- Editor to host ----

void IPlugVST3::BeginParamGesture(int index)
{
  beginEdit(static_cast<ParamID>(index));
}

void IPlugVST3::SendParamValue(int index, double normalized)
{
  performEdit(static_cast<ParamID>(index), normalized);
}

void IPlugVST3::EndParamGesture(int index)
{
  endEdit(static_cast<ParamID>(index));
}

void IPlugVST3::ShowHostParamMenu(int index, int x, int y)
{
  if (!componentHandler || !mShowingView) return;
  FUnknownPtr<IComponentHandler3> handler(componentHandler);
  if (!handler) return;
  const ParamID tag = static_cast<ParamID>(index);
  IContextMenu* menu = handler->createContextMenu(mShowingView, &tag);
  if (!menu) return;
  menu->popup(x, y);
  menu->release();
}

// The size factor spans every editor scale at every content scale in the scale range.
static_assert(IPlugVST3::kMinEditorSizeFactor == IGraphics::kMinScale / IGraphics::kMaxScale, "smallest size factor");
static_assert(IPlugVST3::kMaxEditorSizeFactor == IGraphics::kMaxScale / IGraphics::kMinScale, "largest size factor");

bool IPlugVST3::SetEditorSizeFactor(double factor)
{
  if (!(factor >= kMinEditorSizeFactor && factor <= kMaxEditorSizeFactor)) return false;
  mEditorSizeFactor.store(factor, std::memory_order_relaxed);
  return true;
}

void IPlugVST3::ResizeEditor(int width, int height)
{
  if (!GetGUI() || !mShowingView) return;
  mShowingView->RequestResize(width, height);
}

bool IPlugVST3::ShowEditorIn(IPlugVST3View* view)
{
  if (mShowingView && mShowingView != view) mShowingView->CloseEditorWindow();
  mShowingView = nullptr;
  if (view->OpenEditorWindow())
  {
    mShowingView = view;
    return true;
  }
  ShowEditorInLatestAttached(view);
  return false;
}

void IPlugVST3::TakeEditorFrom(IPlugVST3View* view)
{
  if (mShowingView != view) return;
  mShowingView = nullptr;
  view->CloseEditorWindow();
  ShowEditorInLatestAttached(view);
}

void IPlugVST3::ShowEditorInLatestAttached(const IPlugVST3View* except)
{
  uint64_t below = UINT64_MAX;
  for (;;)
  {
    IPlugVST3View* latest = nullptr;
    for (IPlugVST3View* candidate : mViews)
      if (candidate != except && candidate->CanShowEditor() && candidate->AttachOrder() < below &&
          (!latest || candidate->AttachOrder() > latest->AttachOrder()))
        latest = candidate;
    if (!latest) return;
    if (latest->OpenEditorWindow())
    {
      mShowingView = latest;
      return;
    }
    below = latest->AttachOrder();
  }
}

void IPlugVST3::ForgetView(IPlugVST3View* view)
{
  if (mShowingView == view) mShowingView = nullptr;
  mViews.erase(std::remove(mViews.begin(), mViews.end(), view), mViews.end());
}

// ---- Transport, latency, MIDI ----

bool IPlugVST3::IsOfflineRender()
{
  return processSetup.processMode == kOffline;
}

int IPlugVST3::GetTransportSample()
{
  return static_cast<int>(static_cast<uint32>(mProcessContext.projectTimeSamples));
}

double IPlugVST3::GetTransportTempo()
{
  return mProcessContext.tempo;
}

void IPlugVST3::GetTransportTimeSignature(int* numerator, int* denominator)
{
  if (numerator) *numerator = mProcessContext.timeSigNumerator;
  if (denominator) *denominator = mProcessContext.timeSigDenominator;
}

void IPlugVST3::GetTransportInfo(TransportInfo* info)
{
  if (!info) return;
  info->tempo = mProcessContext.tempo;
  info->samplePosition = static_cast<double>(mProcessContext.projectTimeSamples);
  info->musicalPosition = mProcessContext.projectTimeMusic;
  info->lastBarStart = mProcessContext.barPositionMusic;
  info->cycleStart = mProcessContext.cycleStartMusic;
  info->cycleEnd = mProcessContext.cycleEndMusic;
  info->numerator = mProcessContext.timeSigNumerator;
  info->denominator = mProcessContext.timeSigDenominator;
  info->playing = (mProcessContext.state & ProcessContext::kPlaying) != 0;
  info->cycleActive = (mProcessContext.state & ProcessContext::kCycleActive) != 0;
}

void IPlugVST3::ChangeLatency(int samples)
{
  const int before = GetLatency();
  IPlugBase::ChangeLatency(samples);
  if (GetLatency() == before) return;
  if (mNoticeDepth > 0)
    mLatencyNoticePending = true;
  else if (componentHandler)
    componentHandler->restartComponent(kLatencyChanged);
}

void IPlugVST3::SetParamFromEditor(int index, double normalized)
{
  LockForNotices lock(*this);
  IPlugBase::SetParamFromEditor(index, normalized);
}

bool IPlugVST3::EmitMidiMessage(const MidiMessage&)
{
  return false;
}
