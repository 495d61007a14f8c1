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
}  // namespace

IPlugVST3View::IPlugVST3View(IPlugVST3* plug)
  : mPlug(plug)
{
  mPlug->addRef();
}

IPlugVST3View::~IPlugVST3View()
{
  ReleaseRunLoop(true);
  mPlug->mViews.clear();
  mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type)
{
  if (!IGraphics::Of(mPlug)) return kResultFalse;
  return IsEditorPlatformType(type) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type)
{
  if (!IGraphics::Of(mPlug)) return kResultFalse;
  const tresult result = OpenEditorWindow(parent, type);
  if (result == kResultOk) mPlug->HandleEditorOpened();
  return result;
}

#if SMTG_OS_LINUX
tresult IPlugVST3View::OpenEditorWindow(void* parent, FIDString type)
{
  IGraphics* editor = IGraphics::Of(mPlug);
  if (!IsEditorPlatformType(type)) return kResultFalse;
  IPtr<Linux::IRunLoop> runLoop = Vst3RunLoopLink::RunLoopOf(plugFrame);
  if (!runLoop) return kResultFalse;
  ReleaseRunLoop(true);
  mRunLoopLink.reset(new (std::nothrow) Vst3RunLoopLink(runLoop));
  if (!mRunLoopLink) return kResultFalse;
  editor->SetRunLoop(mRunLoopLink.get());
  if (editor->OpenWindow(parent)) return kResultOk;
  ReleaseRunLoop(true);
  return kResultFalse;
}

void IPlugVST3View::ReleaseRunLoop(bool closeWindow)
{
  if (!mRunLoopLink) return;
  IGraphics* editor = IGraphics::Of(mPlug);
  if (editor && editor->GetRunLoop() == mRunLoopLink.get())
  {
    if (closeWindow) editor->CloseWindow();
    editor->SetRunLoop(nullptr);
  }
  mRunLoopLink.reset();
}
#else
tresult IPlugVST3View::OpenEditorWindow(void* parent, FIDString type)
{
  if (IsEditorPlatformType(type)) IGraphics::Of(mPlug)->OpenWindow(parent);
  return kResultOk;
}

void IPlugVST3View::ReleaseRunLoop(bool) {}
#endif

tresult PLUGIN_API IPlugVST3View::removed()
{
  if (IGraphics* editor = IGraphics::Of(mPlug))
  {
    mPlug->HandleEditorClosed();
    editor->CloseWindow();
  }
  ReleaseRunLoop(false);
  return CPluginView::removed();
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size)
{
  const IGraphics* editor = IGraphics::Of(mPlug);
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

bool IPlugVST3View::RequestResize(int width, int height)
{
  if (!plugFrame) return false;
  mExpectingResize = true;
  ViewRect size(0, 0, width, height);
  if (plugFrame->resizeView(this, &size) == kResultOk) return true;
  // A refused resize brings no onSize of its own.
  mExpectingResize = false;
  return false;
}
