// MERO's editor at a scale, end to end: opened by the test host at a content scale, the
// scale changed while it is open, the host window resized by the user and the size kept
// in the state; each time what is on screen compared pixel for pixel with the oracle's
// composite at that scale, and gestures at 2x compared with the same gestures at 1x.

#include <gtest/gtest.h>

#include <vector>

#include "HostedEditorFixture.h"

using namespace Steinberg;
using Kind = mero::ComponentHandler::Kind;

namespace
{

constexpr int kLevel = 0, kPad = 6, kQuality = 9;
// The middle of the Level knob and of the Pad and Quality switches, in logical pixels.
constexpr int kLevelX = 128, kLevelY = 464, kPadX = 127, kPadY = 309, kQualityX = 203, kQualityY = 108;

::testing::AssertionResult HasSize(const ViewRect& r, int width, int height)
{
  if (r.left == 0 && r.top == 0 && r.right == width && r.bottom == height) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

::testing::AssertionResult OpenedAt(EditorSession& session, const PanelOracle& oracle, double scale)
{
  const int width = PanelOracle::DeviceLength(PanelOracle::kWidth, scale);
  const int height = PanelOracle::DeviceLength(PanelOracle::kHeight, scale);
  ::testing::AssertionResult size = HasSize(session.window.ViewSize(), width, height);
  if (!size) return size << " is the view's size";
  int childW = 0, childH = 0;
  if (!session.window.EditorChild(&childW, &childH) || childW != width || childH != height)
    return ::testing::AssertionFailure() << "the editor's window is " << childW << " x " << childH;
  session.WaitForRedraw();
  return session.ShowsPanel(oracle, session.Values(), scale);
}

// The knob dragged up and the two switches clicked at the logical positions times scale;
// the values the host got.
std::vector<double> Gestures(EditorSession& session, int scale)
{
  session.Drag(kLevelX * scale, kLevelY * scale, -7 * scale, 4);
  session.Click(kQualityX * scale, kQualityY * scale);
  session.Click(kPadX * scale, kPadY * scale);
  std::vector<double> values;
  for (const mero::ComponentHandler::Call& call : session.handler->CallsOf(Kind::kPerform))
    values.push_back(call.value);
  return values;
}

using EditorScaleTest = HostedEditorFixture;

TEST_F(EditorScaleTest, OpensAtTheHostsContentScaleShowingThePanel)
{
  for (float scale : {1.0f, 1.5f, 2.0f})
  {
    session.window.Close();
    ASSERT_TRUE(session.window.SetContentScale(scale));
    ASSERT_TRUE(session.OpenEditor(0, 0)) << session.window.Failure();
    EXPECT_TRUE(OpenedAt(session, *oracle, scale)) << "at " << scale;
    EXPECT_TRUE(session.window.Frame().Resizes().empty());
  }
}

// The same drag and clicks in logical pixels give the same edits at 2x as at 1x.
TEST_F(EditorScaleTest, GesturesAt2xEditAsAt1x)
{
  const std::vector<double> at1x = Gestures(session, 1);
  ASSERT_EQ(at1x.size(), 6u);
  EXPECT_NE(session.Values(), defaults);
  session.window.Close();

  EditorSession twice;
  ASSERT_TRUE(twice.Create());
  ASSERT_TRUE(twice.window.SetContentScale(2.0f));
  ASSERT_TRUE(twice.OpenEditor(0, 0)) << twice.window.Failure();
  EXPECT_EQ(Gestures(twice, 2), at1x);
  EXPECT_EQ(twice.Values(), session.Values());
  for (int p : {kLevel, kPad, kQuality}) EXPECT_NE(twice.Values()[p], defaults[p]) << "parameter " << p;
  EXPECT_TRUE(OpenedAt(twice, *oracle, 2.0));
}

// The host moves the window to a display of another scale, the user drags its corner to
// a size off the panel's proportions; the instance's state brings the size to the next
// editor of an instance.
TEST_F(EditorScaleTest, ScaleChangesAndTheUsersSizeRedrawTheEditorAndStayInTheState)
{
  ASSERT_TRUE(session.window.SetContentScale(1.5f));
  ASSERT_EQ(session.window.Frame().Resizes().size(), 1u);
  EXPECT_TRUE(OpenedAt(session, *oracle, 1.5));

  // The height changed more than the width: 900 pixels high, 255 x 900 / 658 wide.
  ASSERT_TRUE(session.window.Resize(400, 900));
  const double userScale = 900.0 / 658.0;
  EXPECT_TRUE(OpenedAt(session, *oracle, userScale));
  session.Click(static_cast<int>(kPadX * userScale), static_cast<int>(kPadY * userScale));
  EXPECT_EQ(session.Values()[kPad], 1.0);
  EXPECT_TRUE(OpenedAt(session, *oracle, userScale));

  std::vector<char> state;
  ASSERT_EQ(session.plugin.GetState(state), Steinberg::kResultOk);
  EditorSession next;
  ASSERT_TRUE(next.Create());
  ASSERT_EQ(next.plugin.SetState(state), Steinberg::kResultOk);
  ASSERT_TRUE(next.window.SetContentScale(1.5f));
  ASSERT_TRUE(next.OpenEditor(0, 0)) << next.window.Failure();
  EXPECT_TRUE(OpenedAt(next, *oracle, userScale));
  EXPECT_TRUE(next.window.Frame().Resizes().empty());
}

}  // namespace
