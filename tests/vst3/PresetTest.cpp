// The factory presets through the host: their names in the program list and as the
// texts of the program change parameter, selection through the controller and through
// the process queue, and a saved state that brings back the selected preset.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "MEROPresets.h"
#include "PluginHarness.h"
#include "TestSignals.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "tools/vst3host/ComponentHandler.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr ParamID kPrst = 0x70727374;
// MERO's parameter IDs.
enum : ParamID
{
  kParamLevel,
  kParamLow,
  kParamHigh,
  kParamOutput,
  kParamMode,
  kParamGain,
  kParamPad,
  kParamPhase,
  kParamBypas,
  kParamQuality,
  kParamCount
};

std::string Narrow(const TChar* text)
{
  std::string s;
  for (; *text; ++text) s += static_cast<char>(*text);
  return s;
}

double Plain(IEditController* c, ParamID id)
{
  return c->normalizedParamToPlain(id, c->getParamNormalized(id));
}

// What the host reads after preset number was selected: the defaults for number 0,
// otherwise the table's row, with Phase and Bypas off.
void ExpectPreset(IEditController* c, int number)
{
  if (number == 0)
  {
    for (int32 i = 0; i < c->getParameterCount(); ++i)
    {
      ParameterInfo info{};
      c->getParameterInfo(i, info);
      if (info.id < kParamCount)
      {
        EXPECT_DOUBLE_EQ(c->getParamNormalized(info.id), info.defaultNormalizedValue) << info.id;
      }
    }
    return;
  }
  const MEROPresets::Preset& p = *MEROPresets::Get(number - 1);
  SCOPED_TRACE(p.name);
  EXPECT_EQ(Plain(c, kParamLevel), p.level);
  EXPECT_EQ(Plain(c, kParamLow), p.low);
  EXPECT_EQ(Plain(c, kParamHigh), p.high);
  EXPECT_NEAR(Plain(c, kParamOutput), p.output, 1e-9);
  EXPECT_EQ(Plain(c, kParamMode), p.mode);
  EXPECT_EQ(Plain(c, kParamGain), p.gain);
  EXPECT_EQ(Plain(c, kParamPad), p.pad);
  EXPECT_EQ(Plain(c, kParamPhase), 0.0);
  EXPECT_EQ(Plain(c, kParamBypas), 0.0);
  EXPECT_EQ(Plain(c, kParamQuality), p.quality);
}

int RestartsWith(const mero::ComponentHandler& handler, int32 flags)
{
  int n = 0;
  for (const auto& call : handler.CallsOf(mero::ComponentHandler::Kind::kRestart))
    if (static_cast<int32>(call.id) == flags) ++n;
  return n;
}
}  // namespace

TEST(Presets, EveryProgramIsNamedAndLoadsThroughTheControllerAndTheQueue)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2));
  IEditController* c = harness.plugin.Controller();
  IPtr<mero::ComponentHandler> handler = owned(new mero::ComponentHandler);
  c->setComponentHandler(handler);
  FUnknownPtr<IUnitInfo> units(c);
  ASSERT_TRUE(units);
  ProgramListInfo list{};
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
  const int n = list.programCount;
  ASSERT_EQ(n, 1 + MEROPresets::Count());
  ASSERT_GE(n, 13);
  ParameterInfo info{};
  ASSERT_EQ(c->getParameterInfo(0, info), kResultOk);
  EXPECT_EQ(info.id, kPrst);
  EXPECT_EQ(info.stepCount, n - 1);
  EXPECT_EQ(info.flags, ParameterInfo::kIsProgramChange | ParameterInfo::kIsList);  // names, not numbers

  std::set<std::string> names;
  const auto signal = TestSignals::Make<float>(2, 64);
  for (int i = 0; i < n; ++i)
  {
    const double value = i / static_cast<double>(n - 1);
    String128 program{}, text{};
    ASSERT_EQ(units->getProgramName(list.id, i, program), kResultOk);
    ASSERT_EQ(c->getParamStringByValue(kPrst, value, text), kResultOk);
    EXPECT_EQ(Narrow(text), Narrow(program));
    ParamValue byName = -1.0;
    EXPECT_EQ(c->getParamValueByString(kPrst, text, byName), kResultOk);
    EXPECT_DOUBLE_EQ(byName, value);
    names.insert(Narrow(program));

    // A host's preset menu, then automation of the program change from another preset.
    EXPECT_EQ(c->setParamNormalized(kPrst, value), kResultOk);
    EXPECT_DOUBLE_EQ(c->getParamNormalized(kPrst), value);
    ExpectPreset(c, i);
    const int other = n - 1 - i;
    harness.plugin.QueueParameter(kPrst, other / static_cast<double>(n - 1));
    harness.Run(signal, {64});
    EXPECT_DOUBLE_EQ(c->getParamNormalized(kPrst), other / static_cast<double>(n - 1));
    ExpectPreset(c, other);
  }
  EXPECT_EQ(names.size(), static_cast<size_t>(n));
  EXPECT_EQ(names.count(""), 0u);
  EXPECT_EQ(*names.find("Default"), "Default");
  // Each selection through the controller that changed the preset (all but the first)
  // asks the host to read the parameters again.
  EXPECT_EQ(RestartsWith(*handler, kParamValuesChanged), n - 1);
}

TEST(Presets, AStateSavedWithAPresetBringsItBackAndOlderStatesLoadAsDefault)
{
  PluginHarness saved;
  IEditController* s = saved.plugin.Controller();
  const int n = 1 + MEROPresets::Count();
  const double nine = 9.0 / (n - 1);
  ASSERT_EQ(s->setParamNormalized(kPrst, nine), kResultOk);
  ASSERT_EQ(s->setParamNormalized(kParamLevel, 3.0 / 20.0), kResultOk);  // edited after loading
  std::vector<char> state;
  ASSERT_EQ(saved.plugin.GetState(state), kResultOk);

  PluginHarness restored;
  IEditController* r = restored.plugin.Controller();
  ASSERT_EQ(restored.plugin.SetState(state), kResultOk);
  EXPECT_DOUBLE_EQ(r->getParamNormalized(kPrst), nine);
  EXPECT_EQ(Plain(r, kParamLevel), 3.0);
  EXPECT_NEAR(Plain(r, kParamOutput), MEROPresets::Get(8)->output, 1e-9);
  // A host setting the value it reads keeps the edit.
  EXPECT_EQ(r->setParamNormalized(kPrst, nine), kResultOk);
  EXPECT_EQ(Plain(r, kParamLevel), 3.0);

  // Refused, changing nothing: a preset number beyond the list, a part of a number.
  std::vector<char> beyond = state;
  const int32 count = n;
  std::memcpy(beyond.data() + beyond.size() - 4, &count, 4);
  const double level5 = 5.0;
  std::memcpy(beyond.data(), &level5, sizeof(level5));
  EXPECT_EQ(restored.plugin.SetState(beyond), kResultFalse);
  std::vector<char> partial(state.begin(), state.end() - 2);
  EXPECT_EQ(restored.plugin.SetState(partial), kResultFalse);
  EXPECT_DOUBLE_EQ(r->getParamNormalized(kPrst), nine);
  EXPECT_EQ(Plain(r, kParamLevel), 3.0);

  // A state from before the preset was stored: its values, and the only preset then.
  std::vector<char> older(state.begin(), state.end() - 4);
  ASSERT_EQ(restored.plugin.SetState(older), kResultOk);
  EXPECT_DOUBLE_EQ(r->getParamNormalized(kPrst), 0.0);
  EXPECT_EQ(Plain(r, kParamLevel), 3.0);
  EXPECT_NEAR(Plain(r, kParamOutput), MEROPresets::Get(8)->output, 1e-9);
}
