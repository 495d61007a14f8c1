// MERO's editor in the test host on X11, acted on by another X client as a DAW's toolkit,
// a window manager or xkill acts on it: the windows resized by the host, the host window
// hidden and shown again, a DestroyNotify sent to the editor's window, the editor's own
// connection killed.

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "HostedEditorFixture.h"

namespace
{

constexpr int kPad = 6;

// The other client's connection, kept for the program.
Display* OtherClient()
{
  static Display* display = XOpenDisplay(nullptr);
  return display;
}

class EditorX11Test : public HostedEditorFixture
{
protected:
  void SetUp() override
  {
    HostedEditorFixture::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    ASSERT_NE(x, nullptr);
    host = static_cast<Window>(reinterpret_cast<uintptr_t>(session.window.HostWindowHandle()));
    editor = EditorWindowId();
    ASSERT_NE(editor, 0u);
    session.WaitForRedraw();
  }

  // The editor's window: the host window's only child.
  Window EditorWindowId() const
  {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(x, host, &root, &parent, &children, &count)) return 0;
    const Window child = count == 1 ? children[0] : 0;
    if (children) XFree(children);
    return child;
  }

  // What the other client asked is done; the host's loop has dispatched what followed.
  void Settle()
  {
    XSync(x, False);
    session.WaitForRedraw();
  }

  Display* x = OtherClient();
  Window host = 0;
  Window editor = 0;
};

// The host shrinks both windows, then makes them larger than the panel: the panel is whole
// at the top left and the rest is the panel's border colour.
TEST_F(EditorX11Test, AWindowWiderAndTallerThanThePanelIsPaintedWhole)
{
  for (auto [w, h] : {std::pair{200u, 300u}, {392u, 700u}})
  {
    XResizeWindow(x, host, w, h);
    XResizeWindow(x, editor, w, h);
    Settle();
  }
  std::vector<uint8_t> shown;
  int width = 0, height = 0;
  ASSERT_TRUE(session.window.Capture(shown, width, height));
  ASSERT_EQ(width, 392);
  ASSERT_EQ(height, 700);
  const std::vector<uint8_t> panel = oracle->Compose(defaults);
  const uint32_t border = oracle->BorderColour();
  int panelWrong = 0, borderWrong = 0;
  for (int y = 0; y < height; ++y)
    for (int px = 0; px < width; ++px)
    {
      const uint8_t* s = &shown[(static_cast<size_t>(y) * width + px) * 4];
      const uint32_t colour = static_cast<uint32_t>(s[0] << 16 | s[1] << 8 | s[2]);
      if (px < PanelOracle::kWidth && y < PanelOracle::kHeight)
      {
        const uint8_t* p = &panel[(static_cast<size_t>(y) * PanelOracle::kWidth + px) * 4];
        panelWrong += colour != static_cast<uint32_t>(p[0] << 16 | p[1] << 8 | p[2]);
      }
      else
        borderWrong += colour != border;
    }
  EXPECT_EQ(panelWrong, 0);
  EXPECT_EQ(borderWrong, 0) << "border colour " << std::hex << border;
}

// As a DAW hides the plug-in's window and shows it again.
TEST_F(EditorX11Test, HiddenAndShownAgainTheEditorShowsThePanel)
{
  XUnmapWindow(x, host);
  Settle();
  XMapRaised(x, host);
  Settle();
  EXPECT_TRUE(session.ShowsPanel(*oracle, defaults));
}

TEST_F(EditorX11Test, ADestroyNotifyFromAnotherClientLeavesTheEditorDrawing)
{
  XEvent event{};
  event.xdestroywindow.type = DestroyNotify;
  event.xdestroywindow.event = editor;
  event.xdestroywindow.window = editor;
  ASSERT_TRUE(XSendEvent(x, editor, False, StructureNotifyMask, &event));
  Settle();
  session.plugin.QueueParameter(kPad, 1.0);
  session.Process(SineBlock(0));
  session.WaitForRedraw();
  PanelOracle::Values expected = defaults;
  expected[kPad] = 1.0;
  EXPECT_TRUE(session.ShowsPanel(*oracle, expected));
}

// xkill on the editor's window: the server closes the editor's connection and takes its
// window; the host process lives on, the editor leaves the host's loop, the view closes and
// a new one works.
TEST_F(EditorX11Test, ABrokenConnectionStopsTheEditorAndNotTheHost)
{
  XKillClient(x, editor);
  Settle();
  EXPECT_FALSE(session.window.EditorChild());
  const mero::HostRunLoop& loop = session.window.Frame().RunLoop();
  EXPECT_EQ(loop.TimerCount(), 0u);
  EXPECT_EQ(loop.EventHandlerCount(), 0u);
  session.window.Close();

  ASSERT_TRUE(session.OpenEditor(0, 0)) << session.window.Failure();
  session.WaitForRedraw();
  EXPECT_TRUE(session.ShowsPanel(*oracle, defaults));
}

}  // namespace
