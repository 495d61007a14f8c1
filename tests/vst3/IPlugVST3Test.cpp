// The binding in-process: what the host cannot see directly (host identification, the
// base operations it supplies) and configurations this product does not use.

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <clocale>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "LatencyPlug.h"
#include "MERO.h"
#include "tools/vst3host/ComponentHandler.h"
#include "tools/vst3host/HostApplication.h"
#include "tools/vst3host/ParameterChanges.h"
#include "public.sdk/source/common/memorystream.h"
#include "vst3/IPlugParameter.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
std::string Narrow(const TChar* text)
{
  std::string s;
  for (; *text; ++text) s += static_cast<char>(*text);
  return s;
}

// A host whose name is given as UTF-16 units.
class WideNamedHost : public FObject, public IHostApplication
{
public:
  explicit WideNamedHost(std::basic_string<TChar> name)
    : mName(std::move(name))
  {
  }
  tresult PLUGIN_API getName(String128 name) override
  {
    for (size_t i = 0; i <= mName.size() && i < 128; ++i) name[i] = i < mName.size() ? mName[i] : 0;
    return kResultOk;
  }
  tresult PLUGIN_API createInstance(TUID, TUID, void**) override { return kNotImplemented; }
  DEF_INTERFACES_1(IHostApplication, FObject)
  REFCOUNT_METHODS(FObject)

private:
  std::basic_string<TChar> mName;
};

int HostIdFor(FUnknown* context)
{
  IPtr<MERO> plug(new MERO, false);
  plug->initialize(context);
  const int id = plug->GetHostId();
  plug->terminate();
  return id;
}

int HostIdFor(const std::string& name)
{
  IPtr<mero::HostApplication> host(new mero::HostApplication(name), false);
  return HostIdFor(host->unknownCast());
}
}  // namespace

TEST(IPlugVST3, IdentifiesTheHostByItsName)
{
  IPtr<MERO> plug(new MERO, false);
  EXPECT_EQ(plug->GetHostId(), -1);
  EXPECT_EQ(HostIdFor("Cubase 10.5"), 3);
  EXPECT_EQ(HostIdFor("REAPER"), 1);
  EXPECT_EQ(HostIdFor("Ableton Live 11"), 9);
  EXPECT_EQ(HostIdFor("Pro Tools"), 0);
  EXPECT_EQ(HostIdFor(""), 0);
  EXPECT_EQ(HostIdFor(static_cast<FUnknown*>(nullptr)), -1);
  // Each UTF-16 unit keeps its low byte: U+0143 becomes 'C'.
  IPtr<WideNamedHost> wide(new WideNamedHost({0x0143, 'u', 'b', 'a', 's', 'e'}), false);
  EXPECT_EQ(HostIdFor(wide->unknownCast()), 3);
  // Only the first 127 characters of the name count.
  EXPECT_EQ(HostIdFor(std::string(127, 'x') + "reaper"), 0);
}

TEST(IPlugVST3, AnswersItsClassNamesAndThoseOfItsBases)
{
  IPtr<MERO> plug(new MERO, false);
  EXPECT_STREQ(plug->isA(), "IPlugVST3");
  for (const char* name :
       {"IPlugVST3", "SingleComponentEffect", "EditControllerEx1", "EditController", "ComponentBase", "FObject"})
    EXPECT_TRUE(plug->isTypeOf(name)) << name;
  plug->initialize(nullptr);
  Parameter* level = plug->getParameterObject(0);
  ASSERT_NE(level, nullptr);
  EXPECT_STREQ(level->isA(), "IPlugParameter");
  EXPECT_TRUE(level->isTypeOf("Parameter"));
  plug->terminate();
}

TEST(IPlugVST3, SuppliesTransportAndOfflineStateFromTheHost)
{
  IPtr<MERO> plug(new MERO, false);
  plug->initialize(nullptr);
  ProcessSetup setup{kOffline, kSample32, 64, 48000.0};
  ASSERT_EQ(plug->setupProcessing(setup), kResultOk);
  EXPECT_TRUE(plug->IsOfflineRender());
  EXPECT_EQ(plug->GetSampleRate(), 48000.0);
  EXPECT_EQ(plug->GetBlockSize(), 64);

  ProcessContext context{};
  context.state = ProcessContext::kPlaying | ProcessContext::kCycleActive;
  context.projectTimeSamples = 0x100000005LL;
  context.tempo = 133.0;
  context.timeSigNumerator = 7;
  context.timeSigDenominator = 8;
  context.projectTimeMusic = 12.5;
  context.cycleEndMusic = 16.0;
  ProcessData data;
  data.processContext = &context;
  ASSERT_EQ(plug->process(data), kResultOk);
  EXPECT_EQ(plug->GetTransportSample(), 5);
  EXPECT_EQ(plug->GetTransportTempo(), 133.0);
  int numerator = 0, denominator = 0;
  plug->GetTransportTimeSignature(&numerator, &denominator);
  EXPECT_EQ(numerator, 7);
  EXPECT_EQ(denominator, 8);
  TransportInfo info;
  plug->GetTransportInfo(&info);
  EXPECT_EQ(info.samplePosition, 4294967301.0);
  EXPECT_EQ(info.musicalPosition, 12.5);
  EXPECT_EQ(info.cycleEnd, 16.0);
  EXPECT_TRUE(info.playing);
  EXPECT_TRUE(info.cycleActive);

  ProcessSetup bad{kRealtime, 5, 128, 96000.0};
  EXPECT_EQ(plug->setupProcessing(bad), kResultFalse);
  EXPECT_EQ(plug->GetSampleRate(), 48000.0);
  EXPECT_TRUE(plug->IsOfflineRender());
  // Block buffers that cannot be had leave the previous setup in place.
  for (int32 block : {INT_MAX, 0x0FFFFFFF})
  {
    ProcessSetup huge{kRealtime, kSample64, block, 96000.0};
    EXPECT_EQ(plug->setupProcessing(huge), kResultFalse) << block;
    EXPECT_EQ(plug->GetSampleRate(), 48000.0);
    EXPECT_EQ(plug->GetBlockSize(), 64);
    EXPECT_TRUE(plug->IsOfflineRender());
  }
  plug->terminate();
}

TEST(IPlugVST3, ContextGivenAfterAnInitialisationWithoutOneIsStored)
{
  IPtr<MERO> plug(new MERO, false);
  IPtr<mero::HostApplication> cubase(new mero::HostApplication("Cubase"), false);
  IPtr<mero::HostApplication> reaper(new mero::HostApplication("REAPER"), false);
  ASSERT_EQ(plug->initialize(nullptr), kResultOk);
  EXPECT_EQ(plug->initialize(cubase->unknownCast()), kResultOk);
  EXPECT_EQ(plug->initialize(reaper->unknownCast()), kResultFalse);  // one is stored now
  EXPECT_EQ(plug->getParameterCount(), 12);
  EXPECT_EQ(plug->getBusCount(kAudio, kOutput), 1);
  plug->terminate();
}

TEST(IPlugVST3, ExtremeCountsAndIndexesDoNotOverflow)
{
  // Without channels the block buffers cost nothing, so a block near the int range can
  // be prepared and a call of INT_MAX frames rendered in pieces.
  IPtr<IPlugVST3> plug(new IPlugVST3(0, "0-0", 0, "Empty", "", "Maker", 1, 1, 1, 1, false, false, 0), false);
  ASSERT_EQ(plug->initialize(nullptr), kResultOk);
  ProcessSetup setup{kRealtime, kSample32, 0x0FFFFFFF, 44100.0};
  ASSERT_EQ(plug->setupProcessing(setup), kResultOk);
  ProcessData data;
  data.numSamples = INT_MAX;
  EXPECT_EQ(plug->process(data), kResultOk);
  UnitInfo unit{};
  EXPECT_EQ(plug->getUnitInfo(INT_MIN, unit), kResultFalse);
  EXPECT_EQ(plug->getUnitInfo(INT_MAX, unit), kResultFalse);
  plug->terminate();
}

TEST(IPlugVST3, EditsAndLatencyChangesReachTheComponentHandler)
{
  IPtr<MERO> plug(new MERO, false);
  plug->initialize(nullptr);
  plug->ChangeLatency(10);  // no handler yet: nothing to tell
  IPtr<mero::ComponentHandler> handler(new mero::ComponentHandler, false);
  plug->setComponentHandler(handler);
  plug->BeginParamGesture(3);
  plug->SetParamFromEditor(3, 0.25);
  plug->EndParamGesture(3);
  plug->ChangeLatency(0);
  using Kind = mero::ComponentHandler::Kind;
  const auto& calls = handler->Calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].kind, Kind::kBegin);
  EXPECT_EQ(calls[1].kind, Kind::kPerform);
  EXPECT_EQ(calls[1].id, 3u);
  EXPECT_EQ(calls[1].value, 0.25);
  EXPECT_EQ(calls[2].kind, Kind::kEnd);
  EXPECT_EQ(calls[3].kind, Kind::kRestart);
  EXPECT_EQ(calls[3].id, static_cast<ParamID>(kLatencyChanged));
  EXPECT_NEAR(plug->getParamNormalized(3), 0.25, 1e-12);
  plug->terminate();
}

namespace
{
// Records each restart request with the latency the plug-in then reports and, while
// probing, whether another thread could take the plug-in lock during the request.
class LatencyNotices : public FObject, public IComponentHandler
{
public:
  struct Notice
  {
    int32 flags;
    uint32 latency;
    bool lockFree;
  };
  explicit LatencyNotices(IPlugVST3& plug)
    : mPlug(plug)
  {
  }
  tresult PLUGIN_API beginEdit(ParamID) override { return kResultOk; }
  tresult PLUGIN_API performEdit(ParamID, ParamValue) override { return kResultOk; }
  tresult PLUGIN_API endEdit(ParamID) override { return kResultOk; }
  tresult PLUGIN_API restartComponent(int32 flags) override
  {
    bool lockFree = false;
    if (probe)
    {
      // A held lock keeps the probe waiting until the caller releases it; it is
      // joined with the handler.
      mProbes.push_back(std::async(std::launch::async, [this] { IMutexLock lock(mPlug.GetMutex()); }));
      lockFree = mProbes.back().wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    }
    notices.push_back({flags, mPlug.getLatencySamples(), lockFree});
    return kResultOk;
  }
  DEF_INTERFACES_1(IComponentHandler, FObject)
  REFCOUNT_METHODS(FObject)

  std::vector<Notice> notices;
  bool probe = false;

private:
  IPlugVST3& mPlug;
  std::vector<std::future<void>> mProbes;
};
}  // namespace

TEST(IPlugVST3, LatencyChangesAreToldOnceAfterTheLockAndDelayTheHostBypass)
{
  IPtr<LatencyPlug> plug(new LatencyPlug, false);
  ASSERT_TRUE(InProcess::Prepare(*plug));
  IPtr<LatencyNotices> handler(new LatencyNotices(*plug), false);
  plug->setComponentHandler(handler);

  // From the controller: after the call's lock is released, and only when the latency
  // changes.
  handler->probe = true;
  plug->setParamNormalized(0, 0.1);
  plug->setParamNormalized(0, 0.1);
  ASSERT_EQ(handler->notices.size(), 1u);
  EXPECT_EQ(handler->notices[0].flags, kLatencyChanged);
  EXPECT_EQ(handler->notices[0].latency, 10u);
  EXPECT_TRUE(handler->notices[0].lockFree);

  // From the audio thread: once per call, after it, with the lock released.
  constexpr int kFrames = 64;
  std::vector<float> left(kFrames), right(kFrames);
  float* channels[2] = {left.data(), right.data()};
  mero::ParameterChanges changes(4, 4);
  for (ParamValue value : {0.2, 0.3, 0.3})
  {
    changes.Clear();
    changes.Add(0, 0.25, 0);
    changes.Add(0, value, 9);
    changes.Add(IPlugVST3::kBypassTag, 1.0, 0);
    std::fill(left.begin(), left.end(), 0.0f);
    std::fill(right.begin(), right.end(), 0.0f);
    left[5] = 1.0f;
    right[6] = -0.5f;
    InProcess::ProcessStereo(*plug, &changes, channels, channels, kFrames);
  }
  handler->probe = false;
  ASSERT_EQ(handler->notices.size(), 3u);
  for (size_t i : {1u, 2u})
  {
    EXPECT_EQ(handler->notices[i].flags, kLatencyChanged);
    EXPECT_TRUE(handler->notices[i].lockFree) << i;
  }
  EXPECT_EQ(handler->notices[2].latency, 30u);
  EXPECT_EQ(plug->getLatencySamples(), 30u);

  // The last block passed its input on 30 samples late, the latency set in that same
  // call having cleared the delay.
  std::vector<float> expectedLeft(kFrames), expectedRight(kFrames);
  expectedLeft[35] = 1.0f;
  expectedRight[36] = -0.5f;
  EXPECT_EQ(left, expectedLeft);
  EXPECT_EQ(right, expectedRight);

  // A state: at once. Without appended parameters it is the one double, then the flag.
  std::vector<char> bytes(12, 0);
  const double latency = 42.0;
  std::memcpy(bytes.data(), &latency, sizeof(latency));
  MemoryStream stream(bytes.data(), static_cast<TSize>(bytes.size()));
  ASSERT_EQ(plug->setState(&stream), kResultOk);
  ASSERT_EQ(handler->notices.size(), 4u);
  EXPECT_EQ(handler->notices[3].latency, 42u);
  MemoryStream saved;
  ASSERT_EQ(plug->getState(&saved), kResultOk);
  EXPECT_EQ(saved.getSize(), 16);  // one parameter, the flag, the preset index
  plug->setActive(false);
  plug->terminate();
}

TEST(IPlugVST3, GroupsBecomeUnitsAndInstrumentsGetPairedOutputs)
{
  IPtr<IPlugVST3> plug(new IPlugVST3(3, "0-4", 1, "Synth", "", "Maker", 1, 1, 1, 1, true, true, 0), false);
  plug->GetParamRecord(0)->DefineInteger("A", 0, 0, 1, "", "Filter");
  plug->GetParamRecord(1)->DefineInteger("B", 0, 0, 1, "", "Amp");
  plug->GetParamRecord(2)->DefineContinuous("C", 0.5, 0.0, 1.0, 0.01, "dB", "Filter");
  plug->GetParamRecord(2)->SetCanAutomate(false);
  ASSERT_EQ(plug->initialize(nullptr), kResultOk);

  EXPECT_EQ(plug->getBusCount(kAudio, kInput), 0);
  ASSERT_EQ(plug->getBusCount(kAudio, kOutput), 2);
  ASSERT_EQ(plug->getBusCount(kEvent, kInput), 1);
  BusInfo bus{};
  plug->getBusInfo(kAudio, kOutput, 1, bus);
  EXPECT_EQ(Narrow(bus.name), "Output 2");
  EXPECT_EQ(bus.channelCount, 2);
  plug->getBusInfo(kEvent, kInput, 0, bus);
  EXPECT_EQ(Narrow(bus.name), "MIDI Input");
  EXPECT_EQ(bus.channelCount, 1);

  ASSERT_EQ(plug->getParameterCount(), 4);  // no bypass parameter for an instrument
  ASSERT_EQ(plug->getUnitCount(), 3);
  UnitInfo unit{};
  ASSERT_EQ(plug->getUnitInfo(2, unit), kResultOk);
  EXPECT_EQ(unit.id, 2);
  EXPECT_EQ(unit.parentUnitId, kRootUnitId);
  EXPECT_EQ(Narrow(unit.name), "Amp");
  EXPECT_EQ(plug->getUnitInfo(3, unit), kResultFalse);
  ParameterInfo info{};
  plug->getParameterInfo(3, info);
  EXPECT_EQ(info.unitId, 1);
  EXPECT_EQ(info.flags, 0);
  EXPECT_EQ(info.stepCount, 0);
  EXPECT_EQ(Narrow(info.units), "dB");
  plug->terminate();
}

TEST(IPlugParameter, TakesUnitsTextsAndStepsFromItsRecord)
{
  IParamRecord record;
  record.DefineInteger("Shape", 1, 0, 2, "st");
  record.AddDisplayText(1, "Soft");
  IPlugParameter parameter(&record, 5, 0);
  EXPECT_EQ(parameter.getInfo().id, 5u);
  EXPECT_EQ(parameter.getInfo().stepCount, 2);
  EXPECT_EQ(Narrow(parameter.getInfo().units), "");  // the current value has a display text
  EXPECT_EQ(parameter.getNormalized(), 0.5);
  String128 text{};
  parameter.toString(0.5, text);
  EXPECT_EQ(Narrow(text), "Soft");
  parameter.toString(1.0, text);
  EXPECT_EQ(Narrow(text), "2");
  ParamValue value = -1;
  const TChar number[] = {' ', '1', '.', '5', 'x', 0};
  EXPECT_TRUE(parameter.fromString(number, value));
  EXPECT_EQ(value, 0.75);
  const TChar huge[] = {'9', '9', 0};
  EXPECT_TRUE(parameter.fromString(huge, value));
  EXPECT_EQ(value, 1.0);
  EXPECT_EQ(parameter.toPlain(0.5), 1.0);
  // Texts for some steps only: no list, but the texts are read.
  EXPECT_EQ(parameter.getInfo().flags & ParameterInfo::kIsList, 0);
  const TChar soft[] = {'s', 'O', 'F', 'T', 0};
  EXPECT_TRUE(parameter.fromString(soft, value));
  EXPECT_EQ(value, 0.5);
  const TChar word[] = {'h', 'a', 'r', 'd', 0};
  EXPECT_TRUE(parameter.fromString(word, value));
  EXPECT_EQ(value, 0.0);
}

namespace
{
// The normalised values fromString gives for each text on a continuous 0 ... 20 parameter.
void ExpectPlainDecimalReadings()
{
  IParamRecord record;
  record.DefineContinuous("Level", 0.0, 0.0, 20.0, 0.01, "", "", 1.0);
  IPlugParameter parameter(&record, 0, 0);
  const struct
  {
    const char* text;
    double plain;
  } cases[] = {{"7.5", 7.5},    {" +7.5e0 dB", 7.5}, {"1,5", 1.0},     {"0x10", 0.0},
               {"inf", 0.0},    {"-infinity", 0.0},  {"nan", 0.0},     {"1e400", 20.0},
               {"-1e400", 0.0}, {"1e-400", 0.0},     {".5", 0.5},      {"5.", 5.0},
               {"e5", 0.0},     {"", 0.0},           {"-", 0.0},       {"2.5e", 2.5},
               {"2.5e+x", 2.5}, {"-.5", 0.0},        {"1.25E1", 12.5}, {"00000000000000000000000000000012.5", 12.5}};
  for (const auto& c : cases)
  {
    std::basic_string<TChar> wide;
    for (const char* t = c.text; *t; ++t) wide += static_cast<TChar>(*t);
    ParamValue value = -1.0;
    EXPECT_TRUE(parameter.fromString(wide.c_str(), value)) << c.text;
    EXPECT_EQ(value, c.plain / 20.0) << c.text;
  }
}
}  // namespace

TEST(IPlugParameter, ReadsPlainDecimalNumbersInEveryLocale)
{
  ExpectPlainDecimalReadings();
  for (const char* comma : {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "German_Germany.1252"})
    if (std::setlocale(LC_NUMERIC, comma))
    {
      SCOPED_TRACE(comma);
      ExpectPlainDecimalReadings();
      break;
    }
  std::setlocale(LC_NUMERIC, "C");
}
