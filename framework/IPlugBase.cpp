#include "IPlugBase.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CopyText.h"
#include "HostLookup.h"
#include "IMutexLock.h"

namespace
{
constexpr char kDefaultPresetName[] = "-";
constexpr char kUserPresetName[] = "user preset";

// Reads a scanf-style "%d" at *p (leading white space, optional sign,
// digits), saturating to the int range. False when there is no number.
bool ReadInt(const char*& p, int& out)
{
  char* end = nullptr;
  const long long v = std::strtoll(p, &end, 10);
  if (end == p) return false;
  out = static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
  p = end;
  return true;
}

// One "%d-%d" item; the counts stay 0 where the text cannot be read.
ChannelIOPair ReadChannelIOItem(const char* p)
{
  ChannelIOPair pair;
  if (ReadInt(p, pair.inputs) && *p == '-')
  {
    ++p;
    ReadInt(p, pair.outputs);
  }
  return pair;
}

// Copies input i to output i below both counts and zero-fills the further
// outputs; an output may be its input, null slots are skipped.
void CopyAndZeroFill(double* const* inputs, int nInputs, double* const* outputs, int nOutputs, int frames)
{
  if (frames <= 0 || !outputs) return;
  const size_t bytes = sizeof(double) * static_cast<size_t>(frames);
  for (int i = 0; i < nOutputs; ++i)
  {
    double* out = outputs[i];
    if (!out) continue;
    const double* in = inputs && i < nInputs ? inputs[i] : nullptr;
    if (!in)
      std::memset(out, 0, bytes);
    else if (in != out)
      std::memmove(out, in, bytes);
  }
}
}  // namespace

IPlugBase::IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* makerName, int vendorVersion, int uniqueID, int mfrID,
                     int plugApi, bool isInstrument, bool midiIn, int latency)
  : mUniqueID(uniqueID)
  , mMfrID(mfrID)
  , mVendorVersion(vendorVersion)
  , mPlugApi(plugApi)
  , mIsInstrument(isInstrument)
  , mDoesMidiIn(midiIn)
  , mLatency(std::max(latency, 0))
{
  for (int i = 0; i < nParams; ++i)
  {
    IParamRecord* param = new IParamRecord;
    if (!mParams.Add(param)) delete param;
  }
  mNOriginalStateParams = NParams();
  for (int i = 0; i < nPresets; ++i)
  {
    PresetSlot* preset = new PresetSlot;
    if (!mPresets.Add(preset)) delete preset;
  }

  CopyText(mEffectName, effectName);
  CopyText(mProductName, productName);
  CopyText(mMakerName, makerName);

  ParseChannelIO(channelIOStr);
  int maxInputs = 0;
  int maxOutputs = 0;
  for (int i = 0; i < mChannelIO.GetCount(); ++i)
  {
    maxInputs = std::max(maxInputs, mChannelIO.Get(i)->inputs);
    maxOutputs = std::max(maxOutputs, mChannelIO.Get(i)->outputs);
  }

  mInputPtrs.assign(static_cast<size_t>(maxInputs), nullptr);
  mOutputPtrs.assign(static_cast<size_t>(maxOutputs), nullptr);
  for (int i = 0; i < maxInputs; ++i)
  {
    InChannel* channel = new InChannel;
    channel->slot = &mInputPtrs[static_cast<size_t>(i)];
    if (!mInChannels.Add(channel)) delete channel;
  }
  for (int i = 0; i < maxOutputs; ++i)
  {
    OutChannel* channel = new OutChannel;
    channel->slot = &mOutputPtrs[static_cast<size_t>(i)];
    if (!mOutChannels.Add(channel)) delete channel;
  }
}

IPlugBase::~IPlugBase()
{
  // The editor's controls point at the plug-in and its parameters: it goes
  // before anything else does.
  mEditor.reset();
}

void IPlugBase::ParseChannelIO(const char* channelIOStr)
{
  const char* p = channelIOStr;
  while (p)
  {
    ChannelIOPair* pair = new ChannelIOPair(ReadChannelIOItem(p));
    if (!mChannelIO.Add(pair)) delete pair;
    p = std::strchr(p, ' ');
    if (p) ++p;
  }
}

// ---- Virtual operations ----

void IPlugBase::HandleReset()
{
  IMutexLock lock(mMutex);
}

void IPlugBase::HandleParamChange(int)
{
  IMutexLock lock(mMutex);
}

void IPlugBase::ProcessAudio(double** inputs, double** outputs, int frames)
{
  CopyAndZeroFill(inputs, NInChannels(), outputs, NOutChannels(), frames);
}

void IPlugBase::HandleActivate(bool)
{
  IMutexLock lock(mMutex);
}

void IPlugBase::HandleMidiMessage(const MidiMessage& message)
{
  EmitMidiMessage(message);
}

bool IPlugBase::QueryText(int, char* text)
{
  if (text) text[0] = '\0';
  return false;
}

bool IPlugBase::SaveState(StateChunk& chunk)
{
  return SerializeParams(chunk);
}

int IPlugBase::LoadState(const StateChunk& chunk, int pos)
{
  return UnserializeParams(chunk, pos);
}

bool IPlugBase::MatchesState(const unsigned char* bytes, int nBytes, int start)
{
  const int n = NParams();
  if (n == 0) return true;
  if (!bytes || start < 0) return false;
  if ((static_cast<long long>(start) + n) * static_cast<long long>(sizeof(double)) > nBytes) return false;
  for (int i = 0; i < n; ++i)
  {
    double stored;
    std::memcpy(&stored, bytes + (static_cast<size_t>(start) + i) * sizeof(double), sizeof(double));
    const float current = static_cast<float>(GetParamRecord(i)->GetValue());
    if (!(std::fabs(current - static_cast<float>(stored)) < 1e-5)) return false;
  }
  return true;
}

void IPlugBase::HandleEditorResized(const IRectangle&) {}

void IPlugBase::ShowHostParamMenu(int, int, int) {}

void IPlugBase::SetParamFromEditor(int index, double normalized)
{
  IParamRecord* param = GetParamRecord(index);
  if (!param) return;
  IMutexLock lock(mMutex);
  param->SetFromNormalized(normalized);
  // The host records what the parameter now holds: a stepped kind's step, a
  // continuous value as the editor gave it.
  const bool continuous = param->GetType() == IParamRecord::kTypeDouble;
  SendParamValue(index, continuous ? normalized : param->GetNormalized());
  HandleParamChange(index);
}

void IPlugBase::AttachEditor(IEditorLink* editor)
{
  if (!editor) return;
  IMutexLock lock(mMutex);
  for (int i = 0; i < NParams(); ++i) editor->ShowParamValue(i, GetParamRecord(i)->GetNormalized(), true);
  editor->CreateBackingBitmaps();
  if (editor != mEditor.get()) mEditor.reset(editor);
}

void IPlugBase::RefreshParamControls()
{
  IEditorLink* editor = GetGUI();
  if (!editor) return;
  for (int i = 0; i < NParams(); ++i) editor->ShowParamValue(i, GetParamRecord(i)->GetValue(), false);
}

void IPlugBase::ChangeLatency(int samples)
{
  const int latency = std::max(samples, 0);
  if (latency == GetLatency()) return;
  mLatency.store(latency, std::memory_order_relaxed);
  if (mDelay) mDelay->SetLength(latency);
}

bool IPlugBase::ResizeBlockBuffers(int frames)
{
  if (frames < 0) frames = 0;
  if (frames == mBlockSize) return true;
  if (frames > INT_MAX / static_cast<int>(sizeof(double))) return false;

  // Every buffer is resized first without giving memory back; when one cannot
  // be, those already resized go back to the old size, which then needs no
  // allocation. Only then may a smaller size release memory.
  const int bytes = frames * static_cast<int>(sizeof(double));
  const int oldBytes = mBlockSize * static_cast<int>(sizeof(double));
  const int count = NInChannels() + NOutChannels();
  int resized = 0;
  while (resized < count && ResizeScratch(resized, bytes, false)) ++resized;
  if (resized < count)
  {
    for (int i = 0; i < resized; ++i) ResizeScratch(i, oldBytes, false);
    return false;
  }
  for (int i = 0; i < count; ++i)
  {
    ResizeScratch(i, bytes, true);
    if (double* scratch = ScratchOf(i)) std::memset(scratch, 0, static_cast<size_t>(bytes));
  }
  mBlockSize = frames;
  return true;
}

GrowBuffer& IPlugBase::ScratchBuffer(int index, double**& slot)
{
  if (index < NInChannels())
  {
    InChannel* in = mInChannels.Get(index);
    slot = in->slot;
    return in->scratch;
  }
  OutChannel* out = mOutChannels.Get(index - NInChannels());
  slot = out->slot;
  return out->scratch;
}

double* IPlugBase::ScratchOf(int index)
{
  double** slot = nullptr;
  return static_cast<double*>(ScratchBuffer(index, slot).Get());
}

bool IPlugBase::ResizeScratch(int index, int bytes, bool allowShrink)
{
  double** slot = nullptr;
  GrowBuffer& scratch = ScratchBuffer(index, slot);
  const bool slotAtScratch = !*slot || *slot == scratch.Get();
  scratch.Resize(bytes, allowShrink);
  if (slotAtScratch) *slot = static_cast<double*>(scratch.Get());
  return scratch.GetSize() == bytes;
}

// ---- Presets ----

void IPlugBase::CaptureDefaultPreset()
{
  for (int i = 0; i < NPresets(); ++i)
  {
    PresetSlot* preset = mPresets.Get(i);
    if (preset->initialized) continue;
    preset->initialized = true;
    CopyText(preset->name, kDefaultPresetName);
    SaveState(preset->state);
    return;
  }
}

bool IPlugBase::LoadPreset(int index)
{
  PresetSlot* preset = mPresets.Get(index);
  if (!preset) return false;

  bool loaded;
  if (preset->initialized)
  {
    loaded = LoadState(preset->state, 0) > 0;
  }
  else
  {
    int userPresets = 0;
    for (int i = 0; i < NPresets(); ++i)
      if (std::strstr(mPresets.Get(i)->name, kUserPresetName)) ++userPresets;
    preset->initialized = true;
    std::snprintf(preset->name, sizeof(preset->name), "%s %d", kUserPresetName, userPresets + 1);
    preset->state.Clear();
    loaded = SaveState(preset->state);
  }

  if (loaded)
  {
    mCurrentPreset = index;
    HandlePresetRestored();
    RefreshParamControls();
  }
  return loaded;
}

const char* IPlugBase::GetPresetName(int index) const
{
  const PresetSlot* preset = mPresets.Get(index);
  return preset ? preset->name : nullptr;
}

// ---- State ----

bool IPlugBase::SerializeParams(StateChunk& chunk)
{
  IMutexLock lock(mMutex);
  for (int i = 0; i < NParams(); ++i)
  {
    const double v = GetParamRecord(i)->GetValue();
    const int before = chunk.GetSize();
    if (chunk.Put(&v, sizeof(v)) != before + static_cast<int>(sizeof(v))) return false;
  }
  return true;
}

int IPlugBase::UnserializeParams(const StateChunk& chunk, int pos)
{
  IMutexLock lock(mMutex);
  const int n = NParams();
  for (int i = 0; i < n && pos >= 0; ++i)
  {
    double v = 0.0;
    pos = chunk.Get(&v, sizeof(v), pos);
    GetParamRecord(i)->SetClamped(v);
  }
  for (int i = 0; i < n; ++i) HandleParamChange(i);
  return pos;
}

void IPlugBase::SetNOriginalStateParams(int count)
{
  mNOriginalStateParams = std::clamp(count, 0, NParams());
}

void IPlugBase::WriteAppendedDefaults(StateChunk& chunk) const
{
  for (int i = mNOriginalStateParams; i < NParams(); ++i)
  {
    const size_t at = static_cast<size_t>(i) * sizeof(double);
    if (at + sizeof(double) > static_cast<size_t>(chunk.GetSize())) return;
    const double v = GetParamRecord(i)->GetDefault();
    std::memcpy(chunk.GetData() + at, &v, sizeof(v));
  }
}

bool IPlugBase::AppendedValuesValid(const StateChunk& chunk) const
{
  for (int i = mNOriginalStateParams; i < NParams(); ++i)
  {
    double v;
    if (chunk.Get(&v, sizeof(v), i * static_cast<int>(sizeof(v))) < 0) return false;
    const IParamRecord* param = GetParamRecord(i);
    if (param->GetType() == IParamRecord::kTypeDouble) continue;
    const double steps = (v - param->GetMin()) / param->GetStep();
    if (!(v >= param->GetMin() && v <= param->GetMax() && steps == std::floor(steps))) return false;
  }
  return true;
}

// ---- Channel configuration ----

bool IPlugBase::LegalIO(int inputs, int outputs) const
{
  for (int i = 0; i < mChannelIO.GetCount(); ++i)
  {
    const ChannelIOPair* pair = mChannelIO.Get(i);
    if ((inputs < 0 || inputs == pair->inputs) && (outputs < 0 || outputs == pair->outputs)) return true;
  }
  return false;
}

// ---- Buffer bridge ----

bool IPlugBase::IsInputConnected(int channel) const
{
  const InChannel* in = mInChannels.Get(channel);
  return in && in->connected;
}

bool IPlugBase::IsOutputConnected(int channel) const
{
  const OutChannel* out = mOutChannels.Get(channel);
  return out && out->connected;
}

void IPlugBase::SetInputConnected(int channel, bool connected)
{
  if (InChannel* in = mInChannels.Get(channel)) in->connected = connected;
}

void IPlugBase::SetOutputConnected(int channel, bool connected)
{
  if (OutChannel* out = mOutChannels.Get(channel)) out->connected = connected;
}

void IPlugBase::PointInputAtScratch(int channel)
{
  if (InChannel* in = mInChannels.Get(channel)) *in->slot = in->Scratch();
}

void IPlugBase::PointInputAt(int channel, double* hostBuffer)
{
  if (InChannel* in = mInChannels.Get(channel)) *in->slot = hostBuffer;
}

void IPlugBase::PointOutputAtScratch(int channel)
{
  if (OutChannel* out = mOutChannels.Get(channel)) *out->slot = out->Scratch();
}

void IPlugBase::PointOutputAt(int channel, double* hostBuffer)
{
  if (OutChannel* out = mOutChannels.Get(channel)) *out->slot = hostBuffer;
}

void IPlugBase::SetOutputDestination(int channel, float* hostBuffer)
{
  if (OutChannel* out = mOutChannels.Get(channel)) out->destination = hostBuffer;
}

float* IPlugBase::GetOutputDestination(int channel) const
{
  const OutChannel* out = mOutChannels.Get(channel);
  return out ? out->destination : nullptr;
}

void IPlugBase::ConnectInputs(int first, int count, float* const* hostBuffers, int frames, int hostOffset)
{
  if (first < 0 || count <= 0 || hostOffset < 0) return;
  const long long endLong = std::min<long long>(static_cast<long long>(first) + count, NInChannels());
  const int end = static_cast<int>(endLong);
  int next = 0;
  for (int i = first; i < end; ++i)
  {
    InChannel* in = mInChannels.Get(i);
    if (!in->connected) continue;
    double* scratch = in->Scratch();
    const int n = std::clamp(frames, 0, in->ScratchFrames());
    const float* src = hostBuffers ? hostBuffers[next] : nullptr;
    ++next;
    if (src)
      for (int s = 0; s < n; ++s) scratch[s] = src[hostOffset + s];
    else if (n)
      std::memset(scratch, 0, sizeof(double) * static_cast<size_t>(n));
    *in->slot = scratch;
  }
}

void IPlugBase::SilenceInput(int channel, int frames)
{
  InChannel* in = mInChannels.Get(channel);
  if (!in) return;
  *in->slot = in->Scratch();
  const int n = std::clamp(frames, 0, in->ScratchFrames());
  if (n) std::memset(in->Scratch(), 0, sizeof(double) * static_cast<size_t>(n));
}

void IPlugBase::WriteOutputs(int frames, int hostOffset)
{
  if (hostOffset < 0) return;
  for (int i = 0; i < NOutChannels(); ++i)
  {
    OutChannel* out = mOutChannels.Get(i);
    if (!out->connected || !out->destination || !*out->slot) continue;
    const double* src = *out->slot;
    const int n = std::clamp(frames, 0, out->ScratchFrames());
    float* dst = out->destination + hostOffset;
    for (int s = 0; s < n; ++s) dst[s] = static_cast<float>(src[s]);
  }
}

void IPlugBase::PassThroughAudio(int frames)
{
  double** inputs = GetInputPointers();
  double** outputs = GetOutputPointers();
  if (mDelay && GetLatency() > 0)
    mDelay->Process(inputs, NInChannels(), outputs, NOutChannels(), frames);
  else
    CopyAndZeroFill(inputs, NInChannels(), outputs, NOutChannels(), frames);
}

void IPlugBase::CreateLatencyDelay()
{
  mDelay = std::make_unique<LatencyDelay>();
  mDelay->Prepare(std::min(NInChannels(), NOutChannels()), std::max(mReservedLatency, GetLatency()));
  mDelay->SetLength(GetLatency());
}

void IPlugBase::ReserveLatency(int maxSamples)
{
  mReservedLatency = std::max(maxSamples, 0);
  if (mDelay && mDelay->GetCapacity() < mReservedLatency) mDelay->Prepare(mDelay->GetChannels(), mReservedLatency);
}

// ---- Bus and group names ----

bool IPlugBase::SetBusName(PtrList<PlugString>& names, int index, const char* name)
{
  if (index < 0) return false;
  while (names.GetCount() <= index)
  {
    PlugString* blank = new PlugString;
    if (!names.Add(blank))
    {
      delete blank;
      return false;
    }
  }
  names.Get(index)->Set(name);
  return true;
}

bool IPlugBase::SetInputBusName(int index, const char* name)
{
  return SetBusName(mInputBusNames, index, name);
}

bool IPlugBase::SetOutputBusName(int index, const char* name)
{
  return SetBusName(mOutputBusNames, index, name);
}

const char* IPlugBase::GetInputBusName(int index) const
{
  const PlugString* name = mInputBusNames.Get(index);
  return name ? name->Get() : nullptr;
}

const char* IPlugBase::GetOutputBusName(int index) const
{
  const PlugString* name = mOutputBusNames.Get(index);
  return name ? name->Get() : nullptr;
}

int IPlugBase::AddGroupName(const char* group)
{
  if (!group || !group[0]) return 0;
  for (int i = 0; i < mGroupNames.GetCount(); ++i)
    if (std::strcmp(mGroupNames.Get(i), group) == 0) return i + 1;
  if (!mGroupNames.Add(group)) return 0;
  return mGroupNames.GetCount();
}

// ---- Host ----

void IPlugBase::SetHost(const char* hostName, int version)
{
  mHostId = LookUpHost(hostName);
  mHostVersion = version;
}
