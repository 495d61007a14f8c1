#include "vst3/IPlugVST3View.h"

#include <cstring>

#include "IGraphics.h"
#include "IRectangle.h"
#include "vst3/IPlugVST3.h"
#if SMTG_OS_LINUX
#include <new>

#include "vst3/Vst3RunLoopLink.h"
#endif

using namespace Steinberg;

namespace
{
// The one platform type of the editor's window on this system.
bool IsEditorPlatformType(FIDString type)
{
#if SMTG_OS_LINUX
  return type && std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0;
#else
  return type && std::strcmp(type, kPlatformTypeHWND) == 0;
#endif
}

// Linux tells the host when attached made no window; Windows answers kResultOk.
#if SMTG_OS_LINUX
constexpr bool kReportsMissingWindow = true;
#else
constexpr bool kReportsMissingWindow = false;
#endif
}  // namespace

IPlugVST3View::IPlugVST3View(IPlugVST3* plug)
  : mPlug(plug)
{
  mPlug->addRef();
}

IPlugVST3View::~IPlugVST3View()
{
  EndAttach();
  mPlug->ForgetView(this);
  mFrame = nullptr;
  mPlug->release();
}

IGraphics* IPlugVST3View::Editor() const
{
  return IGraphics::Of(mPlug);
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type)
{
  if (!Editor()) return kResultFalse;
  return IsEditorPlatformType(type) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type)
{
  if (!Editor()) return kResultFalse;
  EndAttach();  // attached again without removed
  const bool shown = PrepareToShow(parent, type) && mPlug->ShowEditorIn(this);
  if (!shown)
  {
    Detach();
    if (kReportsMissingWindow) return kResultFalse;
  }
  mAttached = true;
  mPlug->HandleEditorOpened();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::removed()
{
  EndAttach();
  mFrame = nullptr;
  return CPluginView::removed();
}

void IPlugVST3View::EndAttach()
{
  if (!mAttached) return;
  mAttached = false;
  mPlug->HandleEditorClosed();
  Detach();
}

void IPlugVST3View::Detach()
{
  mShowable = false;
  mPlug->TakeEditorFrom(this);
  mParent = nullptr;
#if SMTG_OS_LINUX
  mRunLoopLink.reset();
#endif
}

bool IPlugVST3View::PrepareToShow(void* parent, FIDString type)
{
  if (!IsEditorPlatformType(type)) return false;
#if SMTG_OS_LINUX
  IPtr<Linux::IRunLoop> runLoop = Vst3RunLoopLink::RunLoopOf(mFrame);
  if (!runLoop) return false;
  mRunLoopLink.reset(new (std::nothrow) Vst3RunLoopLink(runLoop));
  if (!mRunLoopLink) return false;
#endif
  mParent = parent;
  mShowable = true;
  mAttachOrder = mPlug->NextAttachOrder();
  return true;
}

bool IPlugVST3View::OpenEditorWindow()
{
  IGraphics* editor = Editor();
#if SMTG_OS_LINUX
  editor->SetRunLoop(mRunLoopLink.get());
#endif
  if (editor->OpenWindow(mParent)) return true;
  CloseEditorWindow();
  return false;
}

void IPlugVST3View::CloseEditorWindow()
{
  IGraphics* editor = Editor();
  editor->EndMouseInteraction();
  editor->CloseWindow();
#if SMTG_OS_LINUX
  editor->SetRunLoop(nullptr);
#endif
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size)
{
  const IGraphics* editor = Editor();
  if (!editor) return kResultFalse;
  if (!size) return kInvalidArgument;
  *size = ViewRect(0, 0, editor->Width(), editor->Height());
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::onSize(ViewRect* newSize)
{
  if (newSize) rect = *newSize;
  if (mExpectingResize)
  {
    mExpectingResize = false;
    mPlug->HandleEditorResized(IRectangle(rect.left, rect.top, rect.right, rect.bottom));
  }
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::setFrame(IPlugFrame* frame)
{
  mFrame = frame;
  return kResultOk;
}

bool IPlugVST3View::RequestResize(int width, int height)
{
  if (!mFrame) return false;
  mExpectingResize = true;
  ViewRect size(0, 0, width, height);
  if (mFrame->resizeView(this, &size) == kResultOk) return true;
  // A refused resize brings no onSize of its own.
  mExpectingResize = false;
  return false;
}
