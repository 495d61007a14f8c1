#include "vst3/IPlugVST3View.h"

#include <cstring>

#include "IGraphics.h"
#include "IRectangle.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;

IPlugVST3View::IPlugVST3View(IPlugVST3* plug)
  : mPlug(plug)
{
  mPlug->addRef();
}

IPlugVST3View::~IPlugVST3View()
{
  mPlug->mViews.clear();
  mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type)
{
  if (!mPlug->GetGUI()) return kResultFalse;
  return type && std::strcmp(type, kPlatformTypeHWND) == 0 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type)
{
  IGraphics* editor = mPlug->GetGUI();
  if (!editor) return kResultFalse;
  if (type && std::strcmp(type, kPlatformTypeHWND) == 0) editor->OpenWindow(parent);
  mPlug->HandleEditorOpened();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::removed()
{
  if (IGraphics* editor = mPlug->GetGUI())
  {
    mPlug->HandleEditorClosed();
    editor->CloseWindow();
  }
  return CPluginView::removed();
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size)
{
  const IGraphics* editor = mPlug->GetGUI();
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
