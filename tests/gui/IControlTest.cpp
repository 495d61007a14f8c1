// The controls: knob drag and wheel arithmetic, switch stepping, the frame a value
// shows, hit-testing and graying.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "IBitmapControl.h"
#include "IKnobMultiControl.h"
#include "ISwitchControl.h"
#include "LICE_pixel.h"
#include "RecordingControl.h"
#include "TestEditorPlug.h"
#include "TestGraphics.h"

namespace
{

// A vertical strip of frames 2 x 3 pixels; every pixel of frame k (from 0) is
// (k, 0, 0, opaque), so a drawn pixel tells the frame.
IBitmapStrip FrameStrip(TestGraphics& g, int frames)
{
  std::vector<LICE_pixel> pixels;
  for (int k = 0; k < frames; ++k)
    for (int i = 0; i < 2 * 3; ++i) pixels.push_back(LICE_RGBA(k, 0, 0, 255));
  const int id = TestGraphics::UniqueImageId();
  g.AddImage(id, 2, 3 * frames, pixels);
  return g.LoadBitmapStrip(id, "frames.png", frames);
}

// The 1-based frame a control over a strip of n frames shows for value v.
int FrameShown(int frames, double v, bool knob)
{
  TestEditorPlug plug;
  TestGraphics g(&plug, 8, 8);
  const IBitmapStrip strip = FrameStrip(g, frames);
  IControl* c = knob ? static_cast<IControl*>(new IKnobMultiControl(&plug, 1, 1, 0, strip))
                     : new IBitmapControl(&plug, 1, 1, 0, strip);
  g.AddControl(c);
  g.CreateBackingBitmaps();
  g.FillDrawBitmap(0);
  c->SetValueFromParam(v);
  g.Draw(IRectangle(0, 0, 8, 8));
  const LICE_pixel p = g.PixelAt(2, 3);
  EXPECT_EQ(LICE_GETA(p), 255);
  return LICE_GETR(p) + 1;
}

TEST(FrameChoiceTest, NearestFrameWithHalvesRoundingUp)
{
  EXPECT_EQ(FrameShown(21, 0.5, true), 11);
  EXPECT_EQ(FrameShown(21, 0.024, true), 1);
  EXPECT_EQ(FrameShown(21, 0.025, false), 2);
  EXPECT_EQ(FrameShown(21, 1.0, false), 21);
  EXPECT_EQ(FrameShown(3, 0.24, true), 1);
  EXPECT_EQ(FrameShown(3, 0.25, true), 2);
  EXPECT_EQ(FrameShown(3, 1.0, true), 3);
  EXPECT_EQ(FrameShown(4, 1.0 / 3, true), 2);
  EXPECT_EQ(FrameShown(4, 0.5, true), 3);
  EXPECT_EQ(FrameShown(61, 0.5, true), 31);
  EXPECT_EQ(FrameShown(61, 0.0, true), 1);
  // Values outside 0..1 (a first value is stored unclamped) stay on the strip.
  EXPECT_EQ(FrameShown(4, 1.7, true), 4);
  EXPECT_EQ(FrameShown(4, -0.7, false), 1);
}

TEST(FrameChoiceTest, StripsWithoutFramesAreSafe)
{
  TestEditorPlug plug;
  TestGraphics g(&plug, 8, 8);
  const int id = TestGraphics::UniqueImageId();
  g.AddImage(id, 2, 6, LICE_RGBA(5, 0, 0, 255));
  IBitmapStrip strip = g.LoadBitmapStrip(id, "zero.png", 0);
  auto* c = new ISwitchControl(&plug, 1, 1, 0, strip);
  EXPECT_EQ(c->GetRect(), IRectangle(1, 1, 3, 7));  // counted as one frame
  g.AddControl(c);
  strip.framesHorizontal = true;
  strip.n = -3;
  g.AddControl(new IKnobMultiControl(&plug, 4, 0, 0, strip));
  g.CreateBackingBitmaps();
  c->SetValueFromParam(0.0);
  c->OnMouseDown(1, 1, IMouseModifiers());
  EXPECT_DOUBLE_EQ(c->GetValue(), 1.0);  // one frame: a step of 1.0
  g.Draw(IRectangle(0, 0, 8, 8));
  EXPECT_EQ(g.PixelAt(1, 6), LICE_RGBA(5, 0, 0, 255));
  EXPECT_EQ(g.PixelAt(5, 5), LICE_RGBA(5, 0, 0, 255));
}

struct KnobFixture : ::testing::Test
{
  KnobFixture()
  {
    const int id = TestGraphics::UniqueImageId();
    g.AddImage(id, 30, 40 * 61, LICE_RGBA(0, 0, 0, 255));
    knob = new IKnobMultiControl(&plug, 0, 0, 3, g.LoadBitmapStrip(id, "knob.png", 61));  // 30 x 40
    g.AddControl(knob);
    knob->SetValueFromParam(0.5);
  }

  double DragUp(int pixels, const IMouseModifiers& mod)
  {
    knob->SetValueFromParam(0.5);
    knob->OnMouseDrag(0, 0, 0, -pixels, mod);
    return knob->GetValue() - 0.5;
  }

  TestEditorPlug plug;
  TestGraphics g{&plug};
  IKnobMultiControl* knob;
};

TEST_F(KnobFixture, DragTakesGearingTimesTheHeightTenTimesFinerWithShiftOrControl)
{
  IMouseModifiers shift, control;
  shift.S = true;
  control.C = true;
  EXPECT_NEAR(DragUp(16, IMouseModifiers()), 0.1, 1e-12);  // 16 / (40 * 4)
  EXPECT_NEAR(DragUp(16, shift), 0.01, 1e-12);
  EXPECT_NEAR(DragUp(16, control), 0.01, 1e-12);
  EXPECT_NEAR(DragUp(-40, IMouseModifiers()), -0.25, 1e-12);
  ASSERT_FALSE(plug.edits.empty());
  EXPECT_EQ(plug.edits.back().first, 3);
  EXPECT_NEAR(plug.edits.back().second, 0.25, 1e-12);

  IKnobMultiControl horizontal(&plug, 0, 0, 3, knob->GetStrip(), IKnobControl::kHorizontal, 2.0);
  horizontal.SetValueFromParam(0.5);
  horizontal.OnMouseDrag(0, 0, 6, -100, IMouseModifiers());
  EXPECT_NEAR(horizontal.GetValue(), 0.6, 1e-12);  // 6 / (30 * 2); dY ignored
}

TEST_F(KnobFixture, WheelStepsAndClampsAtTheTop)
{
  IMouseModifiers shift;
  shift.S = true;
  knob->SetValueFromParam(0.995);
  g.OnMouseWheel(10, 10, IMouseModifiers(), 2);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0);
  ASSERT_EQ(plug.edits.size(), 1u);
  EXPECT_DOUBLE_EQ(plug.edits[0].second, 1.0);
  EXPECT_DOUBLE_EQ(plug.GetParamRecord(3)->GetValue(), 1.0);
  g.OnMouseWheel(10, 10, shift, -3);
  EXPECT_NEAR(knob->GetValue(), 0.997, 1e-12);
}

TEST(ISwitchControlTest, StepsThroughItsFramesAndDoubleClickStepsTwice)
{
  TestEditorPlug plug;
  TestGraphics g(&plug);
  auto* two = new ISwitchControl(&plug, 0, 0, 4, FrameStrip(g, 2));
  auto* four = new ISwitchControl(&plug, 10, 0, 5, FrameStrip(g, 4));
  g.AddControl(two);
  g.AddControl(four);
  two->SetValueFromParam(0.0);
  four->SetValueFromParam(0.0);
  const IMouseModifiers left{true};
  std::vector<double> seen;
  for (int i = 0; i < 5; ++i)
  {
    g.OnMouseDown(11, 1, left);
    g.OnMouseUp(11, 1, left);
    seen.push_back(four->GetValue());
  }
  EXPECT_NEAR(seen[0], 1.0 / 3, 1e-12);
  EXPECT_NEAR(seen[1], 2.0 / 3, 1e-12);
  EXPECT_NEAR(seen[2], 1.0, 1e-12);
  EXPECT_DOUBLE_EQ(seen[3], 0.0);
  EXPECT_NEAR(seen[4], 1.0 / 3, 1e-12);

  plug.edits.clear();
  g.OnMouseDown(1, 1, left);  // a double click as the window delivers it
  g.OnMouseUp(1, 1, left);
  g.OnMouseDoubleClick(1, 1, left);
  g.OnMouseUp(1, 1, left);
  EXPECT_DOUBLE_EQ(two->GetValue(), 0.0);
  ASSERT_EQ(plug.edits.size(), 2u);
  EXPECT_DOUBLE_EQ(plug.edits[0].second, 1.0);
  EXPECT_DOUBLE_EQ(plug.edits[1].second, 0.0);
}

TEST(IControlTest, HitTestAndGraying)
{
  TestEditorPlug plug;
  TestGraphics g(&plug);
  auto* c = new RecordingControl(&plug, IRectangle(10, 10, 20, 20), 0);
  g.AddControl(c);
  EXPECT_TRUE(c->HitTest(10, 19));
  EXPECT_FALSE(c->HitTest(20, 15));
  EXPECT_FALSE(c->HitTest(15, 20));
  RecordingControl none(&plug, IRectangle());
  EXPECT_FALSE(none.HitTest(0, 0));

  c->SetGrayed(true);
  EXPECT_FLOAT_EQ(c->GetBlend().weight, 0.25f);
  g.OnMouseDown(15, 15, IMouseModifiers{true});
  EXPECT_EQ(g.GetMouseCapture(), -1);
  EXPECT_TRUE(c->events.empty());

  RecordingControl halfWeight(&plug, IRectangle(0, 0, 1, 1), -1, IBlend{IBlend::kNormal, 0.5f});
  halfWeight.SetGrayed(true);
  halfWeight.SetGrayed(false);
  EXPECT_FLOAT_EQ(halfWeight.GetBlend().weight, 1.0f);
}

TEST(IControlTest, PromptAsksThroughTheAttachedEditorWhenEnabled)
{
  TestEditorPlug plug(2, false);
  plug.GetParamRecord(0)->DefineContinuous("Level", 0.5, 0.0, 1.0, 0.01);
  IParamRecord* gain = plug.GetParamRecord(1);
  gain->DefineBool("Gain", false);
  gain->AddDisplayText(0, "Low");
  gain->AddDisplayText(1, "High");
  auto* g = new TestGraphics(&plug);
  auto* knob = new RecordingControl(&plug, IRectangle(10, 20, 31, 41), 0);
  auto* sw = new RecordingControl(&plug, IRectangle(50, 50, 60, 70), 1);
  g->AddControl(knob);
  g->AddControl(sw);
  plug.AttachEditor(g);  // the plug-in owns the editor from here on

  knob->PromptForParamValue();  // prompting is off by default
  EXPECT_TRUE(g->textEntries.empty());
  knob->SetPromptDisabled(false);
  sw->SetPromptDisabled(false);
  knob->PromptForParamValue();
  ASSERT_EQ(g->textEntries.size(), 1u);
  EXPECT_EQ(g->textEntries[0].rect, IRectangle(0, 22, 40, 38));  // 40 x 16 around (20, 30)
  EXPECT_EQ(g->textEntries[0].control, knob);

  g->menuChoice = 1;
  sw->OnMouseDown(55, 55, IMouseModifiers{false, true});
  ASSERT_EQ(g->menus.size(), 1u);
  EXPECT_EQ(g->menus[0].rect, IRectangle(50, 50, 60, 70));  // with display texts: the control's rectangle
  EXPECT_DOUBLE_EQ(sw->GetValue(), 1.0);
  EXPECT_DOUBLE_EQ(gain->GetValue(), 1.0);
}

}  // namespace
