// The editor core: rectangle rules, the redraw cycle, event routing, drawing with
// each blend method, the bitmap cache and the value paths from the plug-in.

#include <gtest/gtest.h>

#include <vector>

#include "IBitmapControl.h"
#include "IKnobMultiControl.h"
#include "KeyCode.h"
#include "LICE_pixel.h"
#include "RecordingControl.h"
#include "TestEditorPlug.h"
#include "TestGraphics.h"

namespace
{

using Strings = std::vector<std::string>;

TEST(IRectangleTest, EmptinessAndIntersectionEdges)
{
  EXPECT_TRUE(IRectangle().Empty());
  EXPECT_FALSE(IRectangle(5, 5, 5, 5).Empty());
  const IRectangle a(10, 10, 20, 20);
  EXPECT_FALSE(IRectangle().Intersects(a));
  EXPECT_FALSE(a.Intersects(IRectangle()));
  // Touching on a's right or bottom edge intersects, on its left or top edge not.
  EXPECT_TRUE(a.Intersects(IRectangle(20, 10, 30, 20)));
  EXPECT_TRUE(a.Intersects(IRectangle(10, 20, 20, 30)));
  EXPECT_FALSE(a.Intersects(IRectangle(0, 10, 10, 20)));
  EXPECT_FALSE(a.Intersects(IRectangle(10, 0, 20, 10)));
  EXPECT_EQ(a.Intersect(IRectangle(15, 5, 40, 18)), IRectangle(15, 10, 20, 18));
  EXPECT_EQ(a.Union(IRectangle()), a);
  EXPECT_EQ(IRectangle().Union(a), a);
  EXPECT_EQ(a.Union(IRectangle(0, 15, 12, 40)), IRectangle(0, 10, 20, 40));
}

TEST(IGraphicsDrawTest, UpdateRectangleEdgesAndEmptyEditor)
{
  TestEditorPlug plug;
  TestGraphics g(&plug);
  EXPECT_TRUE(g.Draw(IRectangle(0, 0, 10, 10)));
  EXPECT_TRUE(g.presents.empty());  // no controls: nothing presented

  auto* leftOnEdge = new RecordingControl(&plug, IRectangle(50, 0, 60, 10));  // L = update R
  auto* rightOnEdge = new RecordingControl(&plug, IRectangle(0, 0, 10, 10));  // R = update L
  auto* hidden = new RecordingControl(&plug, IRectangle(20, 0, 30, 10));
  g.AddControl(leftOnEdge);
  g.AddControl(rightOnEdge);
  g.AddControl(hidden);
  hidden->SetHidden(true);
  EXPECT_TRUE(g.Draw(IRectangle(10, 0, 50, 10)));
  EXPECT_EQ(leftOnEdge->draws, 1);
  EXPECT_EQ(rightOnEdge->draws, 0);
  EXPECT_EQ(hidden->draws, 0);
  ASSERT_EQ(g.presents.size(), 1u);
  EXPECT_EQ(g.presents[0], IRectangle(10, 0, 50, 10));
  EXPECT_FALSE(rightOnEdge->IsDirty());  // every control is marked clean, drawn or not
}

TEST(IGraphicsDrawTest, ValueChangeIsDrawnOnTwoPasses)
{
  TestEditorPlug plug;
  TestGraphics g(&plug);
  auto* c = new RecordingControl(&plug, IRectangle(10, 20, 30, 40), 0);
  g.AddControl(c);
  g.CreateBackingBitmaps();

  c->SetValueFromParam(0.7);  // first value: becomes the default, nothing else
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.7);
  EXPECT_DOUBLE_EQ(c->GetDefaultValue(), 0.7);
  EXPECT_TRUE(c->IsDirty());  // from construction
  EXPECT_TRUE(g.Tick());
  EXPECT_FALSE(g.Tick());

  c->SetValueFromParam(0.7);
  EXPECT_FALSE(c->IsDirty());
  c->SetValueFromParam(0.8);
  IRectangle dirty;
  ASSERT_TRUE(g.CollectDirtyRect(dirty));
  EXPECT_EQ(dirty, IRectangle(10, 20, 30, 40));
  EXPECT_TRUE(g.Tick());
  EXPECT_TRUE(g.Tick());
  EXPECT_FALSE(g.Tick());
  EXPECT_EQ(c->draws, 3);
  EXPECT_FALSE(g.CollectDirtyRect(dirty));
}

// A 10-pixel-wide knob strip whose frames are 40 pixels high.
IBitmapStrip KnobStrip(TestGraphics& g, int frames)
{
  const int id = TestGraphics::UniqueImageId();
  g.AddImage(id, 10, 40 * frames, LICE_RGBA(0, 0, 0, 255));
  return g.LoadBitmapStrip(id, "knob.png", frames);
}

struct EditorFixture : ::testing::Test
{
  EditorFixture()
  {
    background = new RecordingControl(&plug, IRectangle(0, 0, 255, 658));
    g.AddBackground(background);
    knob = new IKnobMultiControl(&plug, 100, 100, 0, KnobStrip(g, 21));  // (100, 100, 110, 140)
    g.AddControl(knob);
    unbound = new RecordingControl(&plug, IRectangle(0, 300, 50, 350));
    g.AddControl(unbound);
    knob->SetValueFromParam(0.5);
  }

  TestEditorPlug plug;
  TestGraphics g{&plug};
  RecordingControl* background;
  IKnobMultiControl* knob;
  RecordingControl* unbound;
};

TEST_F(EditorFixture, GestureBracketsADragEvenWhenReleasedOutside)
{
  const IMouseModifiers left{true};
  g.OnMouseDown(105, 120, left);
  EXPECT_EQ(g.GetMouseCapture(), 1);
  g.OnMouseDrag(105, 104, left);  // up 16 pixels
  g.OnMouseDrag(105, 104, left);  // same position: swallowed
  g.OnMouseDrag(200, 500, left);  // far outside, still captured
  g.OnMouseUp(200, 500, left);
  EXPECT_EQ(g.GetMouseCapture(), -1);
  const Strings calls = plug.EditorCalls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0], "begin 0");
  EXPECT_EQ(calls[1], "set 0");
  EXPECT_EQ(calls[3], "set 0");
  EXPECT_EQ(calls[5], "end 0");
  ASSERT_EQ(plug.edits.size(), 2u);
  EXPECT_NEAR(plug.edits[0].second, 0.6, 1e-12);  // 16 / 40 / 4
  EXPECT_DOUBLE_EQ(plug.edits[1].second, 0.0);    // dragged down far: clamped
}

TEST_F(EditorFixture, GestureEndsWhenTheReleaseReachesNoControl)
{
  const IMouseModifiers left{true};
  g.OnMouseDown(105, 120, left);
  g.ReleaseMouseCapture();      // as a popup menu does
  g.OnMouseUp(300, 700, left);  // outside every control
  EXPECT_EQ(plug.EditorCalls(), (Strings{"begin 0", "end 0"}));
}

TEST_F(EditorFixture, ASecondPressDuringADragEndsTheFirstGesture)
{
  const IMouseModifiers left{true};
  g.OnMouseDown(105, 120, left);
  g.OnMouseDrag(105, 110, left);
  g.OnMouseDown(105, 110, left);  // the first press's release never came
  g.OnMouseDrag(105, 100, left);
  g.OnMouseUp(105, 100, left);
  Strings gestures;
  for (const std::string& call : plug.EditorCalls())
    if (call.rfind("begin ", 0) == 0 || call.rfind("end ", 0) == 0) gestures.push_back(call);
  EXPECT_EQ(gestures, (Strings{"begin 0", "end 0", "begin 0", "end 0"}));
}

TEST_F(EditorFixture, DragAtTheSamePositionIsSwallowed)
{
  const IMouseModifiers left{true};
  g.OnMouseDown(10, 310, left);
  g.OnMouseDrag(10, 310, left);
  g.OnMouseDrag(13, 308, left);
  EXPECT_EQ(unbound->events, (Strings{"down", "drag 3 -2"}));
}

TEST_F(EditorFixture, RightPressOnABoundKnobOpensTheHostMenuOnly)
{
  const IMouseModifiers right{false, true};
  g.OnMouseDown(105, 120, right);
  EXPECT_EQ(g.GetMouseCapture(), -1);
  g.OnMouseUp(105, 120, right);
  // No gesture began, so none ends; the knob keeps its value.
  EXPECT_EQ(plug.EditorCalls(), (Strings{"host menu 0 105 120"}));
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5);
}

TEST_F(EditorFixture, RightPressOnAnUnboundControlReachesIt)
{
  const IMouseModifiers right{false, true};
  g.OnMouseDown(10, 310, right);
  EXPECT_EQ(g.GetMouseCapture(), 2);
  EXPECT_EQ(unbound->events, (Strings{"down R"}));
  EXPECT_TRUE(plug.EditorCalls().empty());
}

TEST_F(EditorFixture, DoubleClickResetIsBracketedByAGesture)
{
  const IMouseModifiers left{true};
  g.OnMouseDown(105, 120, left);
  g.OnMouseDrag(105, 116, left);
  g.OnMouseUp(105, 116, left);
  plug.calls.clear();
  plug.edits.clear();
  g.OnMouseDoubleClick(105, 116, left);
  g.OnMouseUp(105, 116, left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5);  // back to the first value it was given
  const Strings calls = plug.EditorCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0], "begin 0");
  EXPECT_EQ(calls[1], "set 0");
  EXPECT_EQ(calls[3], "end 0");
}

TEST_F(EditorFixture, WheelTurnIsAGestureOfItsOwnOutsideAPress)
{
  const IMouseModifiers none, left{true};
  g.OnMouseWheel(105, 120, none, 1);
  EXPECT_EQ(plug.EditorCalls(), (Strings{"begin 0", "set 0", "send 0 0.510000", "end 0"}));
  plug.calls.clear();
  g.OnMouseDown(105, 120, left);
  g.OnMouseWheel(105, 120, none, 1);
  g.OnMouseUp(105, 120, left);
  EXPECT_EQ(plug.EditorCalls(), (Strings{"begin 0", "set 0", "send 0 0.520000", "end 0"}));
}

TEST_F(EditorFixture, KeysGoToTheCapturedOrHitControlElseTheKeyCatcher)
{
  unbound->takesKeys = false;
  EXPECT_FALSE(g.OnKeyDown(10, 310, kKeyA));  // no catcher; the hit control declines
  EXPECT_EQ(unbound->events, (Strings{"key 15"}));

  auto* catcher = new RecordingControl(&plug, IRectangle());
  g.SetKeyCatcher(catcher);
  EXPECT_TRUE(g.OnKeyDown(200, 10, kKeySpace));  // only the background is hit
  g.OnMouseDown(200, 10, IMouseModifiers{true});
  EXPECT_EQ(g.GetMouseCapture(), 0);
  EXPECT_TRUE(g.OnKeyDown(10, 310, kKeyUp));  // capture 0: not the background, not the hit control
  EXPECT_EQ(catcher->events, (Strings{"key 0", "key 1"}));
  EXPECT_EQ(background->events, (Strings{"down"}));
  EXPECT_EQ(unbound->events.size(), 1u);
}

// A 4 x 4 source of (20, 40, 60, alpha 128) at (2, 2) drawn with the method over an
// opaque (200, 100, 50); the result at (3, 3). defaultBlend draws with no blend.
LICE_pixel DrawnPixel(int method, bool grayed = false, bool defaultBlend = false)
{
  TestEditorPlug plug;
  TestGraphics g(&plug, 16, 16);
  const int id = TestGraphics::UniqueImageId();
  g.AddImage(id, 4, 4, LICE_RGBA(20, 40, 60, 128));
  auto* c = new IBitmapControl(&plug, 2, 2, -1, g.LoadBitmapStrip(id, "s.png", 1), method);
  g.AddControl(c);
  g.CreateBackingBitmaps();
  g.FillDrawBitmap(LICE_RGBA(200, 100, 50, 255));
  if (grayed) c->SetGrayed(true);
  g.Draw(IRectangle(0, 0, 16, 16));
  if (defaultBlend)
  {
    g.FillDrawBitmap(LICE_RGBA(200, 100, 50, 255));
    EXPECT_TRUE(g.DrawBitmap(c->GetStrip(), c->GetRect(), 0, 0, nullptr));
  }
  EXPECT_EQ(g.PixelAt(1, 1), LICE_RGBA(200, 100, 50, 255));  // outside the control
  return g.PixelAt(3, 3);
}

TEST(IGraphicsDrawBitmapTest, BlendMethodsGiveTheirPixels)
{
  EXPECT_EQ(DrawnPixel(IBlend::kOpaqueCopy), LICE_RGBA(20, 40, 60, 128));  // alpha ignored, copied as is
  // Colour: S + (D - S) * 127 / 256; alpha saturates.
  EXPECT_EQ(DrawnPixel(IBlend::kNormal), LICE_RGBA(109, 69, 56, 255));
  EXPECT_EQ(DrawnPixel(IBlend::kAdd, false, true), LICE_RGBA(109, 69, 56, 255));
  // D + S * 129 / 256.
  EXPECT_EQ(DrawnPixel(IBlend::kAdd), LICE_RGBA(210, 120, 80, 255));
  // D * 256 / (256 - S * 129 / 256).
  EXPECT_EQ(DrawnPixel(IBlend::kDodge), LICE_RGBA(208, 108, 56, 255));
  // Grayed, weight 0.25: a = 64 * 129 / 256 = 32; S + (D - S) * 224 / 256.
  EXPECT_EQ(DrawnPixel(IBlend::kNormal, true), LICE_RGBA(177, 92, 52, 255));
}

TEST(IGraphicsDrawBitmapTest, ClipsToTheDrawRectangleAndShiftsTheSource)
{
  TestEditorPlug plug;
  TestGraphics g(&plug, 32, 32);
  const int id = TestGraphics::UniqueImageId();
  std::vector<LICE_pixel> pixels;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) pixels.push_back(LICE_RGBA(x, y, 7, 255));
  g.AddImage(id, 4, 4, pixels);
  g.AddControl(new IBitmapControl(&plug, 10, 10, -1, g.LoadBitmapStrip(id, "s.png", 1), IBlend::kOpaqueCopy));
  g.CreateBackingBitmaps();
  g.FillDrawBitmap(0);
  g.Draw(IRectangle(12, 11, 20, 20));
  EXPECT_EQ(g.PixelAt(11, 12), 0u);
  EXPECT_EQ(g.PixelAt(12, 10), 0u);
  EXPECT_EQ(g.PixelAt(12, 11), LICE_RGBA(2, 1, 7, 255));
  EXPECT_EQ(g.PixelAt(13, 13), LICE_RGBA(3, 3, 7, 255));
  EXPECT_EQ(g.PixelAt(14, 13), 0u);
}

// Noise with every alpha, so that misplaced or stale pixels show.
std::vector<LICE_pixel> Noise(int w, int h, unsigned seed)
{
  std::vector<LICE_pixel> pixels;
  for (int i = 0; i < w * h; ++i)
  {
    seed = seed * 1103515245u + 12345u;
    pixels.push_back(LICE_RGBA(seed >> 8 & 255, seed >> 16 & 255, seed >> 24, seed >> 4 & 255));
  }
  return pixels;
}

// A 41 x 31 editor: an opaque background and a 3-frame knob at an odd place, each with a
// 2x image; the knob at value.
struct ScaledPanel
{
  ScaledPanel(int bgId, int knobId, double value)
  {
    g.AddImage(bgId, 41, 31, Noise(41, 31, 1));
    g.AddImage(bgId + 1, 82, 62, Noise(82, 62, 2));
    g.AddImage(knobId, 7, 15, Noise(7, 15, 3));
    g.AddImage(knobId + 1, 14, 30, Noise(14, 30, 4));
    g.AddBackground(new IBitmapControl(&plug, 0, 0, -1, g.LoadBitmapStrip(bgId, "bg.png", 1, bgId + 1, "bg2.png"),
                                       IBlend::kOpaqueCopy));
    knob = new IKnobMultiControl(&plug, 13, 9, 0, g.LoadBitmapStrip(knobId, "k.png", 3, knobId + 1, "k2.png"));
    g.AddControl(knob);
    knob->SetValueFromParam(value);
    g.CreateBackingBitmaps();
  }
  TestEditorPlug plug;
  TestGraphics g{&plug, 41, 31};
  IKnobMultiControl* knob;
};

// Drawn at a scale, a control changed by a drag (in device pixels) leaves exactly the
// pixels a full redraw of the same values gives; at 2 those are the 2x images' own.
TEST(IGraphicsScaleTest, AChangedControlRedrawsAsAFullRedrawDoesAtEveryScale)
{
  const int bgId = TestGraphics::UniqueImageId();
  TestGraphics::UniqueImageId();
  const int knobId = TestGraphics::UniqueImageId();
  TestGraphics::UniqueImageId();
  for (double scale : {0.8, 1.5, 2.0, 2.5})
  {
    ScaledPanel changed(bgId, knobId, 0.0);
    ASSERT_TRUE(changed.g.SetScale(scale));
    EXPECT_EQ(changed.g.WindowWidth(), static_cast<int>(41 * scale + 0.5)) << scale;
    EXPECT_EQ(changed.g.WindowHeight(), static_cast<int>(31 * scale + 0.5)) << scale;
    changed.g.Draw(IRectangle(0, 0, changed.g.WindowWidth(), changed.g.WindowHeight()));
    // 15 logical pixels up over a 5-pixel knob at gearing 4: three quarters of the range.
    const int x = static_cast<int>(15 * scale), y = static_cast<int>(12 * scale);
    changed.g.OnMouseDown(x, y, IMouseModifiers{true});
    changed.g.OnMouseDrag(x, y - static_cast<int>(15 * scale), IMouseModifiers{true});
    changed.g.OnMouseUp(x, y - static_cast<int>(15 * scale), IMouseModifiers{});
    ASSERT_DOUBLE_EQ(changed.knob->GetValue(), 0.75) << scale;
    while (changed.g.Tick()) continue;

    ScaledPanel full(bgId, knobId, 0.75);
    full.g.SetScale(scale);
    full.g.Draw(IRectangle(0, 0, full.g.WindowWidth(), full.g.WindowHeight()));
    int differ = 0;
    for (int py = 0; py < full.g.WindowHeight(); ++py)
      for (int px = 0; px < full.g.WindowWidth(); ++px) differ += changed.g.PixelAt(px, py) != full.g.PixelAt(px, py);
    EXPECT_EQ(differ, 0) << "at " << scale;
    if (scale == 2.0)
    {
      EXPECT_EQ(full.g.PixelAt(81, 61), Noise(82, 62, 2).back());  // the 2x background, not resampled
      EXPECT_EQ(full.g.ScaledImageBytes(), 0u);
    }
    else
      EXPECT_GT(full.g.ScaledImageBytes(), 0u);
  }
  EXPECT_EQ(ScaledPanel(bgId, knobId, 0).g.LoadCount(bgId + 1), 0) << "each 2x image is decoded once";
}

TEST(IBitmapCacheTest, DecodesOnceForTwoEditorsAndRetriesAFailedImage)
{
  TestEditorPlug plug;
  TestGraphics first(&plug), second(&plug), third(&plug);
  const int id = TestGraphics::UniqueImageId();
  first.AddImage(id, 3, 6, LICE_RGBA(1, 2, 3, 255));
  second.AddImage(id, 3, 6, LICE_RGBA(9, 9, 9, 255));
  const IBitmapStrip a = first.LoadBitmapStrip(id, "a.png", 2);
  const IBitmapStrip b = second.LoadBitmapStrip(id, "a.png", 3);
  EXPECT_EQ(first.LoadCount(id) + second.LoadCount(id), 1);
  ASSERT_NE(a.bitmap, nullptr);
  EXPECT_EQ(a.bitmap, b.bitmap);
  EXPECT_EQ(b.w, 3);
  EXPECT_EQ(b.h, 6);
  EXPECT_EQ(b.n, 3);
  EXPECT_FALSE(b.framesHorizontal);

  // A resource that failed to load is tried again; once decoded it is kept.
  const int late = TestGraphics::UniqueImageId();
  first.AddMissingImage(late);
  EXPECT_EQ(first.LoadBitmapStrip(late, "late.png", 1).bitmap, nullptr);
  second.AddImage(late, 2, 2, LICE_RGBA(1, 1, 1, 255));
  third.AddImage(late, 2, 2, LICE_RGBA(1, 1, 1, 255));
  EXPECT_NE(second.LoadBitmapStrip(late, "late.png", 1).bitmap, nullptr);
  EXPECT_NE(third.LoadBitmapStrip(late, "late.png", 1).bitmap, nullptr);
  EXPECT_EQ(second.LoadCount(late), 1);
  EXPECT_EQ(third.LoadCount(late), 0);
}

TEST(IBitmapCacheTest, MissingImageDrawsNothing)
{
  TestEditorPlug plug;
  TestGraphics g(&plug, 64, 64);
  const int id = TestGraphics::UniqueImageId();
  g.AddMissingImage(id);
  const IBitmapStrip strip = g.LoadBitmapStrip(id, "gone.png", 21);
  EXPECT_EQ(strip.bitmap, nullptr);
  EXPECT_EQ(strip.w, 0);
  EXPECT_EQ(strip.h, 0);
  g.AddBackground(new IBitmapControl(&plug, 0, 0, -1, strip, IBlend::kOpaqueCopy));
  auto* knob = new IKnobMultiControl(&plug, 5, 5, 0, strip);
  g.AddControl(knob);
  EXPECT_EQ(knob->GetRect(), IRectangle(5, 5, 5, 5));
  g.CreateBackingBitmaps();
  g.FillDrawBitmap(LICE_RGBA(1, 2, 3, 4));
  knob->SetValueFromParam(0.3);
  EXPECT_TRUE(g.Draw(IRectangle(0, 0, 64, 64)));
  EXPECT_FALSE(knob->Draw(&g));
  EXPECT_EQ(g.PixelAt(5, 5), LICE_RGBA(1, 2, 3, 4));
  EXPECT_EQ(g.PixelAt(0, 0), LICE_RGBA(1, 2, 3, 4));

  // A drag on a knob without height changes nothing (no division by zero).
  knob->OnMouseDrag(5, 5, 0, -5, IMouseModifiers());
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.3);
  EXPECT_TRUE(plug.edits.empty());
}

TEST(IGraphicsParamTest, ShowParamValueNormalisesPlainValuesForEveryBoundControl)
{
  TestEditorPlug plug(2);
  plug.GetParamRecord(1)->DefineContinuous("Out", 15.0, 10.0, 20.0, 0.1);
  TestGraphics g(&plug);
  auto* a = new RecordingControl(&plug, IRectangle(0, 0, 5, 5), 1);
  auto* b = new RecordingControl(&plug, IRectangle(5, 0, 9, 5), 1);
  auto* other = new RecordingControl(&plug, IRectangle(0, 5, 5, 9), 0);
  g.AddControl(a);
  g.AddControl(b);
  g.AddControl(other);
  g.ShowParamValue(1, 0.5, true);
  g.ShowParamValue(1, 5.0, false);  // below min
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.0);
  EXPECT_DOUBLE_EQ(b->GetValue(), 0.0);
  EXPECT_DOUBLE_EQ(a->GetDefaultValue(), 0.5);
  g.ShowParamValue(1, 17.5, false);
  EXPECT_DOUBLE_EQ(b->GetValue(), 0.75);
  EXPECT_DOUBLE_EQ(other->GetDefaultValue(), -1.0);  // never reached
}

TEST(IGraphicsParamTest, AskParamValueOffersAListParameterAsAMenu)
{
  TestEditorPlug plug(1, false);
  IParamRecord* mode = plug.GetParamRecord(0);
  mode->DefineEnum("Mode", 1, 3);
  mode->AddDisplayText(0, "Soft");
  mode->AddDisplayText(2, "Hard");
  mode->AddDisplayText(1, "Mid");
  TestGraphics g(&plug);
  auto* c = new RecordingControl(&plug, IRectangle(0, 0, 10, 10), 0);
  g.AddControl(c);
  c->SetValueFromParam(0.5);

  g.AskParamValue(c, mode, IRectangle(1, 2, 3, 4));  // no choice: nothing changes
  g.menuChoice = 2;
  g.AskParamValue(c, mode, IRectangle(1, 2, 3, 4));
  ASSERT_EQ(g.menus.size(), 2u);
  EXPECT_EQ(g.menus[1].texts, (Strings{"Soft", "Mid", "Hard"}));
  EXPECT_EQ(g.menus[1].flags, (std::vector<int>{0, IMenuItem::kChecked, 0}));
  EXPECT_EQ(g.menus[1].rect, IRectangle(1, 2, 3, 4));
  EXPECT_DOUBLE_EQ(c->GetValue(), 1.0);
  ASSERT_EQ(plug.edits.size(), 1u);
  EXPECT_DOUBLE_EQ(plug.edits[0].second, 1.0);
  EXPECT_DOUBLE_EQ(mode->GetValue(), 2.0);
  EXPECT_TRUE(g.textEntries.empty());

  g.AskParamValue(nullptr, mode, IRectangle());
  EXPECT_EQ(g.menus.size(), 2u);
}

TEST(IGraphicsParamTest, AskParamValueOpensATextEntryForNumbers)
{
  TestEditorPlug plug(2, false);
  plug.GetParamRecord(0)->DefineInteger("Level", 7, 0, 20);
  plug.GetParamRecord(1)->DefineContinuous("Out", -3.25, -20.0, 20.0, 0.01);
  plug.GetParamRecord(1)->SetNegateDisplay(true);
  TestGraphics g(&plug);
  auto* c = new RecordingControl(&plug, IRectangle(0, 0, 10, 10), 0);
  g.AddControl(c);
  g.AskParamValue(c, plug.GetParamRecord(0), IRectangle(0, 0, 40, 16));
  g.AskParamValue(c, plug.GetParamRecord(1), IRectangle(0, 0, 40, 16));
  ASSERT_EQ(g.textEntries.size(), 2u);
  EXPECT_EQ(g.textEntries[0].text, "7");
  EXPECT_EQ(g.textEntries[0].param, plug.GetParamRecord(0));
  EXPECT_EQ(g.textEntries[1].text, "3.25");
  EXPECT_TRUE(g.menus.empty());
}

}  // namespace
