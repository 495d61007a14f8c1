#include "tools/vst3host/EditorWindow.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace mero
{

using namespace Steinberg;

bool EditorWindow::Open(Vst::IEditController* controller, int x, int y)
{
  Close();
  mFailure = OpenSteps(controller, x, y);
  if (mFailure) Close();
  return !mFailure;
}

const char* EditorWindow::OpenSteps(Vst::IEditController* controller, int x, int y)
{
  if (!controller) return "no controller";
  mView = controller->createView(Vst::ViewType::kEditor);
  if (!mView) return "createView (\"editor\") gave no view";
  if (mView->isPlatformTypeSupported(PlatformType()) != kResultTrue)
    return "the view does not take the platform's type";
  if (mContentScale > 0.0f && !TellContentScale()) return "the view does not take the content scale";
  if (mView->getSize(&mSize) != kResultOk) return "getSize failed";
  if (!CreateHostWindow(x, y)) return "the host window could not be created";
  if (Attach() != kResultOk) return "attached failed";
  return nullptr;
}

bool EditorWindow::SetContentScale(float factor)
{
  mContentScale = factor;
  return !mView || TellContentScale();
}

bool EditorWindow::TellContentScale()
{
  FUnknownPtr<IPlugViewContentScaleSupport> scaling(mView);
  return scaling && scaling->setContentScaleFactor(mContentScale) == kResultTrue;
}

bool EditorWindow::Resize(int width, int height)
{
  if (!mView || !mNative || mView->canResize() != kResultTrue) return false;
  ViewRect size(0, 0, width, height);
  if (mView->checkSizeConstraint(&size) != kResultTrue) return false;
  TakeSize(size);
  return mView->onSize(&size) == kResultOk;
}

void EditorWindow::TakeSize(const ViewRect& size)
{
  mSize = size;
  if (mNative) ResizeHostWindow(size.getWidth(), size.getHeight());
}

tresult EditorWindow::Attach()
{
  if (!mView || !mNative || mAttached) return kResultFalse;
  if (mView->setFrame(mFrame) != kResultOk) return kResultFalse;
  tresult result = mView->attached(HostWindowHandle(), PlatformType());
  mAttached = result == kResultOk;
  return result;
}

tresult EditorWindow::Remove()
{
  if (!mView || !mAttached) return kResultFalse;
  mAttached = false;
  const tresult result = mView->removed();
  mView->setFrame(nullptr);
  return result;
}

void EditorWindow::Close()
{
  if (mView)
  {
    Remove();
    mView->release();
    mView = nullptr;
  }
  if (mNative) DestroyHostWindow();
}

}  // namespace mero
