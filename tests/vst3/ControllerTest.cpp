// The controller side through the host: parameter list, conversions, texts, units and
// the program list.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "PluginHarness.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstunits.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr ParamID kPrst = 0x70727374;
constexpr ParamID kBpas = 0x62706173;

std::string Narrow(const TChar* text)
{
  std::string s;
  for (; *text; ++text) s += static_cast<char>(*text);
  return s;
}

std::basic_string<TChar> Wide(const char* text)
{
  std::basic_string<TChar> s;
  for (; *text; ++text) s += static_cast<TChar>(*text);
  return s;
}

class Controller : public ::testing::Test
{
protected:
  PluginHarness harness;
  IEditController* controller = harness.plugin.Controller();
};
}  // namespace

TEST_F(Controller, ListsPresetBypassThenTheTenParameters)
{
  struct Expected
  {
    ParamID id;
    const char* title;
    const char* units;
    int32 stepCount;
    double defaultNormalized;
    int32 flags;
  };
  const double outputDefault = std::pow(96.0 / 108.0, 1.0 / 0.17);
  const Expected expected[] = {{kPrst, "Preset", "", 14, 0.0, 0x8008},
                               {kBpas, "Bypass", "", 1, 0.0, 0x10009},
                               {0, "Level", "", 20, 0.3, 1},
                               {1, "Low", "", 2, 0.5, 1},
                               {2, "High", "", 3, 1.0 / 3.0, 1},
                               {3, "Output", "dB", 0, outputDefault, 1},
                               {4, "Mode", "", 1, 0.0, 1},
                               {5, "Gain", "", 1, 1.0, 1},
                               {6, "Pad", "", 1, 0.0, 1},
                               {7, "Phase", "", 1, 0.0, 1},
                               {8, "Bypas", "", 1, 0.0, 1},
                               {9, "Quality", "", 2, 0.0, 9}};  // a list
  ASSERT_NE(controller, nullptr);
  ASSERT_EQ(controller->getParameterCount(), 12);
  for (int32 i = 0; i < 12; ++i)
  {
    SCOPED_TRACE(expected[i].title);
    ParameterInfo info{};
    ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
    EXPECT_EQ(info.id, expected[i].id);
    EXPECT_EQ(Narrow(info.title), expected[i].title);
    EXPECT_EQ(Narrow(info.shortTitle), "");
    EXPECT_EQ(Narrow(info.units), expected[i].units);
    EXPECT_EQ(info.stepCount, expected[i].stepCount);
    EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, expected[i].defaultNormalized);
    EXPECT_EQ(info.flags, expected[i].flags);
    EXPECT_EQ(info.unitId, kRootUnitId);
  }
  ParameterInfo info{};
  EXPECT_EQ(controller->getParameterInfo(-1, info), kResultFalse);
  EXPECT_EQ(controller->getParameterInfo(12, info), kResultFalse);
}

TEST_F(Controller, ValueTextsComeFromTheParameterRecords)
{
  String128 text{};
  ASSERT_EQ(controller->getParamStringByValue(0, 0.33, text), kResultOk);
  EXPECT_EQ(Narrow(text), "6");  // 6.6 truncated, not rounded
  ASSERT_EQ(controller->getParamStringByValue(3, 0.0, text), kResultOk);
  EXPECT_EQ(Narrow(text), "-96.00");
  ASSERT_EQ(controller->getParamStringByValue(3, 1.0, text), kResultOk);
  EXPECT_EQ(Narrow(text), "12.00");
  EXPECT_EQ(controller->getParamStringByValue(kBpas, 1.0, text), kResultFalse);
  ASSERT_EQ(controller->getParamStringByValue(kPrst, 0.0, text), kResultOk);
  EXPECT_EQ(Narrow(text), "Default");
  EXPECT_EQ(controller->getParamStringByValue(0, 0.5, nullptr), kInvalidArgument);

  ParamValue value = -1.0;
  std::basic_string<TChar> number = Wide("7.5");
  ASSERT_EQ(controller->getParamValueByString(0, number.data(), value), kResultOk);
  EXPECT_DOUBLE_EQ(value, 7.5 / 20.0);
  std::basic_string<TChar> junk = Wide("loud");
  ASSERT_EQ(controller->getParamValueByString(0, junk.data(), value), kResultOk);
  EXPECT_DOUBLE_EQ(value, 0.0);
  std::basic_string<TChar> on = Wide("on");
  ASSERT_EQ(controller->getParamValueByString(kBpas, on.data(), value), kResultOk);
  EXPECT_DOUBLE_EQ(value, 1.0);
  EXPECT_EQ(controller->getParamValueByString(99, number.data(), value), kResultFalse);
  // The program change answers only normalised values.
  std::basic_string<TChar> zero = Wide("0"), notANumber = Wide("nan"), huge = Wide("1e19");
  ASSERT_EQ(controller->getParamValueByString(kPrst, zero.data(), value), kResultOk);
  EXPECT_EQ(value, 0.0);
  value = 0.25;
  EXPECT_EQ(controller->getParamValueByString(kPrst, notANumber.data(), value), kResultFalse);
  EXPECT_EQ(controller->getParamValueByString(kPrst, huge.data(), value), kResultFalse);
  EXPECT_EQ(value, 0.25);
  std::basic_string<TChar> half = Wide("0.5"), loneSurrogate = {0xD800, '1', 0};
  ASSERT_EQ(controller->getParamValueByString(kPrst, half.data(), value), kResultOk);
  EXPECT_EQ(value, 0.5);
  EXPECT_EQ(controller->getParamValueByString(kPrst, loneSurrogate.data(), value), kResultFalse);
  EXPECT_EQ(controller->getParamValueByString(0, nullptr, value), kInvalidArgument);

  // A list is shown and read by its names, in any case, or by its positions.
  const char* names[] = {"Standard", "High", "Ultra"};
  for (int i = 0; i < 3; ++i)
  {
    ASSERT_EQ(controller->getParamStringByValue(9, i / 2.0, text), kResultOk);
    EXPECT_EQ(Narrow(text), names[i]);
  }
  for (const char* name : {"ultra", "ULTRA", "2"})
  {
    std::basic_string<TChar> wide = Wide(name);
    value = -1.0;
    ASSERT_EQ(controller->getParamValueByString(9, wide.data(), value), kResultOk) << name;
    EXPECT_EQ(value, 1.0) << name;
  }
  std::basic_string<TChar> high = Wide("high"), unknown = Wide("Hihg");
  ASSERT_EQ(controller->getParamValueByString(9, high.data(), value), kResultOk);
  EXPECT_EQ(value, 0.5);
  EXPECT_EQ(controller->getParamValueByString(9, unknown.data(), value), kResultFalse);
}

TEST_F(Controller, ConversionsClampEveryParameterButPassOtherTags)
{
  EXPECT_DOUBLE_EQ(controller->plainParamToNormalized(0, 25.0), 1.0);
  EXPECT_DOUBLE_EQ(controller->plainParamToNormalized(0, 5.0), 0.25);
  EXPECT_DOUBLE_EQ(controller->plainParamToNormalized(kBpas, 25.0), 1.0);
  EXPECT_DOUBLE_EQ(controller->plainParamToNormalized(kPrst, 25.0), 1.0);
  EXPECT_DOUBLE_EQ(controller->plainParamToNormalized(1234, 25.0), 25.0);
  EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(0, 0.5), 10.0);
  EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(3, 1.0), 12.0);
  EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(kBpas, 1.0), 1.0);
  // The bypass list has no step outside 0 ... 1; NaN reads as off.
  EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(kBpas, -1.0), 0.0);
  EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(kBpas, 1e300), 1.0);
  EXPECT_EQ(controller->normalizedParamToPlain(kBpas, std::nan("")), 0.0);
  EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(1234, 0.7), 0.7);
}

TEST_F(Controller, NormalizedValuesReadAndWriteTheRecords)
{
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), 0.3);
  EXPECT_EQ(controller->setParamNormalized(0, 0.33), kResultOk);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), 0.35);  // snapped to 7
  EXPECT_EQ(controller->setParamNormalized(kPrst, 1.0), kResultOk);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(kPrst), 1.0);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(77), 0.0);
}

TEST_F(Controller, BypassSetThroughTheControllerReadsBackAndPersists)
{
  EXPECT_EQ(controller->setParamNormalized(kBpas, 0.7), kResultOk);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(kBpas), 1.0);
  std::vector<char> state;
  ASSERT_EQ(harness.plugin.GetState(state), kResultOk);
  ASSERT_EQ(state.size(), 96u);
  EXPECT_EQ(state[72], 1);

  EXPECT_EQ(controller->setParamNormalized(kBpas, 0.5), kResultOk);  // not above 0.5
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(kBpas), 0.0);
  ASSERT_EQ(harness.plugin.SetState(state), kResultOk);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(kBpas), 1.0);
}

TEST_F(Controller, UnitsAndTheFactoryPresetsList)
{
  FUnknownPtr<IUnitInfo> units(controller);
  ASSERT_TRUE(units);
  EXPECT_EQ(units->getUnitCount(), 1);
  UnitInfo unit{};
  ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
  EXPECT_EQ(unit.id, kRootUnitId);
  EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
  EXPECT_EQ(unit.programListId, static_cast<ProgramListID>(kPrst));
  EXPECT_EQ(Narrow(unit.name), "Root Unit");
  EXPECT_EQ(units->getUnitInfo(1, unit), kResultFalse);
  EXPECT_EQ(units->getUnitInfo(-1, unit), kResultFalse);

  EXPECT_EQ(units->getProgramListCount(), 1);
  ProgramListInfo list{};
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(list.id, static_cast<ProgramListID>(kPrst));
  EXPECT_EQ(Narrow(list.name), "Factory Presets");
  EXPECT_EQ(list.programCount, 15);
  EXPECT_EQ(units->getProgramListInfo(1, list), kResultFalse);

  String128 name{};
  ASSERT_EQ(units->getProgramName(kPrst, 0, name), kResultOk);
  EXPECT_EQ(Narrow(name), "Default");
  EXPECT_EQ(units->getProgramName(kPrst, 15, name), kResultFalse);
  EXPECT_EQ(units->getProgramName(kPrst, -1, name), kResultFalse);
  EXPECT_EQ(units->getProgramName(1, 0, name), kResultFalse);
  EXPECT_EQ(units->getProgramName(kPrst, 0, nullptr), kInvalidArgument);
  EXPECT_EQ(units->getSelectedUnit(), kRootUnitId);
  EXPECT_EQ(units->selectUnit(0), kNotImplemented);
}

TEST_F(Controller, OtherEntriesAnswerAsDocumented)
{
  FUnknownPtr<IEditController2> controller2(controller);
  ASSERT_TRUE(controller2);
  EXPECT_EQ(controller2->setKnobMode(kLinearMode), kResultTrue);
  EXPECT_EQ(controller2->openHelp(false), kResultFalse);
  EXPECT_EQ(controller2->openAboutBox(false), kResultFalse);
  EXPECT_EQ(controller->setComponentState(nullptr), kNotImplemented);
  // Only the exact name "editor" gives a view: the fixed-size panel for Win32 handles on
  // Windows and X11 window ids on Linux.
  for (const char* name : {"Editor", "EDITOR", "editor ", "edit"}) EXPECT_EQ(controller->createView(name), nullptr);
  EXPECT_EQ(controller->createView(nullptr), nullptr);
  IPtr<IPlugView> view = owned(controller->createView("editor"));
  ASSERT_TRUE(view);
  ViewRect size;
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.right - size.left, 255);
  EXPECT_EQ(size.bottom - size.top, 658);
#ifdef _WIN32
  EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultFalse);
#else
  EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultFalse);
#endif
  EXPECT_EQ(controller->getState(nullptr), kInvalidArgument);
  EXPECT_EQ(controller->setState(nullptr), kInvalidArgument);

  IAudioProcessor* processor = harness.plugin.Processor();
  EXPECT_EQ(processor->canProcessSampleSize(kSample64), kResultTrue);
  EXPECT_EQ(processor->canProcessSampleSize(7), kResultFalse);
  EXPECT_EQ(processor->setProcessing(true), kNotImplemented);
}
