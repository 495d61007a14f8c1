// MERO's editor end to end: the module loaded by the test host, the editor opened in a
// host window, what is on screen compared pixel for pixel with the oracle's composite of
// the panel images, and gestures checked in the host's component handler, in the
// parameters, in the sound and on screen.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "HostedEditorFixture.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using Kind = mero::ComponentHandler::Kind;
using Call = mero::ComponentHandler::Call;

namespace
{

enum Param
{
  kLevel,
  kLow,
  kHigh,
  kOutput,
  kMode,
  kGain,
  kPad,
  kPhase,
  kBypas,
  kQuality
};

struct Point
{
  int x, y;
};

// The middle of each parameter's control on the panel.
const Point kCentres[PanelOracle::kParams] = {
    {128, 464}, {86, 198}, {170, 198}, {125, 591}, {86, 315}, {126, 108}, {127, 309}, {170, 308}, {125, 33}, {203, 108},
};

// Default values, normalised (Output's comes from the plug-in: its range is shaped).
const double kLevelDefault = 6.0 / 20.0;

// The normalised value of the Level step (0 ... 20) nearest to a knob position.
double LevelStep(double position)
{
  return std::round(position * 20.0) / 20.0;
}
const double kLowDefault = 1.0 / 2.0;
const double kHighDefault = 1.0 / 3.0;

// Every performEdit lies between a beginEdit and an endEdit of its parameter, and every
// endEdit closes a beginEdit.
::testing::AssertionResult EditsBracketed(const std::vector<Call>& calls)
{
  std::vector<ParamID> open;
  for (size_t i = 0; i < calls.size(); ++i)
  {
    const Call& call = calls[i];
    auto found = std::find(open.begin(), open.end(), call.id);
    if (call.kind == Kind::kBegin) open.push_back(call.id);
    if (call.kind == Kind::kPerform && found == open.end())
      return ::testing::AssertionFailure() << "call " << i << ": performEdit of " << call.id << " outside a gesture";
    if (call.kind == Kind::kEnd)
    {
      if (found == open.end())
        return ::testing::AssertionFailure() << "call " << i << ": endEdit of " << call.id << " without beginEdit";
      open.erase(found);
    }
  }
  if (!open.empty()) return ::testing::AssertionFailure() << "a gesture on " << open.front() << " never ended";
  return ::testing::AssertionSuccess();
}

using EditorTest = HostedEditorFixture;

TEST_F(EditorTest, OpensAtItsSizeShowingTheParameters)
{
  const ViewRect& size = session.window.ViewSize();
  EXPECT_EQ(size.left, 0);
  EXPECT_EQ(size.top, 0);
  EXPECT_EQ(size.right, 255);
  EXPECT_EQ(size.bottom, 658);
  int width = 0;
  int height = 0;
  ASSERT_TRUE(session.window.EditorChild(&width, &height)) << "no editor window inside the host window";
  EXPECT_EQ(width, 255);
  EXPECT_EQ(height, 658);

  EXPECT_DOUBLE_EQ(defaults[kLevel], kLevelDefault);
  EXPECT_DOUBLE_EQ(defaults[kLow], kLowDefault);
  EXPECT_DOUBLE_EQ(defaults[kHigh], kHighDefault);
  EXPECT_EQ(defaults[kGain], 1.0);
  for (int p : {kMode, kPad, kPhase, kBypas, kQuality}) EXPECT_EQ(defaults[p], 0.0) << "parameter " << p;
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, defaults));
  EXPECT_TRUE(session.handler->Calls().empty());
  EXPECT_TRUE(session.window.Frame().Resizes().empty());
}

// Level: 166 pixels high, gearing 4, so each pixel up adds 1 / 664.
TEST_F(EditorTest, DraggingLevelUpEditsTheParameterTheSoundAndTheScreen)
{
  EditorSession before;  // stays at the old value
  EditorSession after;   // gets the new value by automation
  ASSERT_TRUE(before.Create());
  ASSERT_TRUE(after.Create());
  const auto first = SineBlock(0);
  const auto outFirst = session.Process(first);
  ASSERT_EQ(before.Process(first), outFirst);
  ASSERT_EQ(after.Process(first), outFirst);

  const int dy = -10;
  const int moves = 5;
  session.Drag(kCentres[kLevel].x, kCentres[kLevel].y, dy, moves);

  const auto& calls = session.handler->Calls();
  ASSERT_EQ(calls.size(), static_cast<size_t>(moves + 2));
  EXPECT_EQ(calls.front().kind, Kind::kBegin);
  EXPECT_EQ(calls.back().kind, Kind::kEnd);
  double expected = kLevelDefault;
  for (int i = 1; i <= moves; ++i)
  {
    expected += -dy / 166.0 / 4.0;
    EXPECT_EQ(calls[static_cast<size_t>(i)].kind, Kind::kPerform);
    // The host gets the step the parameter takes for the knob's position.
    EXPECT_NEAR(calls[static_cast<size_t>(i)].value, LevelStep(expected), 1e-12) << "move " << i;
  }
  for (const Call& call : calls) EXPECT_EQ(call.id, static_cast<ParamID>(kLevel));
  const double dragged = calls[moves].value;
  // 20 x 0.3753 = 7.506: the parameter takes the nearest step, 8.
  EXPECT_DOUBLE_EQ(session.plugin.Controller()->getParamNormalized(kLevel), 8.0 / 20.0);

  after.plugin.QueueParameter(kLevel, dragged);
  const auto second = SineBlock(EditorSession::kBlock);
  const auto outSecond = session.Process(second);
  EXPECT_EQ(outSecond, after.Process(second)) << "the edit did not reach the sound as automation to it does";
  EXPECT_NE(outSecond, before.Process(second)) << "the sound did not change";

  PanelOracle::Values shown = defaults;
  shown[kLevel] = expected;  // the knob stays where it was dragged
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, shown));
}

// Shift (or Control) gears a drag down tenfold; a wheel detent moves a knob by 1 / 100,
// by 1 / 1000 with Control (or Shift).
TEST_F(EditorTest, ModifierKeysAndTheWheelAdjustKnobsFinely)
{
  session.Drag(kCentres[kLevel].x, kCentres[kLevel].y, -10, 2, EditorSession::Keys{true, false});
  const auto drags = session.handler->CallsOf(Kind::kPerform);
  ASSERT_EQ(drags.size(), 2u);
  EXPECT_NEAR(drags[0].value, LevelStep(kLevelDefault + 10 / 166.0 / 40.0), 1e-12);
  EXPECT_NEAR(drags[1].value, LevelStep(kLevelDefault + 20 / 166.0 / 40.0), 1e-12);
  EXPECT_TRUE(EditsBracketed(session.handler->Calls()));

  session.handler->ClearCalls();
  ASSERT_TRUE(session.window.Wheel(kCentres[kOutput].x, kCentres[kOutput].y, 1, EditorSession::Keys{false, true}));
  ASSERT_TRUE(session.window.Wheel(kCentres[kOutput].x, kCentres[kOutput].y, -1));
  const auto wheels = session.handler->CallsOf(Kind::kPerform);
  ASSERT_EQ(wheels.size(), 2u);
  for (const Call& call : wheels) EXPECT_EQ(call.id, static_cast<ParamID>(kOutput));
  EXPECT_NEAR(wheels[0].value, defaults[kOutput] + 0.001, 1e-12);
  EXPECT_NEAR(wheels[1].value, defaults[kOutput] + 0.001 - 0.01, 1e-12);
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, session.Values()));
}

// Each click steps a switch to its next position and from the last back to the first:
// the two-position ones toggle, Quality goes 0, 1/2, 1, 0 (each time telling the host its
// new latency).
TEST_F(EditorTest, ClickingASwitchStepsItsParameterAndItsFrame)
{
  PanelOracle::Values expected = defaults;
  for (int round = 0; round < 3; ++round)
    for (int p = kMode; p <= kQuality; ++p)
    {
      const double step = p == kQuality ? 0.5 : 1.0;
      const double target = expected[p] + step > 1.0 ? 0.0 : expected[p] + step;
      session.handler->ClearCalls();
      session.Click(kCentres[p].x, kCentres[p].y);
      // A new Quality changes the latency, which the host is told.
      const auto restarts = session.handler->CallsOf(Kind::kRestart);
      ASSERT_EQ(restarts.size(), p == kQuality ? 1u : 0u) << "parameter " << p;
      if (p == kQuality)
      {
        EXPECT_EQ(restarts[0].id, static_cast<ParamID>(Steinberg::Vst::kLatencyChanged));
      }
      std::vector<Call> calls;
      for (const Call& call : session.handler->Calls())
        if (call.kind != Kind::kRestart) calls.push_back(call);
      ASSERT_EQ(calls.size(), 3u) << "parameter " << p;
      EXPECT_EQ(calls[0].kind, Kind::kBegin);
      EXPECT_EQ(calls[1].kind, Kind::kPerform);
      EXPECT_EQ(calls[1].value, target);
      EXPECT_EQ(calls[2].kind, Kind::kEnd);
      for (const Call& call : calls) EXPECT_EQ(call.id, static_cast<ParamID>(p));
      expected[p] = target;
      EXPECT_EQ(session.Values(), expected) << "parameter " << p;
      session.WaitForRedraw();
      EXPECT_TRUE(session.ShowsPanel(*oracle, expected)) << "parameter " << p << " at " << target;
    }
}

TEST_F(EditorTest, DoubleClickingAKnobReturnsItToItsDefault)
{
  session.Drag(kCentres[kOutput].x, kCentres[kOutput].y, 10, 3);
  session.Drag(kCentres[kLevel].x, kCentres[kLevel].y, -20, 4);
  ASSERT_NE(session.Values()[kOutput], defaults[kOutput]);
  ASSERT_NE(session.Values()[kLevel], defaults[kLevel]);
  session.WaitForRedraw();

  for (int p : {kOutput, kLevel})
  {
    session.handler->ClearCalls();
    session.DoubleClick(kCentres[p].x, kCentres[p].y);
    const auto performs = session.handler->CallsOf(Kind::kPerform);
    ASSERT_EQ(performs.size(), 1u) << "parameter " << p;
    EXPECT_EQ(performs[0].id, static_cast<ParamID>(p));
    EXPECT_EQ(performs[0].value, defaults[p]);
    EXPECT_TRUE(EditsBracketed(session.handler->Calls())) << "parameter " << p;
  }
  EXPECT_EQ(session.Values(), defaults);
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, defaults));
}

TEST_F(EditorTest, RightClickOnAKnobAsksTheHostForThatParametersContextMenu)
{
  for (int p = kLevel; p <= kOutput; ++p)
  {
    session.handler->ClearCalls();
    session.RightClick(kCentres[p].x, kCentres[p].y);
    const auto menus = session.handler->CallsOf(Kind::kContextMenu);
    ASSERT_EQ(menus.size(), 1u) << "parameter " << p;
    EXPECT_TRUE(menus[0].hasParam);
    EXPECT_EQ(menus[0].id, static_cast<ParamID>(p));
    EXPECT_EQ(menus[0].view, session.window.View());
    const auto popups = session.handler->CallsOf(Kind::kMenuPopup);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].x, kCentres[p].x);
    EXPECT_EQ(popups[0].y, kCentres[p].y);
    EXPECT_TRUE(session.handler->CallsOf(Kind::kPerform).empty());
    EXPECT_TRUE(EditsBracketed(session.handler->Calls())) << "parameter " << p;
  }
  EXPECT_EQ(session.handler->LiveMenus(), 0) << "a menu was not released";

  // A host without menus: the request is made and nothing else happens.
  session.handler->OfferMenus(false);
  session.handler->ClearCalls();
  session.RightClick(kCentres[kHigh].x, kCentres[kHigh].y);
  EXPECT_EQ(session.handler->CallsOf(Kind::kContextMenu).size(), 1u);
  EXPECT_EQ(session.Values(), defaults);
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, defaults));
}

TEST_F(EditorTest, AutomationAndStateRestoreMoveTheControls)
{
  // The host sets Quality on the controller, as it does when it plays automation back.
  ASSERT_EQ(session.plugin.Controller()->setParamNormalized(kQuality, 1.0), kResultOk);
  session.plugin.QueueParameter(kOutput, 0.8);
  session.plugin.QueueParameter(kHigh, 1.0);
  session.plugin.QueueParameter(kMode, 1.0);
  session.Process(SineBlock(0));
  PanelOracle::Values automated = session.Values();
  EXPECT_NEAR(automated[kOutput], 0.8, 1e-12);
  EXPECT_EQ(automated[kHigh], 1.0);
  EXPECT_EQ(automated[kMode], 1.0);
  EXPECT_EQ(automated[kQuality], 1.0);
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, automated));

  EditorSession source;
  ASSERT_TRUE(source.Create());
  const std::pair<Param, double> changes[] = {{kLevel, 1.0},   {kLow, 0.0},   {kHigh, 2.0 / 3.0},
                                              {kOutput, 0.25}, {kGain, 0.0},  {kPad, 1.0},
                                              {kPhase, 1.0},   {kBypas, 1.0}, {kQuality, 0.5}};
  for (const auto& change : changes) source.plugin.QueueParameter(change.first, change.second);
  source.Process(SineBlock(0));
  std::vector<char> state;
  ASSERT_EQ(source.plugin.GetState(state), kResultOk);
  ASSERT_EQ(session.plugin.SetState(state), kResultOk);
  const PanelOracle::Values restored = session.Values();
  EXPECT_EQ(restored, source.Values());
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, restored));

  EXPECT_TRUE(session.handler->CallsOf(Kind::kPerform).empty()) << "host changes were sent back as edits";
}

TEST_F(EditorTest, ReattachedEditorShowsTheCurrentValues)
{
#ifndef _WIN32
  // The view's timer and X connection are the host run loop's while it is attached, and
  // only then.
  const mero::HostRunLoop& loop = session.window.Frame().RunLoop();
  EXPECT_EQ(loop.TimerCount(), 1u);
  EXPECT_EQ(loop.EventHandlerCount(), 1u);
#endif
  ASSERT_EQ(session.window.Remove(), kResultOk);
  EXPECT_FALSE(session.window.EditorChild());
#ifndef _WIN32
  EXPECT_EQ(loop.TimerCount(), 0u);
  EXPECT_EQ(loop.EventHandlerCount(), 0u);
#endif
  session.plugin.QueueParameter(kLevel, 1.0);
  session.plugin.QueueParameter(kPad, 1.0);
  session.Process(SineBlock(0));
  session.window.Pump(0);

  ASSERT_EQ(session.window.Attach(), kResultOk);
  ASSERT_TRUE(session.window.EditorChild());
#ifndef _WIN32
  EXPECT_EQ(loop.TimerCount(), 1u);
  EXPECT_EQ(loop.EventHandlerCount(), 1u);
#endif
  PanelOracle::Values expected = defaults;
  expected[kLevel] = 1.0;
  expected[kPad] = 1.0;
  EXPECT_EQ(session.Values(), expected);
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, expected));

  session.Click(kCentres[kBypas].x, kCentres[kBypas].y);
  expected[kBypas] = 1.0;
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, expected));
}

// A second view of the same instance, as a host opens one in another window: it takes
// the editor (its context menus too); the first view's removal and release leave it
// working; once it is closed, the first view, attached again, shows the editor.
TEST_F(EditorTest, SecondViewOfTheInstanceTakesTheEditorAndKeepsItWhenTheFirstCloses)
{
  mero::EditorWindow second;
  ASSERT_TRUE(second.Open(session.plugin.Controller(), 300, 0)) << second.Failure();
  EXPECT_TRUE(second.EditorChild());
  EXPECT_FALSE(session.window.EditorChild());
  second.Press(EditorSession::Button::kRight, kCentres[kLow].x, kCentres[kLow].y);
  second.Release(EditorSession::Button::kRight, kCentres[kLow].x, kCentres[kLow].y);
  const auto menus = session.handler->CallsOf(Kind::kContextMenu);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].view, second.View());

  session.window.Close();
#ifndef _WIN32
  const mero::HostRunLoop& loop = second.Frame().RunLoop();
  EXPECT_EQ(loop.TimerCount(), 1u);
  EXPECT_EQ(loop.EventHandlerCount(), 1u);
#endif
  ASSERT_TRUE(second.EditorChild()) << "the first view's close took the editor away";
  second.Press(EditorSession::Button::kLeft, kCentres[kPad].x, kCentres[kPad].y);
  second.Release(EditorSession::Button::kLeft, kCentres[kPad].x, kCentres[kPad].y);
  PanelOracle::Values expected = defaults;
  expected[kPad] = 1.0;
  EXPECT_EQ(session.Values(), expected);
  second.Pump(60);
  EXPECT_TRUE(EditorSession::ShowsPanel(second, *oracle, expected));

  ASSERT_TRUE(session.OpenEditor(0, 0)) << session.window.Failure();
  second.Remove();
  ASSERT_EQ(second.Attach(), kResultOk);
  ASSERT_TRUE(second.EditorChild());
  second.Close();
  ASSERT_TRUE(session.window.EditorChild()) << "the view attached before did not get the editor back";
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, expected));
}

// The host closes the editor in the middle of a knob drag: it sees the gesture end, and
// the editor opened again starts afresh.
TEST_F(EditorTest, ClosingTheEditorDuringADragEndsTheGesture)
{
  const Point level = kCentres[kLevel];
  ASSERT_TRUE(session.window.Press(EditorSession::Button::kLeft, level.x, level.y));
  ASSERT_TRUE(session.window.Move(level.x, level.y - 10));
  session.window.Close();
  EXPECT_EQ(session.handler->CallsOf(Kind::kPerform).size(), 1u);
  EXPECT_TRUE(EditsBracketed(session.handler->Calls()));

  ASSERT_TRUE(session.OpenEditor(0, 0)) << session.window.Failure();
  session.handler->ClearCalls();
  session.Drag(kCentres[kOutput].x, kCentres[kOutput].y, 10, 2);
  EXPECT_EQ(session.handler->CallsOf(Kind::kPerform).size(), 2u);
  EXPECT_TRUE(EditsBracketed(session.handler->Calls()));
}

// Two instances' editors side by side; closing one leaves the other working, in both orders.
TEST_F(EditorTest, TwoEditorsOpenAtOnceCloseInEitherOrder)
{
  session.window.Close();
  for (bool firstClosesFirst : {true, false})
  {
    EditorSession a;
    EditorSession b;
    ASSERT_TRUE(a.Create() && a.OpenEditor(0, 0)) << a.window.Failure();
    ASSERT_TRUE(b.Create() && b.OpenEditor(300, 0)) << b.window.Failure();
    a.Click(kCentres[kPad].x, kCentres[kPad].y);
    b.Click(kCentres[kPhase].x, kCentres[kPhase].y);
    PanelOracle::Values expectA = defaults;
    PanelOracle::Values expectB = defaults;
    expectA[kPad] = 1.0;
    expectB[kPhase] = 1.0;
    a.WaitForRedraw();
    EXPECT_TRUE(a.ShowsPanel(*oracle, expectA));
    EXPECT_TRUE(b.ShowsPanel(*oracle, expectB));

    EditorSession& closed = firstClosesFirst ? a : b;
    EditorSession& left = firstClosesFirst ? b : a;
    PanelOracle::Values& expectLeft = firstClosesFirst ? expectB : expectA;
    closed.window.Close();
    left.Click(kCentres[kGain].x, kCentres[kGain].y);
    expectLeft[kGain] = 1.0 - expectLeft[kGain];
    left.WaitForRedraw();
    EXPECT_TRUE(left.ShowsPanel(*oracle, expectLeft)) << (firstClosesFirst ? "first" : "second") << " closed first";
    left.window.Close();
  }
  // Every editor window closed: a new one opens as the first did.
  ASSERT_TRUE(session.OpenEditor(0, 0)) << session.window.Failure();
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, defaults));
}

}  // namespace
