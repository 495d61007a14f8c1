// The plug-in base's link to its editor: values pushed into the controls at attachment,
// after a preset load and on refresh, and the editor's ownership.

#include <gtest/gtest.h>

#include "LICE_IBitmap.h"
#include "RecordingControl.h"
#include "TestGraphics.h"
#include "TestPlug.h"

namespace
{
// Reports its destruction through a flag the test owns.
class MortalControl : public RecordingControl
{
public:
  MortalControl(IPlugBase* plug, bool& destroyed)
    : RecordingControl(plug, IRectangle(0, 0, 10, 10), 0)
    , mDestroyed(destroyed)
  {
  }
  ~MortalControl() override { mDestroyed = true; }

private:
  bool& mDestroyed;
};
}  // namespace

TEST(IPlugBaseEditor, AttachPushesValuesAsDefaultsCreatesSurfacesAndOwnsTheEditor)
{
  bool destroyed = false;
  {
    TestPlug plug;
    plug.DefineIntegers();
    plug.GetParamRecord(2)->SetClamped(10.0);
    plug.GetParamRecord(3)->SetClamped(5.0);
    auto* editor = new TestGraphics(&plug, 40, 30);
    auto* bound = new RecordingControl(&plug, IRectangle(0, 0, 10, 10), 2);
    auto* linked = new RecordingControl(&plug, IRectangle(10, 0, 20, 10), 5);
    ASSERT_TRUE(linked->AddLinkedParam(3));
    auto* unbound = new RecordingControl(&plug, IRectangle(20, 0, 30, 10));
    editor->AddControl(bound);
    editor->AddControl(linked);
    editor->AddControl(unbound);
    editor->AddControl(new MortalControl(&plug, destroyed));
    EXPECT_EQ(editor->GetDrawBitmap(), nullptr);

    plug.AttachEditor(editor);
    EXPECT_EQ(plug.GetGUI(), editor);
    // The first value a control receives is also its default.
    EXPECT_EQ(bound->GetValue(), 0.5);
    EXPECT_EQ(bound->GetDefaultValue(), 0.5);
    EXPECT_EQ(linked->GetValue(), 0.3);
    EXPECT_EQ(linked->GetLinkedValue(0), 0.25);
    EXPECT_LT(unbound->GetDefaultValue(), 0.0);
    LICE_IBitmap* surface = editor->GetDrawBitmap();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->getWidth(), 40);
    EXPECT_EQ(surface->getHeight(), 30);

    plug.AttachEditor(nullptr);
    EXPECT_EQ(plug.GetGUI(), editor);
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);
}

TEST(IPlugBaseEditor, PresetLoadAndRefreshShowCurrentValues)
{
  TestPlug plug(9, "2-2", 2);
  plug.DefineIntegers();
  plug.CaptureDefaultPreset();
  auto* editor = new TestGraphics(&plug, 40, 30);
  auto* control = new RecordingControl(&plug, IRectangle(0, 0, 10, 10), 4);
  editor->AddControl(control);
  plug.AttachEditor(editor);
  EXPECT_EQ(control->GetValue(), 0.3);

  // Refreshing normalises the plain value, clamped into the range.
  plug.GetParamRecord(4)->SetClamped(15.0);
  plug.RefreshParamControls();
  EXPECT_EQ(control->GetValue(), 0.75);
  EXPECT_TRUE(control->IsDirty());

  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(control->GetValue(), 0.3);
  // A refused load refreshes nothing; capturing an empty slot refreshes the same values.
  plug.GetParamRecord(4)->SetClamped(20.0);
  EXPECT_FALSE(plug.LoadPreset(2));
  EXPECT_EQ(control->GetValue(), 0.3);
  EXPECT_TRUE(plug.LoadPreset(1));
  EXPECT_EQ(control->GetValue(), 1.0);
}
