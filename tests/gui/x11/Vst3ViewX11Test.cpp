// The editor view on Linux with the X11 window layer: the handlers it registers with
// the host's run loop live exactly as long as the window, whichever way the view ends,
// and the X server's Xft.dpi scales the editor where the host tells no scale.

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "IGraphicsX11.h"
#include "RecordingControl.h"
#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "vst3/IPlugVST3.h"
#include "vst3/IPlugVST3View.h"
#include "X11ParentWindow.h"
#include "X11TestDisplay.h"

using namespace Steinberg;

namespace
{
// A host frame that offers its run loop and keeps what is registered with it.
class RunLoopFrame : public FObject, public IPlugFrame, public Linux::IRunLoop
{
public:
  tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) SMTG_OVERRIDE { return kResultFalse; }
  tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd) SMTG_OVERRIDE
  {
    if (!handler) return kInvalidArgument;
    readers.push_back({handler, fd});
    return kResultTrue;
  }
  tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) SMTG_OVERRIDE
  {
    const auto it = std::find_if(readers.begin(), readers.end(), [&](const Reader& r) { return r.handler == handler; });
    if (it == readers.end()) return kInvalidArgument;
    readers.erase(it);
    return kResultTrue;
  }
  tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval ms) SMTG_OVERRIDE
  {
    if (!handler) return kInvalidArgument;
    timers.push_back(handler);
    intervals.push_back(ms);
    return kResultTrue;
  }
  tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) SMTG_OVERRIDE
  {
    const auto it = std::find(timers.begin(), timers.end(), handler);
    if (it == timers.end()) return kInvalidArgument;
    timers.erase(it);
    return kResultTrue;
  }

  struct Reader
  {
    IPtr<Linux::IEventHandler> handler;
    Linux::FileDescriptor fd;
  };
  std::vector<IPtr<Linux::ITimerHandler>> timers;
  std::vector<Linux::TimerInterval> intervals;
  std::vector<Reader> readers;

  OBJ_METHODS(RunLoopFrame, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IPlugFrame)
  DEF_INTERFACE(Linux::IRunLoop)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)
};

// A frame without a run loop.
class BareFrame : public FObject, public IPlugFrame
{
public:
  tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) SMTG_OVERRIDE { return kResultFalse; }
  OBJ_METHODS(BareFrame, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IPlugFrame)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)
};

class X11Plug : public IPlugVST3
{
public:
  X11Plug()
    : IPlugVST3(1, "2-2", 1, "X11", "", "Maker", 1, 1, 1, 1, false, false, 0)
  {
    GetParamRecord(0)->DefineInteger("P", 6, 0, 20);
    CaptureDefaultPreset();
    editor = new IGraphicsX11(this, 40, 30, 25);
    control = new RecordingControl(this, IRectangle(0, 0, 40, 30), 0);
    editor->AddControl(control);
    AttachEditor(editor);
  }
  void HandleEditorOpened() override { ++opened; }

  IGraphicsX11* editor;
  RecordingControl* control;
  int opened = 0;
};

// The server's resources (the root window's RESOURCE_MANAGER) replaced for the object's
// life, as xrdb sets them.
class ServerResources
{
public:
  ServerResources(Display* display, const std::string& resources)
    : mDisplay(display)
    , mAtom(XInternAtom(display, "RESOURCE_MANAGER", False))
  {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* old = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), mAtom, 0, 1 << 20, False, XA_STRING, &type, &format,
                           &count, &after, &old) == Success &&
        old)
    {
      mOld.assign(reinterpret_cast<char*>(old), count);
      mHadOld = true;
      XFree(old);
    }
    Set(resources);
  }
  ~ServerResources()
  {
    if (mHadOld)
      Set(mOld);
    else
      XDeleteProperty(mDisplay, DefaultRootWindow(mDisplay), mAtom);
    XSync(mDisplay, False);
  }

private:
  void Set(const std::string& text)
  {
    XChangeProperty(mDisplay, DefaultRootWindow(mDisplay), mAtom, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    XSync(mDisplay, False);
  }

  Display* const mDisplay;
  const Atom mAtom;
  std::string mOld;
  bool mHadOld = false;
};

class X11View : public ::testing::Test
{
protected:
  void SetUp() override
  {
    MERO_REQUIRE_DISPLAY();
    mDisplay = X11TestDisplay();
    ASSERT_NE(mDisplay, nullptr) << "cannot connect to DISPLAY " << std::getenv("DISPLAY");
    mParent = std::make_unique<X11ParentWindow>(mDisplay, 50, 40);
  }
  void* Parent() const { return mParent->Handle(); }
  unsigned Children() const { return mParent->Children(); }

  Display* mDisplay = nullptr;
  std::unique_ptr<X11ParentWindow> mParent;
};
}  // namespace

TEST_F(X11View, HandlersLiveAsLongAsTheWindowWhicheverWayTheViewEnds)
{
  IPtr<X11Plug> plug = owned(new X11Plug);
  IPtr<RunLoopFrame> frame = owned(new RunLoopFrame);
  IPtr<IPlugView> view = owned(plug->createView("editor"));
  ASSERT_TRUE(view);

  EXPECT_EQ(view->attached(Parent(), kPlatformTypeX11EmbedWindowID), kResultFalse);  // no frame yet
  IPtr<BareFrame> bare = owned(new BareFrame);
  view->setFrame(bare);
  EXPECT_EQ(view->attached(Parent(), kPlatformTypeX11EmbedWindowID), kResultFalse);  // no run loop
  EXPECT_EQ(plug->opened, 0);
  EXPECT_EQ(Children(), 0u);

  view->setFrame(frame);
  EXPECT_EQ(view->attached(Parent(), kPlatformTypeHWND), kResultFalse);
  ASSERT_EQ(view->attached(Parent(), kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(plug->opened, 1);
  EXPECT_EQ(Children(), 1u);
  ASSERT_EQ(frame->timers.size(), 1u);
  EXPECT_EQ(frame->intervals[0], 40u);
  ASSERT_EQ(frame->readers.size(), 1u);

  // The host's timer draws (opening marked the control dirty).
  const int draws = plug->control->draws;
  frame->timers[0]->onTimer();
  EXPECT_EQ(plug->control->draws, draws + 1);

  // A handler the host still holds after removed calls nothing.
  IPtr<Linux::ITimerHandler> kept = frame->timers[0];
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_TRUE(frame->timers.empty());
  EXPECT_TRUE(frame->readers.empty());
  EXPECT_EQ(Children(), 0u);
  plug->control->MarkDirty(false);
  kept->onTimer();
  EXPECT_EQ(plug->control->draws, draws + 1);

  // Attached again (removed let go of the frame), then released by the host without removed.
  view->setFrame(frame);
  ASSERT_EQ(view->attached(Parent(), kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(frame->timers.size(), 1u);
  EXPECT_EQ(frame->readers.size(), 1u);
  view = nullptr;
  EXPECT_TRUE(frame->timers.empty());
  EXPECT_TRUE(frame->readers.empty());
  EXPECT_FALSE(plug->editor->IsWindowOpen());
  EXPECT_EQ(Children(), 0u);
}

TEST_F(X11View, AWindowThatCannotOpenIsReportedAndLeavesNothingRegistered)
{
  IPtr<X11Plug> plug = owned(new X11Plug);
  IPtr<RunLoopFrame> frame = owned(new RunLoopFrame);
  IPtr<IPlugView> view = owned(plug->createView("editor"));
  view->setFrame(frame);
  void* noWindow = reinterpret_cast<void*>(static_cast<uintptr_t>(0x7FFFFFF0));
  EXPECT_EQ(view->attached(noWindow, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_TRUE(frame->timers.empty());
  EXPECT_TRUE(frame->readers.empty());
  EXPECT_EQ(plug->opened, 0);
  EXPECT_EQ(plug->editor->GetRunLoop(), nullptr);
}

TEST_F(X11View, WithoutAHostScaleTheServersXftDpiScalesTheEditor)
{
  const ServerResources resources(mDisplay, "Xft.antialias:\t1\nXft.dpi:\t144\n");
  IPtr<X11Plug> plug = owned(new X11Plug);  // 40 x 30
  IPtr<RunLoopFrame> frame = owned(new RunLoopFrame);
  IPtr<IPlugView> view = owned(plug->createView("editor"));
  ViewRect size;
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.getWidth(), 60);
  EXPECT_EQ(size.getHeight(), 45);
  view->setFrame(frame);
  ASSERT_EQ(view->attached(Parent(), kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(plug->editor->GetScale(), 1.5);
  EXPECT_EQ(plug->editor->WindowWidth(), 60);

  // The host's scale, once told, wins.
  ASSERT_EQ(FUnknownPtr<IPlugViewContentScaleSupport>(view)->setContentScaleFactor(1.0f), kResultTrue);
  EXPECT_EQ(plug->editor->GetScale(), 1.0);
  EXPECT_EQ(view->removed(), kResultOk);
}
