#include "FuzzHost.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "FuzzStream.h"
#include "HostScript.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "tools/vst3host/HostApplication.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr ParamID kPrst = 0x70727374;
constexpr ParamID kBpas = 0x62706173;
constexpr size_t kStateBytes = 96;
// The state from before the preset index: without its int32 at the end.
constexpr size_t kSizedStateBytes = 92;
// The state from before the editor's size: without its double.
constexpr size_t kQualityStateBytes = 84;
// The state from before "Quality": the nine doubles and the flag.
constexpr size_t kOriginalStateBytes = 76;
// The editor's size factor: where a state holds it, and the factors it may hold.
constexpr int kSizeIndex = 10;
constexpr double kSmallestSize = 0.25, kLargestSize = 4.0;
constexpr size_t kFlagOffset = 72;
// The index of the current preset, and how many presets there are.
constexpr size_t kPresetOffset = 92;
constexpr int32 kNumPresets = 15;
constexpr int kNumParams = 10;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The plain range of each of MERO's ten parameters, and whether it is stepped.
struct PlainRange
{
  double min, max;
  bool stepped;
};
constexpr PlainRange kRanges[kNumParams] = {{0, 20, true}, {0, 2, true}, {0, 3, true}, {-96, 12, false}, {0, 1, true},
                                            {0, 1, true},  {0, 1, true}, {0, 1, true}, {0, 1, true},     {0, 2, true}};
constexpr ParamID kParameterTags[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, kPrst, kBpas};

bool IsParameterTag(ParamID tag)
{
  return tag < kNumParams || tag == kPrst || tag == kBpas;
}

// The plain range of a parameter tag; 0 ... 1 for the program change and the bypass.
PlainRange RangeOf(ParamID tag)
{
  return tag < kNumParams ? kRanges[tag] : PlainRange{0, 1, false};
}

bool Within(double v, const PlainRange& range, bool onStep)
{
  return v >= range.min && v <= range.max && (!onStep || !range.stepped || v == std::floor(v));
}

// Where parameter i's double sits in the state: the nine original ones, the flag,
// then "Quality", then (kSizeIndex) the editor's size factor.
size_t OffsetOf(int i)
{
  return i < 9 ? 8 * static_cast<size_t>(i) : i == 9 ? kOriginalStateBytes : kQualityStateBytes;
}

double ValueIn(const std::vector<char>& bytes, int i)
{
  double v;
  std::memcpy(&v, bytes.data() + OffsetOf(i), sizeof(v));
  return v;
}

int32 FlagIn(const std::vector<char>& bytes)
{
  int32 flag;
  std::memcpy(&flag, bytes.data() + kFlagOffset, sizeof(flag));
  return flag;
}

int32 PresetIn(const std::vector<char>& bytes)
{
  int32 preset;
  std::memcpy(&preset, bytes.data() + kPresetOffset, sizeof(preset));
  return preset;
}

// Names the first parameter (or the flag) in which two states differ.
void PrintStateDifference(const std::vector<char>& a, const std::vector<char>& b)
{
  for (int i = 0; i < kNumParams && a.size() >= kStateBytes && b.size() >= kStateBytes; ++i)
    if (std::memcmp(a.data() + OffsetOf(i), b.data() + OffsetOf(i), 8) != 0)
    {
      std::fprintf(stderr, "FuzzHost: parameter %d was %.17g, is %.17g\n", i, ValueIn(a, i), ValueIn(b, i));
      return;
    }
  std::fprintf(stderr, "FuzzHost: the states differ in their flag or length\n");
}

// What setState of the first delivered bytes of a stream should leave, starting from
// the state before: false when it must refuse them. The state holds the original nine
// (each clamped into its range and stepped toward zero; NaN keeps the value), then the
// flag (set when not 0), then, unless the stream ends there, "Quality", which must be
// one of its positions, then, unless the stream ends there (the size is then 1), the
// editor's size factor, which must be within its range, then, unless the stream ends
// there (preset 0), the index of a preset.
bool ExpectedLoad(const std::vector<char>& before, const std::vector<char>& bytes, size_t delivered,
                  std::vector<double>& values, int32& flag, double& size, int32& preset)
{
  if (delivered != kOriginalStateBytes && delivered != kQualityStateBytes && delivered != kSizedStateBytes &&
      delivered != kStateBytes)
    return false;
  size = delivered >= kSizedStateBytes ? ValueIn(bytes, kSizeIndex) : 1.0;
  if (!(size >= kSmallestSize && size <= kLargestSize)) return false;
  preset = delivered == kStateBytes ? PresetIn(bytes) : 0;
  if (preset < 0 || preset >= kNumPresets) return false;
  values.assign(kNumParams, 0.0);
  for (int i = 0; i < 9; ++i)
  {
    const double v = ValueIn(bytes, i);
    const double clamped = std::min(std::max(v, kRanges[i].min), kRanges[i].max);
    values[i] = std::isnan(v) ? ValueIn(before, i) : kRanges[i].stepped ? std::trunc(clamped) : clamped;
  }
  flag = FlagIn(bytes) != 0 ? 1 : 0;
  if (delivered == kOriginalStateBytes) return true;
  values[9] = ValueIn(bytes, 9);
  return Within(values[9], kRanges[9], true);
}

void Require(bool ok, const char* what)
{
  if (ok) return;
  std::fprintf(stderr, "FuzzHost: %s\n", what);
  std::abort();
}

ParamID PickTag(ByteReader& in)
{
  static const ParamID kTags[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, kPrst, kBpas, 0xFFFFFFFFu, 0x80000000u};
  const uint8_t choice = in.Byte();
  return choice < 240 ? kTags[choice % (sizeof(kTags) / sizeof(kTags[0]))] : in.Word();
}

double PickValue(ByteReader& in)
{
  static const double kValues[] = {0.0,    0.5, 1.0,  -1.0, 2.0, kNaN,  kInf,  -kInf,
                                   1e-300, 0.7, 0.25, -0.0, 1.5, 1e308, -1e308};
  const uint8_t choice = in.Byte();
  if (choice < 200) return kValues[choice % (sizeof(kValues) / sizeof(kValues[0]))];
  if (choice < 230) return in.Byte() / 255.0;
  return in.Double();
}

template <typename Sample>
Sample PickExtreme(ByteReader& in)
{
  using Limits = std::numeric_limits<Sample>;
  const Sample kExtremes[] = {
      Limits::quiet_NaN(),  Limits::infinity(), -Limits::infinity(), Limits::max(), -Limits::max(),
      Limits::denorm_min(), Sample(1e30),       Sample(-1e30),       Sample(0.5),   Sample(-1)};
  return kExtremes[in.Byte() % (sizeof(kExtremes) / sizeof(kExtremes[0]))];
}

template <typename Sample>
Sample RawSample(ByteReader& in);
template <>
float RawSample<float>(ByteReader& in)
{
  return in.Float();
}
template <>
double RawSample<double>(ByteReader& in)
{
  return in.Double();
}

// The buses of one side of a process call with their channel arrays and samples.
template <typename Sample>
struct BusSet
{
  std::vector<AudioBusBuffers> buses;
  std::vector<std::vector<Sample>> samples;
  std::vector<std::vector<Sample*>> pointers;

  void Fill(ByteReader& in, int count, int frames)
  {
    static const int32 kChannels[] = {0, 1, 2, 2, 3, -1};
    buses.assign(static_cast<size_t>(count), AudioBusBuffers());
    pointers.assign(static_cast<size_t>(count), {});
    samples.clear();
    samples.reserve(8);
    for (int b = 0; b < count; ++b)
    {
      AudioBusBuffers& bus = buses[static_cast<size_t>(b)];
      bus.numChannels = in.Pick(kChannels);
      const uint8_t nulls = in.Byte();
      const uint8_t kind = in.Byte() % 4;
      for (int c = 0; c < std::max<int32>(bus.numChannels, 0); ++c)
      {
        samples.emplace_back(static_cast<size_t>(frames), Sample(0));
        std::vector<Sample>& channel = samples.back();
        for (int i = 0; i < frames; ++i)
        {
          if (kind == 1) channel[i] = Sample(0.5 * std::sin(0.05 * i + c));
          if (kind == 2) channel[i] = RawSample<Sample>(in);
          if (kind == 3 && i % 64 == 0) channel[i] = PickExtreme<Sample>(in);
        }
        pointers[static_cast<size_t>(b)].push_back(nulls & (2 << c) ? nullptr : channel.data());
      }
      Sample** array =
          (nulls & 1) || pointers[static_cast<size_t>(b)].empty() ? nullptr : pointers[static_cast<size_t>(b)].data();
      if constexpr (sizeof(Sample) == 4)
        bus.channelBuffers32 = array;
      else
        bus.channelBuffers64 = array;
    }
  }
};

// One process call with buses of the given sample type.
template <typename Sample>
tresult ProcessWith(IAudioProcessor* processor, ProcessData& data, ByteReader& in, int frames, bool nullInputs,
                    bool nullOutputs)
{
  BusSet<Sample> inputs, outputs;
  inputs.Fill(in, data.numInputs, frames);
  outputs.Fill(in, data.numOutputs, frames);
  data.inputs = nullInputs ? nullptr : inputs.buses.data();
  data.outputs = nullOutputs ? nullptr : outputs.buses.data();
  return processor->process(data);
}
}  // namespace

class FuzzHost::RestartWatch : public FObject, public IComponentHandler
{
public:
  explicit RestartWatch(IAudioProcessor* processor)
    : mProcessor(processor)
  {
  }
  tresult PLUGIN_API beginEdit(ParamID) override { return kResultOk; }
  tresult PLUGIN_API performEdit(ParamID, ParamValue) override { return kResultOk; }
  tresult PLUGIN_API endEdit(ParamID) override { return kResultOk; }
  tresult PLUGIN_API restartComponent(int32 flags) override
  {
    // A new latency, or (after a preset is selected) parameter values to read again.
    Require(flags == kLatencyChanged || flags == kParamValuesChanged,
            "a restart request other than kLatencyChanged or kParamValuesChanged");
    if (flags != kLatencyChanged) return kResultOk;
    ++requests;
    latency = mProcessor->getLatencySamples();
    return kResultOk;
  }
  DEF_INTERFACES_1(IComponentHandler, FObject)
  REFCOUNT_METHODS(FObject)

  int requests = 0;
  uint32 latency = 0;

private:
  IAudioProcessor* mProcessor;
};

FuzzHost::FuzzHost(IPluginFactory* factory)
  : mChanges(new mero::ParameterChanges(16, 8), false)
{
  PClassInfo info;
  Require(factory && factory->getClassInfo(0, &info) == kResultOk, "no class");
  Require(factory->createInstance(info.cid, IComponent::iid, reinterpret_cast<void**>(&mComponent)) == kResultOk,
          "no instance");
  Require(mComponent->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&mProcessor)) == kResultOk,
          "no processor");
  Require(mComponent->queryInterface(IEditController::iid, reinterpret_cast<void**>(&mController)) == kResultOk,
          "no controller");
  mRestarts = owned(new RestartWatch(mProcessor));
  mCheckedLatency = mProcessor->getLatencySamples();
}

FuzzHost::~FuzzHost()
{
  mComponent->setActive(false);
  mComponent->terminate();
  mController->release();
  mProcessor->release();
  mComponent->release();
}

void FuzzHost::Step(ByteReader& in)
{
  // terminate drops the handler; the host gives it again.
  mController->setComponentHandler(mRestarts);
  switch (static_cast<HostOp>(in.Byte() % static_cast<uint8_t>(HostOp::kCount)))
  {
    case HostOp::kInitialize:
      Initialize(in);
      break;
    case HostOp::kTerminate:
      mComponent->terminate();
      break;
    case HostOp::kArrange:
      Arrange(in);
      break;
    case HostOp::kActivateBus:
      ActivateBus(in);
      break;
    case HostOp::kSetup:
      Setup(in);
      break;
    case HostOp::kSetActive:
      mComponent->setActive(in.Byte() & 1);
      break;
    case HostOp::kProcess:
      Process(in);
      break;
    case HostOp::kSetState:
      SetState(in);
      break;
    case HostOp::kGetState:
      GetState(in);
      break;
    case HostOp::kController:
      Controller(in);
      break;
    case HostOp::kQuery:
    case HostOp::kCount:
      Query(in);
      break;
  }
}

void FuzzHost::Initialize(ByteReader& in)
{
  static const char* const kNames[] = {"Cubase", "REAPER", "", "VST3PluginTestHost", "Live"};
  const uint8_t choice = in.Byte();
  if (choice == 0)
  {
    mComponent->initialize(nullptr);
    return;
  }
  IPtr<mero::HostApplication> host(new mero::HostApplication(kNames[choice % 5]), false);
  mComponent->initialize(host->unknownCast());
}

void FuzzHost::Arrange(ByteReader& in)
{
  static const SpeakerArrangement kArrangements[] = {
      SpeakerArr::kMono, SpeakerArr::kStereo, SpeakerArr::k51, SpeakerArr::kEmpty, 0x7, ~SpeakerArrangement(0)};
  const uint8_t layout = in.Byte();
  SpeakerArrangement ins[2] = {in.Pick(kArrangements), in.Pick(kArrangements)};
  SpeakerArrangement outs[2] = {in.Pick(kArrangements), in.Pick(kArrangements)};
  mProcessor->setBusArrangements(layout & 0x40 ? nullptr : ins, layout % 3, layout & 0x80 ? nullptr : outs,
                                 (layout / 3) % 3);
}

void FuzzHost::ActivateBus(ByteReader& in)
{
  const uint8_t b = in.Byte();
  mComponent->activateBus(b % 3, (b / 3) % 2, static_cast<int8_t>(in.Byte()) % 4, (b & 0x80) != 0);
}

void FuzzHost::Setup(ByteReader& in)
{
  static const int32 kSizes[] = {kSample32, kSample64, 2, -1};
  static const int32 kBlocks[] = {0,    1,     2,     7,  64,      256,        512,     1000,
                                  4096, 16384, 65536, -1, INT_MAX, 0x0FFFFFFF, INT_MIN, 0x10000000};
  static const double kRates[] = {44100.0, 48000.0, 96000.0, 192000.0, 8000.0,  1.0,    0.0,
                                  -1.0,    kNaN,    kInf,    1e300,    22050.5, 1e-300, 5e6};
  ProcessSetup setup;
  setup.processMode = in.Byte() % 3;
  setup.symbolicSampleSize = in.Pick(kSizes);
  setup.maxSamplesPerBlock = in.Pick(kBlocks);
  setup.sampleRate = in.Byte() < 240 ? in.Pick(kRates) : in.Double();
  if (mProcessor->setupProcessing(setup) == kResultOk) mSampleSize = setup.symbolicSampleSize;
}

void FuzzHost::FillParameterChanges(ByteReader& in, int frames)
{
  mChanges->Clear();
  const int queues = in.Byte() % 5;
  for (int q = 0; q < queues; ++q)
  {
    const ParamID tag = PickTag(in);
    const int points = in.Byte() % 4;
    for (int p = 0; p < points; ++p)
    {
      const int32 offsets[] = {0, std::max(frames - 1, 0), -1, INT_MAX, frames / 2};
      mChanges->Add(tag, PickValue(in), in.Pick(offsets));
    }
  }
}

void FuzzHost::Process(ByteReader& in)
{
  static const int32 kSizes[] = {kSample32, kSample64, kSample32, kSample64, 2};
  static const int32 kFrames[] = {0, 1, 2, 31, 64, 255, 256, 512, 513, 1024, 4096, 8192, -1, INT_MIN};
  ProcessData data;
  data.symbolicSampleSize = in.Pick(kSizes);
  data.processMode = in.Byte() % 3;
  data.numSamples = in.Pick(kFrames);
  const int frames = std::max<int32>(data.numSamples, 0);
  const uint8_t layout = in.Byte();
  data.numInputs = layout % 3;
  data.numOutputs = (layout / 3) % 3;

  const uint8_t extras = in.Byte();
  FillParameterChanges(in, frames);
  data.inputParameterChanges = extras & 1 ? mChanges.get() : nullptr;
  ProcessContext context = {};
  if (extras & 2)
  {
    context.state = in.Word();
    context.sampleRate = in.Double();
    context.projectTimeSamples = static_cast<int64>(in.Word()) << 16;
    context.tempo = in.Double();
    context.timeSigNumerator = static_cast<int32>(in.Word());
    context.timeSigDenominator = static_cast<int32>(in.Word());
    data.processContext = &context;
  }

  const bool nullInputs = layout & 0x40;
  const bool nullOutputs = layout & 0x80;
  if (data.symbolicSampleSize == kSample64)
    ProcessWith<double>(mProcessor, data, in, frames, nullInputs, nullOutputs);
  else
    ProcessWith<float>(mProcessor, data, in, frames, nullInputs, nullOutputs);
}

std::vector<char> FuzzHost::CurrentState()
{
  IPtr<FuzzStream> stream(new FuzzStream, false);
  Require(mController->getState(stream) == kResultOk, "getState into a working stream failed");
  Require(stream->Bytes().size() == kStateBytes, "the state is not 96 bytes");
  const std::vector<char>& bytes = stream->Bytes();
  for (int i = 0; i < kNumParams; ++i)
  {
    const double v = ValueIn(bytes, i);
    if (!Within(v, kRanges[i], true)) std::fprintf(stderr, "FuzzHost: parameter %d holds %.17g\n", i, v);
    Require(Within(v, kRanges[i], true), "getState wrote a value outside its parameter's range or step");
  }
  const int32 flag = FlagIn(bytes);
  Require(flag == 0 || flag == 1, "getState wrote a bypass flag other than 0 or 1");
  const double size = ValueIn(bytes, kSizeIndex);
  Require(size >= kSmallestSize && size <= kLargestSize, "getState wrote an editor size out of its range");
  return bytes;
}

void FuzzHost::CheckLatency()
{
  const uint32 latency = mProcessor->getLatencySamples();
  if (mRestarts->requests == mCheckedRestarts)
    Require(latency == mCheckedLatency, "the latency changed without restartComponent(kLatencyChanged)");
  else
    Require(latency == mRestarts->latency, "the latency is not the one reported with the last restart request");
  mCheckedRestarts = mRestarts->requests;
  mCheckedLatency = latency;
  // Standard, High and Ultra delay by 0, 73 and 75 samples.
  const ParamValue quality = mController->getParamNormalized(9);
  const uint32 expected = quality < 0.25 ? 0 : (quality < 0.75 ? 73 : 75);
  Require(latency == expected, "the latency is not the one of the Quality position");
}

void FuzzHost::CheckValues()
{
  CurrentState();
  for (ParamID tag : kParameterTags)
  {
    const ParamValue v = mController->getParamNormalized(tag);
    Require(v >= 0.0 && v <= 1.0, "getParamNormalized outside 0 ... 1");
  }
}

void FuzzHost::SetState(ByteReader& in)
{
  const std::vector<char> before = CurrentState();
  std::vector<char> bytes = before;
  FuzzStream::Faults faults;
  const uint8_t kind = in.Byte() % 9;
  switch (kind)
  {
    case 0:  // garbage of any length
      bytes.assign(in.Byte(), 0);
      for (char& c : bytes) c = static_cast<char>(in.Byte());
      break;
    case 7:  // the state from before "Quality" or before the editor's size, or a longer one
    {
      const uint8_t length = in.Byte() % 3;
      bytes.resize(length == 0   ? kOriginalStateBytes
                   : length == 1 ? kQualityStateBytes
                                 : kStateBytes + 1 + in.Byte() % 16,
                   0);
      break;
    }
    case 8:  // a "Quality" value no position has, or one that is
    {
      const double v = in.Byte() & 1 ? static_cast<double>(in.Byte() % 3) : PickValue(in);
      std::memcpy(bytes.data() + OffsetOf(9), &v, sizeof(v));
      break;
    }
    case 1:  // a state with some bytes changed
      for (int n = in.Byte() % 8; n > 0; --n) bytes[in.Byte() % kStateBytes] = static_cast<char>(in.Byte());
      break;
    case 2:  // truncated
      bytes.resize(in.Byte() % kStateBytes);
      break;
    case 3:  // delivered a few bytes per read
      faults.maxPerRead = in.Byte() % 7 + 1;
      break;
    case 4:  // reads fail part way
      faults.readLimit = in.Byte() % kStateBytes;
      break;
    case 5:  // values no parameter can have
      for (int n = in.Byte() % 9 + 1; n > 0; --n)
      {
        const double v = PickValue(in);
        std::memcpy(bytes.data() + OffsetOf(in.Byte() % (kNumParams + 1)), &v, sizeof(v));
      }
      break;
    default:
      Require(mController->setState(nullptr) != kResultOk, "setState accepted no stream");
      return;
  }
  IPtr<FuzzStream> stream(new FuzzStream(bytes, faults), false);
  const tresult result = mController->setState(stream);
  if (kind == 3)
  {
    // Read in pieces, the state sets what it sets when read whole (values outside a
    // parameter's range are clamped either way).
    Require(result == kResultOk, "a state read in pieces was refused");
    const std::vector<char> inPieces = CurrentState();
    IPtr<FuzzStream> whole(new FuzzStream(bytes, FuzzStream::Faults()), false);
    Require(mController->setState(whole) == kResultOk, "a whole state was refused");
    const std::vector<char> read = CurrentState();
    if (read != inPieces) PrintStateDifference(read, inPieces);
    Require(read == inPieces, "a state read in pieces set other values than read whole");
  }
  // A stream ends where a read fails, so a state cut there is the state it delivers.
  const size_t delivered = std::min(bytes.size(), static_cast<size_t>(faults.readLimit));
  std::vector<double> values;
  int32 flag = 0;
  double size = 1.0;
  int32 preset = 0;
  const bool accept = ExpectedLoad(before, bytes, delivered, values, flag, size, preset);
  const std::vector<char> after = CurrentState();
  if (!accept)
  {
    Require(result != kResultOk, "a state of another length or with a value off the steps was accepted");
    if (after != before) PrintStateDifference(before, after);
    Require(after == before, "a refused state changed the state");
    return;
  }
  Require(result == kResultOk, "a state of either length was refused");
  for (int i = 0; i < kNumParams; ++i)
  {
    if (ValueIn(after, i) == values[i]) continue;
    std::fprintf(stderr, "FuzzHost: parameter %d holds %.17g, not %.17g\n", i, ValueIn(after, i), values[i]);
    Require(false, "a state loaded other values than it holds");
  }
  Require(FlagIn(after) == flag, "a state loaded another bypass flag than it holds");
  Require(ValueIn(after, kSizeIndex) == size, "a state loaded another editor size than it holds");
  Require(PresetIn(after) == preset, "a state loaded another preset than it holds");
}

void FuzzHost::GetState(ByteReader& in)
{
  FuzzStream::Faults faults;
  faults.failingWrite = in.Byte() % 2;
  faults.shortWrite = in.Byte() & 1;
  IPtr<FuzzStream> stream(new FuzzStream({}, faults), false);
  Require(mController->getState(stream) != kResultOk, "getState ignored a failing write");
  CurrentState();
}

void FuzzHost::Controller(ByteReader& in)
{
  static const char* const kTexts[] = {"0.5", "1e19", "nan", "inf", "0x1p3", "-3",    "on",
                                       "off", "1,5",  "",    "7",   "High",  "ultra", "Hihg"};
  const ParamID tag = PickTag(in);
  switch (in.Byte() % 11)
  {
    case 0:
      mController->setParamNormalized(tag, PickValue(in));
      break;
    case 1:
    {
      const ParamValue v = mController->getParamNormalized(tag);
      Require(v >= 0.0 && v <= 1.0, "getParamNormalized outside 0 ... 1");
      break;
    }
    case 2:
    {
      String128 text;
      text[127] = 1;
      if (mController->getParamStringByValue(tag, PickValue(in), text) != kResultOk) break;
      Require(std::find(text, text + 128, 0) != text + 128, "value text without its terminator");
      std::string narrow;
      for (const TChar* t = text; *t; ++t) narrow += static_cast<char>(*t);
      Require(Within(std::strtod(narrow.c_str(), nullptr), RangeOf(tag), false),
              "value text outside the parameter's range");
      break;
    }
    case 3:
    {
      std::basic_string<TChar> text;
      const uint8_t pick = in.Byte();
      if (pick < 200)
        for (const char* t = kTexts[pick % (sizeof(kTexts) / sizeof(kTexts[0]))]; *t; ++t)
          text += static_cast<TChar>(*t);
      else
        for (int n = in.Byte() % 24; n > 0; --n) text += static_cast<TChar>(in.Byte() | in.Byte() << 8);
      ParamValue v = 0.0;
      if (mController->getParamValueByString(tag, text.data(), v) == kResultOk)
        Require(v >= 0.0 && v <= 1.0, "getParamValueByString outside 0 ... 1");
      break;
    }
    case 4:
    {
      const ParamValue plain = mController->normalizedParamToPlain(tag, PickValue(in));
      Require(!IsParameterTag(tag) || Within(plain, RangeOf(tag), false),
              "normalizedParamToPlain outside the parameter's range");
      break;
    }
    case 5:
    {
      const ParamValue v = mController->plainParamToNormalized(tag, in.Byte() < 128 ? PickValue(in) : in.Double());
      Require(!IsParameterTag(tag) || (v >= 0.0 && v <= 1.0), "plainParamToNormalized outside 0 ... 1");
      break;
    }
    case 6:
    {
      ParameterInfo info;
      mController->getParameterInfo(static_cast<int32>(in.Word()), info);
      break;
    }
    case 7:
    {
      FUnknownPtr<IUnitInfo> units(mController);
      UnitInfo unit;
      ProgramListInfo list;
      String128 name;
      if (!units) break;
      units->getUnitInfo(static_cast<int32>(in.Word()), unit);
      units->getProgramListInfo(static_cast<int32>(in.Word()), list);
      units->getProgramName(in.Byte() & 1 ? kPrst : in.Word(), static_cast<int32>(in.Word()), name);
      break;
    }
    case 8:
    {
      IPlugView* view = mController->createView(in.Byte() & 1 ? "editor" : nullptr);
      if (view) view->release();
      break;
    }
    case 9:
      mController->setComponentState(nullptr);
      break;
    default:
      mController->getParamNormalized(kBpas);
      break;
  }
}

void FuzzHost::Query(ByteReader& in)
{
  const uint8_t b = in.Byte();
  const int32 index = static_cast<int8_t>(in.Byte());
  BusInfo bus;
  SpeakerArrangement arrangement = 0;
  RoutingInfo a, c;
  switch (b % 7)
  {
    case 0:
      mProcessor->setProcessing(b & 0x80);
      break;
    case 1:
      mProcessor->canProcessSampleSize(static_cast<int32>(in.Word()));
      break;
    case 2:
      mComponent->getBusInfo(index % 3, (b >> 4) & 1, index, bus);
      break;
    case 3:
      mProcessor->getBusArrangement((b >> 4) & 1, index, arrangement);
      break;
    case 4:
      mProcessor->getLatencySamples();
      mProcessor->getTailSamples();
      break;
    case 5:
      mComponent->getRoutingInfo(a, c);
      mComponent->setIoMode(index);
      break;
    default:
      mComponent->getBusCount(index % 3, (b >> 4) & 1);
      break;
  }
}

void FuzzHost::CheckNormalBlock()
{
  constexpr int kFrames = 128;
  mChanges->Clear();
  ProcessData data;
  data.symbolicSampleSize = mSampleSize;
  data.numSamples = kFrames;
  data.numInputs = 1;
  data.numOutputs = 1;
  AudioBusBuffers inBus, outBus;
  inBus.numChannels = outBus.numChannels = 2;
  data.inputs = &inBus;
  data.outputs = &outBus;
  bool finite = true;
  auto render = [&](auto zero)
  {
    using Sample = decltype(zero);
    std::vector<Sample> in[2], out[2];
    Sample* inPointers[2];
    Sample* outPointers[2];
    for (int c = 0; c < 2; ++c)
    {
      in[c].resize(kFrames);
      out[c].assign(kFrames, zero);
      for (int i = 0; i < kFrames; ++i) in[c][i] = Sample(0.25 * std::sin(0.03 * (c + 1) * i));
      inPointers[c] = in[c].data();
      outPointers[c] = out[c].data();
    }
    if constexpr (sizeof(Sample) == 4)
    {
      inBus.channelBuffers32 = inPointers;
      outBus.channelBuffers32 = outPointers;
    }
    else
    {
      inBus.channelBuffers64 = inPointers;
      outBus.channelBuffers64 = outPointers;
    }
    mProcessor->process(data);
    for (const auto& channel : out)
      for (Sample s : channel) finite = finite && std::isfinite(s);
  };
  if (mSampleSize == kSample64)
    render(0.0);
  else
    render(0.0f);
  Require(finite, "a normal block came out with a sample that is not finite");
}
