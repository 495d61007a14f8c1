// The binding's editor side in-process: createView and the view's life, the host's
// context menu and resize handshake, and host changes reaching the editor's controls
// (also while the audio thread automates and the UI thread draws).

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "IEditorRunLoop.h"
#include "IKnobMultiControl.h"
#include "LICE_pixel.h"
#include "RecordingControl.h"
#include "TestGraphics.h"
#include "public.sdk/source/common/memorystream.h"
#include "tools/vst3host/ComponentHandler.h"
#include "tools/vst3host/ParameterChanges.h"
#include "tools/vst3host/PlugFrame.h"
#include "vst3/IPlugVST3.h"
#include "vst3/IPlugVST3View.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr int kWidth = 60;
constexpr int kHeight = 40;

// The editor's one platform type here, and the other system's.
#if SMTG_OS_LINUX
const FIDString kEditorType = kPlatformTypeX11EmbedWindowID;
const FIDString kOtherType = kPlatformTypeHWND;
#else
const FIDString kEditorType = kPlatformTypeHWND;
const FIDString kOtherType = kPlatformTypeX11EmbedWindowID;
#endif

// Records the windows the view opens and closes; a window may be made to fail.
class WindowGraphics : public TestGraphics
{
public:
  using TestGraphics::TestGraphics;
  void* OpenWindow(void* parent) override
  {
    parents.push_back(parent);
    runLoops.push_back(GetRunLoop());
    if (failOpen || parent == refusedParent) return nullptr;
    return TestGraphics::OpenWindow(parent);
  }
  bool failOpen = false;
  const void* refusedParent = nullptr;
  std::vector<IEditorRunLoop*> runLoops;
  void CloseWindow() override
  {
    ++closes;
    TestGraphics::CloseWindow();
  }
  std::vector<void*> parents;
  int closes = 0;
};

// Three integer parameters 0..20 (default 6) and, unless told otherwise, an editor with
// a control for parameter 0 at (0, 0, 10, 10), one for parameter 1 at (10, 0, 20, 10)
// and one for parameter 1 that also shows parameter 2. The hooks are counted.
class EditorPlug : public IPlugVST3
{
public:
  explicit EditorPlug(bool withEditor = true)
    : IPlugVST3(3, "2-2", 1, "Editor", "", "Maker", 1, 1, 1, 1, false, false, 0)
  {
    for (int i = 0; i < NParams(); ++i) GetParamRecord(i)->DefineInteger("P", 6, 0, 20);
    CaptureDefaultPreset();
    if (!withEditor) return;
    editor = new WindowGraphics(this, kWidth, kHeight);
    controls[0] = new RecordingControl(this, IRectangle(0, 0, 10, 10), 0);
    controls[1] = new RecordingControl(this, IRectangle(10, 0, 20, 10), 1);
    controls[2] = new RecordingControl(this, IRectangle(20, 0, 30, 10), 1);
    controls[2]->AddLinkedParam(2);
    for (RecordingControl* c : controls) editor->AddControl(c);
    AttachEditor(editor);
  }

  void HandleParamChange(int index) override
  {
    IPlugVST3::HandleParamChange(index);
    changes.push_back(index);
  }
  void HandleEditorOpened() override { ++opened; }
  void HandleEditorClosed() override { ++closed; }
  void HandleEditorResized(const IRectangle& r) override { resized.push_back(r); }

  WindowGraphics* editor = nullptr;
  RecordingControl* controls[3] = {};
  std::vector<int> changes;
  int opened = 0;
  int closed = 0;
  std::vector<IRectangle> resized;
};

IPtr<IPlugView> CreateView(IPlugVST3* plug, FIDString name = ViewType::kEditor)
{
  return owned(plug->createView(name));
}

void ProcessChange(IPlugVST3* plug, ParamID id, double value)
{
  IPtr<mero::ParameterChanges> changes = owned(new mero::ParameterChanges);
  changes->Add(id, value);
  ProcessData data;
  data.inputParameterChanges = changes;
  ASSERT_EQ(plug->process(data), kResultOk);
}
}  // namespace

TEST(IPlugVST3Editor, CreatesAViewOnlyForTheEditorNameWhenAnEditorIsAttached)
{
  IPtr<EditorPlug> bare = owned(new EditorPlug(false));
  EXPECT_EQ(bare->createView(ViewType::kEditor), nullptr);

  IPtr<EditorPlug> plug = owned(new EditorPlug);
  for (FIDString name : {"Editor", "editor2", "edito", ""}) EXPECT_EQ(plug->createView(name), nullptr) << name;
  EXPECT_EQ(plug->createView(nullptr), nullptr);

  // The view holds one reference on the plug-in for its life.
  const uint32 before = plug->getRefCount();
  IPlugView* view = plug->createView(ViewType::kEditor);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(plug->getRefCount(), before + 1);
  {
    FUnknownPtr<IPlugView> asked(view);
    EXPECT_EQ(asked.getInterface(), view);
  }
  view->release();
  EXPECT_EQ(plug->getRefCount(), before);
}

TEST(IPlugVST3Editor, ViewAcceptsOnlyThePlatformsTypeAndOpensAFreshWindowOnEveryAttach)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  IPtr<IPlugView> view = CreateView(plug);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->isPlatformTypeSupported(kEditorType), kResultTrue);
  for (FIDString type :
       {kOtherType, "HWND2", "HWN", "hwnd", "X11EmbedWindowID2", "X11EmbedWindowI", "x11embedwindowid", "NSView", ""})
    EXPECT_EQ(view->isPlatformTypeSupported(type), kResultFalse) << type;
  EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
  EXPECT_EQ(view->canResize(), kResultTrue);
  ViewRect want(0, 0, 10, 10);
  EXPECT_EQ(view->checkSizeConstraint(&want), kResultTrue);
  EXPECT_EQ(want.right, 45);  // the smallest scale, 0.75
  EXPECT_EQ(want.bottom, 30);

  ViewRect size;
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.left, 0);
  EXPECT_EQ(size.top, 0);
  EXPECT_EQ(size.right, kWidth);
  EXPECT_EQ(size.bottom, kHeight);

  IPtr<mero::PlugFrame> frame = owned(new mero::PlugFrame);
  ASSERT_EQ(view->setFrame(frame), kResultOk);
  int parent = 0;
  // Another platform type opens no window. Windows counts the editor as opened all the
  // same; Linux reports the failure.
#if SMTG_OS_LINUX
  EXPECT_EQ(view->attached(&parent, "X11EmbedWindowID2"), kResultFalse);
  EXPECT_EQ(plug->opened, 0);
#else
  EXPECT_EQ(view->attached(&parent, "HWND2"), kResultOk);
  EXPECT_EQ(plug->opened, 1);
#endif
  EXPECT_TRUE(plug->editor->parents.empty());
  EXPECT_EQ(view->removed(), kResultOk);
  const int opened = plug->opened;
  EXPECT_EQ(plug->closed, opened);

  // removed () let go of the frame: the host gives it again before attaching.
  ASSERT_EQ(view->setFrame(frame), kResultOk);
  EXPECT_EQ(view->attached(&parent, kEditorType), kResultOk);
  ASSERT_EQ(plug->editor->parents.size(), 1u);
  EXPECT_EQ(plug->editor->parents[0], &parent);
  EXPECT_TRUE(plug->editor->IsWindowOpen());
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.right, kWidth);
  EXPECT_EQ(size.bottom, kHeight);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_FALSE(plug->editor->IsWindowOpen());

  // Attached again: a new window, with every control to be drawn afresh.
  plug->editor->Tick();
  EXPECT_FALSE(plug->controls[0]->IsDirty());
  ASSERT_EQ(view->setFrame(frame), kResultOk);
  EXPECT_EQ(view->attached(&parent, kEditorType), kResultOk);
  EXPECT_EQ(plug->editor->parents.size(), 2u);
  EXPECT_TRUE(plug->editor->IsWindowOpen());
  EXPECT_TRUE(plug->controls[0]->IsDirty());
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(plug->opened, opened + 2);
  EXPECT_EQ(plug->closed, plug->opened);
  EXPECT_EQ(plug->editor->closes, 2);
  EXPECT_EQ(view->onSize(nullptr), kResultOk);
}

#if SMTG_OS_LINUX
// The editor runs in the host's loop: the window opens only with the frame's run loop,
// which the editor has from before OpenWindow until after CloseWindow, and a window
// that cannot open is reported.
TEST(IPlugVST3Editor, LinuxAttachNeedsTheFramesRunLoopAndAWindow)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  IPtr<IPlugView> view = CreateView(plug);
  int parent = 0;
  EXPECT_EQ(view->attached(&parent, kEditorType), kResultFalse);  // no frame
  EXPECT_TRUE(plug->editor->parents.empty());
  EXPECT_EQ(plug->opened, 0);

  IPtr<mero::PlugFrame> frame = owned(new mero::PlugFrame);
  view->setFrame(frame);
  plug->editor->failOpen = true;
  EXPECT_EQ(view->attached(&parent, kEditorType), kResultFalse);
  EXPECT_EQ(plug->opened, 0);
  EXPECT_EQ(plug->editor->GetRunLoop(), nullptr);

  plug->editor->failOpen = false;
  EXPECT_EQ(view->attached(&parent, kEditorType), kResultOk);
  ASSERT_EQ(plug->editor->runLoops.size(), 2u);
  EXPECT_NE(plug->editor->runLoops[1], nullptr);
  EXPECT_EQ(plug->editor->GetRunLoop(), plug->editor->runLoops[1]);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(plug->editor->GetRunLoop(), nullptr);
  EXPECT_EQ(plug->opened, 1);
}
#endif

TEST(IPlugVST3Editor, ViewOfAPlugInWithoutEditorRefusesEverything)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug(false));
  IPtr<IPlugVST3View> view = owned(new IPlugVST3View(plug));
  ViewRect size;
  int parent = 0;
  EXPECT_EQ(view->isPlatformTypeSupported(kEditorType), kResultFalse);
  EXPECT_EQ(view->attached(&parent, kEditorType), kResultFalse);
  EXPECT_EQ(view->getSize(&size), kResultFalse);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(plug->opened + plug->closed, 0);
}

TEST(IPlugVST3Editor, ResizeRequestReachesTheFrameAndTheHookOnce)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  plug->ResizeEditor(80, 50);  // no view: nothing to ask
  IPtr<IPlugView> view = CreateView(plug);
  plug->ResizeEditor(80, 50);  // no frame yet
  IPtr<mero::PlugFrame> frame = owned(new mero::PlugFrame);
  ASSERT_EQ(view->setFrame(frame), kResultOk);
  plug->ResizeEditor(80, 50);  // not attached: no view shows the editor
  EXPECT_TRUE(frame->Resizes().empty());
  int parent = 0;
  ASSERT_EQ(view->attached(&parent, kEditorType), kResultOk);
  plug->ResizeEditor(80, 50);
  ASSERT_EQ(frame->Resizes().size(), 1u);
  EXPECT_EQ(frame->Resizes()[0].right, 80);
  EXPECT_EQ(frame->Resizes()[0].bottom, 50);
  ASSERT_EQ(plug->resized.size(), 1u);
  EXPECT_EQ(plug->resized[0], IRectangle(0, 0, 80, 50));
  // A size change the plug-in did not ask for runs no hook.
  ViewRect other(0, 0, 90, 90);
  EXPECT_EQ(view->onSize(&other), kResultOk);
  EXPECT_EQ(plug->resized.size(), 1u);
}

ViewRect Snapped(IPlugView* view, int width, int height)
{
  ViewRect proposal(10, 20, 10 + width, 20 + height);
  EXPECT_EQ(view->checkSizeConstraint(&proposal), kResultTrue);
  return ViewRect(0, 0, proposal.getWidth(), proposal.getHeight());
}

::testing::AssertionResult Sized(const ViewRect& r, int width, int height)
{
  if (r.left == 0 && r.top == 0 && r.right == width && r.bottom == height) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

// The editor (60 x 40) is drawn at the host's content scale times the user's size factor:
// a new content scale while it shows asks the frame for the new size; a host's resize is
// snapped to the proportions and the range and becomes the size factor, which the next
// view starts from.
TEST(IPlugVST3Editor, ContentScaleAndHostResizesScaleTheEditorInItsProportions)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  IPtr<IPlugView> view = CreateView(plug);
  FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
  ASSERT_TRUE(scaling);
  EXPECT_EQ(scaling->setContentScaleFactor(0.0f), kInvalidArgument);
  EXPECT_EQ(scaling->setContentScaleFactor(NAN), kInvalidArgument);
  ASSERT_EQ(scaling->setContentScaleFactor(1.5f), kResultTrue);
  ViewRect size;
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_TRUE(Sized(size, 90, 60));
  IPtr<mero::PlugFrame> frame = owned(new mero::PlugFrame);
  ASSERT_EQ(view->setFrame(frame), kResultOk);
  int parent = 0;
  ASSERT_EQ(view->attached(&parent, kEditorType), kResultOk);
  EXPECT_EQ(plug->editor->GetScale(), 1.5);
  EXPECT_EQ(plug->editor->WindowWidth(), 90);
  EXPECT_TRUE(frame->Resizes().empty());

  ASSERT_EQ(scaling->setContentScaleFactor(2.0f), kResultTrue);
  ASSERT_EQ(frame->Resizes().size(), 1u);
  EXPECT_TRUE(Sized(frame->Resizes()[0], 120, 80));
  EXPECT_EQ(plug->editor->GetScale(), 2.0);

  EXPECT_TRUE(Sized(Snapped(view, 150, 80), 150, 100));  // the width changed more
  EXPECT_TRUE(Sized(Snapped(view, 130, 100), 150, 100));
  EXPECT_TRUE(Sized(Snapped(view, 1000, 1000), 180, 120));  // at most 3
  EXPECT_TRUE(Sized(Snapped(view, 96, 64), 96, 64));        // already in proportion
  ViewRect hostSize(0, 0, 96, 70);
  EXPECT_EQ(view->onSize(&hostSize), kResultOk);
  EXPECT_EQ(plug->editor->GetScale(), 1.6);
  EXPECT_EQ(plug->GetEditorSizeFactor(), 0.8);
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_TRUE(Sized(size, 96, 64));
  EXPECT_EQ(frame->Resizes().size(), 1u);
  ASSERT_EQ(plug->resized.size(), 1u);  // the one the plug-in asked for

  ASSERT_EQ(view->removed(), kResultOk);
  IPtr<IPlugView> next = CreateView(plug);
  ASSERT_EQ(FUnknownPtr<IPlugViewContentScaleSupport>(next)->setContentScaleFactor(1.0f), kResultTrue);
  ASSERT_EQ(next->getSize(&size), kResultOk);
  EXPECT_TRUE(Sized(size, 48, 32));
}

TEST(IPlugVST3Editor, RightClickOpensTheHostMenuForThatParameter)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  using Kind = mero::ComponentHandler::Kind;
  IPtr<mero::ComponentHandler> handler = owned(new mero::ComponentHandler);
  ASSERT_EQ(plug->setComponentHandler(handler), kResultTrue);
  IMouseModifiers right;
  right.R = true;
  plug->editor->OnMouseDown(12, 3, right);  // no view open: no menu
  EXPECT_TRUE(handler->Calls().empty());

  IPtr<IPlugView> view = CreateView(plug);
  IPtr<mero::PlugFrame> frame = owned(new mero::PlugFrame);
  view->setFrame(frame);
  plug->editor->OnMouseDown(12, 3, right);  // not attached: no menu
  EXPECT_TRUE(handler->Calls().empty());
  int parent = 0;
  ASSERT_EQ(view->attached(&parent, kEditorType), kResultOk);
  plug->editor->OnMouseDown(12, 3, right);
  const auto requests = handler->CallsOf(Kind::kContextMenu);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].view, view.get());
  EXPECT_TRUE(requests[0].hasParam);
  EXPECT_EQ(requests[0].id, 1u);
  const auto popups = handler->CallsOf(Kind::kMenuPopup);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].x, 12);
  EXPECT_EQ(popups[0].y, 3);
  EXPECT_EQ(handler->LiveMenus(), 0);  // released by the plug-in
  EXPECT_TRUE(plug->controls[1]->events.empty());

  // A host that gives no menu; then no view any more.
  handler->OfferMenus(false);
  plug->editor->OnMouseDown(12, 3, right);
  EXPECT_EQ(handler->CallsOf(Kind::kContextMenu).size(), 2u);
  EXPECT_EQ(handler->CallsOf(Kind::kMenuPopup).size(), 1u);
  handler->OfferMenus(true);
  view = nullptr;
  plug->editor->OnMouseDown(12, 3, right);
  EXPECT_EQ(handler->CallsOf(Kind::kContextMenu).size(), 2u);
  plug->terminate();  // releases the handler
}

// Several views of one instance, as hosts use them: the one attached last shows the
// editor (its window, its run loop, its context menus); what the others do, including a
// failed attach, changes nothing for it; when it goes, the view attached before takes
// the editor back.
TEST(IPlugVST3Editor, TheViewAttachedLastShowsTheEditorWhateverTheOthersDo)
{
  using Kind = mero::ComponentHandler::Kind;
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  IPtr<mero::ComponentHandler> handler = owned(new mero::ComponentHandler);
  plug->setComponentHandler(handler);
  WindowGraphics* editor = plug->editor;
  IPtr<mero::PlugFrame> frame = owned(new mero::PlugFrame);
  IPtr<IPlugView> first = CreateView(plug);
  IPtr<IPlugView> second = CreateView(plug);
  int firstParent = 0, secondParent = 0, otherParent = 0;
  first->setFrame(frame);
  second->setFrame(frame);
  ASSERT_EQ(first->attached(&firstParent, kEditorType), kResultOk);
  ASSERT_EQ(second->attached(&secondParent, kEditorType), kResultOk);
  const IEditorRunLoop* secondLoop = editor->GetRunLoop();
#if SMTG_OS_LINUX
  ASSERT_NE(secondLoop, nullptr);
  EXPECT_NE(secondLoop, editor->runLoops.front());
#endif
  auto shownIn = [&](const int* parent, const IEditorRunLoop* loop)
  { return editor->IsWindowOpen() && editor->parents.back() == parent && editor->GetRunLoop() == loop; };
  EXPECT_TRUE(shownIn(&secondParent, secondLoop));
  EXPECT_EQ(editor->closes, 1);  // the first view's window

  // A third view whose window cannot be made, then removed and released.
  {
    IPtr<IPlugView> third = CreateView(plug);
    third->setFrame(frame);
    editor->refusedParent = &otherParent;
    third->attached(&otherParent, kEditorType);
    editor->refusedParent = nullptr;
    EXPECT_TRUE(shownIn(&secondParent, secondLoop));
    third->removed();
  }
  EXPECT_TRUE(shownIn(&secondParent, secondLoop));
  const size_t opens = editor->parents.size();
  const int closes = editor->closes;
  first->removed();
  first = nullptr;
  EXPECT_TRUE(shownIn(&secondParent, secondLoop));
  EXPECT_EQ(editor->parents.size(), opens);
  EXPECT_EQ(editor->closes, closes);

  IMouseModifiers right;
  right.R = true;
  editor->OnMouseDown(12, 3, right);
  auto menus = handler->CallsOf(Kind::kContextMenu);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].view, second.get());

  // A newer view takes the editor; when it goes, the second view shows it again.
  IPtr<IPlugView> newer = CreateView(plug);
  newer->setFrame(frame);
  ASSERT_EQ(newer->attached(&otherParent, kEditorType), kResultOk);
  EXPECT_TRUE(editor->IsWindowOpen());
  EXPECT_EQ(editor->parents.back(), &otherParent);
  editor->OnMouseDown(12, 3, right);
  menus = handler->CallsOf(Kind::kContextMenu);
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[1].view, newer.get());
  newer = nullptr;
  EXPECT_TRUE(shownIn(&secondParent, secondLoop));

  second->removed();
  EXPECT_FALSE(editor->IsWindowOpen());
  EXPECT_EQ(editor->GetRunLoop(), nullptr);
  EXPECT_EQ(plug->opened, plug->closed);
  editor->OnMouseDown(12, 3, right);
  EXPECT_EQ(handler->CallsOf(Kind::kContextMenu).size(), 2u);
  plug->terminate();
}

// However the view showing the editor goes away during a drag (removed, released, or
// another view attached), the host sees the gesture end and the editor drops the
// captured control; a view that does not show the editor ends nothing.
TEST(IPlugVST3Editor, AViewGoingAwayDuringADragEndsTheGesture)
{
  using Kind = mero::ComponentHandler::Kind;
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  IPtr<mero::ComponentHandler> handler = owned(new mero::ComponentHandler);
  plug->setComponentHandler(handler);
  WindowGraphics* editor = plug->editor;
  IPtr<mero::PlugFrame> frame = owned(new mero::PlugFrame);
  int parent = 0;
  IMouseModifiers left;
  left.L = true;
  enum class Away
  {
    kRemoved,
    kReleased,
    kReplaced
  };
  for (Away away : {Away::kRemoved, Away::kReleased, Away::kReplaced})
  {
    handler->ClearCalls();
    IPtr<IPlugView> bystander = CreateView(plug);
    IPtr<IPlugView> showing = CreateView(plug);
    bystander->setFrame(frame);
    showing->setFrame(frame);
    ASSERT_EQ(bystander->attached(&parent, kEditorType), kResultOk);
    ASSERT_EQ(showing->attached(&parent, kEditorType), kResultOk);
    editor->OnMouseDown(5, 5, left);
    editor->OnMouseDrag(5, 2, left);
    bystander->removed();
    bystander = nullptr;
    EXPECT_TRUE(handler->CallsOf(Kind::kEnd).empty());
    EXPECT_EQ(editor->GetMouseCapture(), 0);

    IPtr<IPlugView> replacement = CreateView(plug);
    replacement->setFrame(frame);
    if (away == Away::kRemoved) showing->removed();
    if (away == Away::kReleased) showing = nullptr;
    if (away == Away::kReplaced) replacement->attached(&parent, kEditorType);
    const auto ends = handler->CallsOf(Kind::kEnd);
    ASSERT_EQ(ends.size(), 1u) << static_cast<int>(away);
    EXPECT_EQ(ends[0].id, 0u);
    EXPECT_EQ(editor->GetMouseCapture(), -1);
    const size_t events = plug->controls[0]->events.size();
    editor->OnMouseDrag(5, 0, left);
    EXPECT_EQ(plug->controls[0]->events.size(), events);
    editor->OnMouseUp(5, 0, left);
    EXPECT_EQ(handler->CallsOf(Kind::kBegin).size(), handler->CallsOf(Kind::kEnd).size());
  }
  plug->terminate();
}

namespace
{
// A host frame that tells when it is destroyed.
class WatchedFrame : public mero::PlugFrame
{
public:
  explicit WatchedFrame(bool& destroyed)
    : mDestroyed(destroyed)
  {
  }
  ~WatchedFrame() override { mDestroyed = true; }

private:
  bool& mDestroyed;
};
}  // namespace

// The view keeps its frame alive from setFrame until setFrame (nullptr), removed or its
// destruction, so a host may let go of its own reference earlier.
TEST(IPlugVST3Editor, ViewHoldsItsFrameUntilItLetsGo)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  IPtr<IPlugView> view = CreateView(plug);
  bool destroyed = false;
  auto* frame = new WatchedFrame(destroyed);
  view->setFrame(frame);
  EXPECT_EQ(frame->getRefCount(), 2u);
  view->setFrame(nullptr);
  EXPECT_EQ(frame->getRefCount(), 1u);

  view->setFrame(frame);
  frame->release();  // the host's reference
  EXPECT_FALSE(destroyed);
  int parent = 0;
  ASSERT_EQ(view->attached(&parent, kEditorType), kResultOk);
  plug->ResizeEditor(kWidth, kHeight);  // through the frame, which answers with onSize
  EXPECT_EQ(plug->resized.size(), 1u);
  view->removed();
  EXPECT_TRUE(destroyed);

  destroyed = false;
  frame = new WatchedFrame(destroyed);
  view->setFrame(frame);
  frame->release();
  view = nullptr;
  EXPECT_TRUE(destroyed);
}

TEST(IPlugVST3Editor, EditorEditsReachTheHostAndTheChangeHandler)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  IPtr<mero::ComponentHandler> handler = owned(new mero::ComponentHandler);
  plug->setComponentHandler(handler);
  plug->changes.clear();
  plug->controls[0]->SetValueFromUser(0.75);
  const auto& calls = handler->Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].kind, mero::ComponentHandler::Kind::kPerform);
  EXPECT_EQ(calls[0].id, 0u);
  EXPECT_EQ(calls[0].value, 0.75);
  EXPECT_EQ(plug->changes, std::vector<int>{0});
  EXPECT_EQ(plug->GetParamRecord(0)->GetValue(), 15.0);
  plug->terminate();
}

TEST(IPlugVST3Editor, SteppedEditsReachTheHostStepped)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  IPtr<mero::ComponentHandler> handler = owned(new mero::ComponentHandler);
  plug->setComponentHandler(handler);
  plug->controls[0]->SetValueFromUser(0.419);  // 8.38 of 0 ... 20, which plays as 8
  ASSERT_EQ(handler->Calls().size(), 1u);
  EXPECT_EQ(plug->GetParamRecord(0)->GetValue(), 8.0);
  EXPECT_DOUBLE_EQ(handler->Calls()[0].value, 8.0 / 20.0);
  plug->terminate();
}

TEST(IPlugVST3Editor, HostAutomationAndStateReachTheControls)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  ASSERT_EQ(plug->initialize(nullptr), kResultOk);
  plug->editor->Tick();
  plug->changes.clear();

  // The host's normalised value as received, not the stepped parameter value.
  ProcessChange(plug, 1, 0.33);
  EXPECT_EQ(plug->controls[1]->GetValue(), 0.33);
  EXPECT_EQ(plug->controls[2]->GetValue(), 0.33);
  EXPECT_TRUE(plug->controls[1]->IsDirty());
  EXPECT_FALSE(plug->controls[0]->IsDirty());
  EXPECT_EQ(plug->changes, std::vector<int>{1});
  ProcessChange(plug, 2, 0.5);
  EXPECT_EQ(plug->controls[2]->GetLinkedValue(0), 0.5);
  // A value without a plain value leaves the parameter, and so its controls, as they were.
  ProcessChange(plug, 1, std::nan(""));
  EXPECT_EQ(plug->GetParamRecord(1)->GetValue(), 7.0);
  EXPECT_EQ(plug->controls[1]->GetValue(), 0.33);

  // A restored state shows the restored values.
  IPtr<MemoryStream> stream = owned(new MemoryStream);
  const double values[3] = {20.0, 5.0, 10.0};
  const int32 bypass = 0;
  stream->write(const_cast<double*>(values), sizeof(values), nullptr);
  stream->write(const_cast<int32*>(&bypass), sizeof(bypass), nullptr);
  stream->seek(0, IBStream::kIBSeekSet, nullptr);
  ASSERT_EQ(plug->setState(stream), kResultOk);
  EXPECT_EQ(plug->controls[0]->GetValue(), 1.0);
  EXPECT_EQ(plug->controls[1]->GetValue(), 0.25);
  EXPECT_EQ(plug->controls[2]->GetLinkedValue(0), 0.5);
  plug->terminate();
}

TEST(IPlugVST3Editor, HostControllerChangesReachTheControlsTheEffectAndTheState)
{
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  ASSERT_EQ(plug->initialize(nullptr), kResultOk);
  plug->editor->Tick();
  plug->changes.clear();
  ASSERT_EQ(plug->setParamNormalized(1, 0.5), kResultOk);
  EXPECT_EQ(plug->controls[1]->GetValue(), 0.5);
  EXPECT_EQ(plug->controls[2]->GetValue(), 0.5);
  EXPECT_TRUE(plug->controls[1]->IsDirty());
  EXPECT_EQ(plug->changes, std::vector<int>{1});
  IPtr<MemoryStream> stream = owned(new MemoryStream);
  ASSERT_EQ(plug->getState(stream), kResultOk);
  double values[3];
  std::memcpy(values, stream->getData(), sizeof(values));
  EXPECT_EQ(values[1], 10.0);
  // A host echoing an edit's step leaves the dragged control where the user put it.
  plug->controls[0]->SetValueFromUser(0.419);
  ASSERT_EQ(plug->setParamNormalized(0, 0.4), kResultOk);
  EXPECT_EQ(plug->controls[0]->GetValue(), 0.419);
  plug->terminate();
}

TEST(IPlugVST3EditorThreads, AutomationOnTheAudioThreadWhileTheEditorDraws)
{
  constexpr int kBlocks = 2000;
  constexpr int kFrames = 32;
  IPtr<EditorPlug> plug = owned(new EditorPlug);
  const int image = TestGraphics::UniqueImageId();
  plug->editor->AddImage(image, 4, 4 * 21, LICE_RGBA(10, 20, 30, 255));
  auto* knob = new IKnobMultiControl(plug, 30, 0, 0, plug->editor->LoadBitmapStrip(image, "knob.png", 21));
  plug->editor->AddControl(knob);
  ASSERT_EQ(plug->initialize(nullptr), kResultOk);
  SpeakerArrangement stereo = SpeakerArr::kStereo;
  ASSERT_EQ(plug->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
  ProcessSetup setup{kRealtime, kSample32, kFrames, 44100.0};
  ASSERT_EQ(plug->setupProcessing(setup), kResultOk);
  IPtr<IPlugView> view = CreateView(plug);
  IPtr<mero::PlugFrame> frame = owned(new mero::PlugFrame);
  view->setFrame(frame);
  int parent = 0;
  ASSERT_EQ(view->attached(&parent, kEditorType), kResultOk);

  std::atomic<bool> done{false};
  std::thread audio(
      [&]
      {
        std::vector<float> samples[2] = {std::vector<float>(kFrames, 0.5f), std::vector<float>(kFrames, 0.5f)};
        float* channels[2] = {samples[0].data(), samples[1].data()};
        AudioBusBuffers in, out;
        in.numChannels = out.numChannels = 2;
        in.channelBuffers32 = out.channelBuffers32 = channels;
        IPtr<mero::ParameterChanges> changes = owned(new mero::ParameterChanges);
        ProcessData data;
        data.numSamples = kFrames;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &in;
        data.outputs = &out;
        data.inputParameterChanges = changes;
        for (int block = 0; block < kBlocks; ++block)
        {
          changes->Clear();
          changes->Add(0, (block % 21) / 20.0);
          changes->Add(IPlugVST3::kBypassTag, block % 2);
          plug->process(data);
        }
        done = true;
      });

  // The UI thread: timer ticks drawing the dirty controls, and the host's queries.
  const IRectangle all(0, 0, kWidth, kHeight);
  bool valuesInRange = true;
  do
  {
    plug->editor->Tick();
    plug->editor->Draw(all);
    for (double v : {knob->GetValue(), plug->controls[0]->GetValue(), plug->getParamNormalized(0),
                     plug->getParamNormalized(IPlugVST3::kBypassTag)})
      valuesInRange = valuesInRange && v >= 0.0 && v <= 1.0;
  } while (!done);
  audio.join();

  EXPECT_TRUE(valuesInRange);
  const double last = ((kBlocks - 1) % 21) / 20.0;
  EXPECT_EQ(knob->GetValue(), last);
  EXPECT_EQ(plug->controls[0]->GetValue(), last);
  EXPECT_EQ(plug->getParamNormalized(0), last);
  EXPECT_EQ(plug->getParamNormalized(IPlugVST3::kBypassTag), 1.0);
  view->removed();
  plug->terminate();
}
