#include "vst3/IPlugVST3View.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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
  editor->SetScale(TotalScale());
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
  *size = SizeAt(CurrentScale());
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
  else if (newSize && Editor())
    TakeHostSize(*newSize);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::canResize()
{
  return Editor() ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::checkSizeConstraint(ViewRect* proposal)
{
  const IGraphics* editor = Editor();
  if (!editor) return kResultFalse;
  if (!proposal) return kInvalidArgument;
  const ViewRect size = SizeAt(static_cast<double>(SnappedHeight(*proposal)) / editor->Height());
  proposal->right = proposal->left + size.right;
  proposal->bottom = proposal->top + size.bottom;
  return kResultTrue;
}

tresult PLUGIN_API IPlugVST3View::setContentScaleFactor(ScaleFactor factor)
{
  if (!(factor > 0.0f) || !std::isfinite(factor)) return kInvalidArgument;
  mHostScale = factor;
  ShowAtScale();
  return kResultTrue;
}

double IPlugVST3View::ContentScale()
{
  if (mHostScale > 0.0) return mHostScale;
  if (!(mSystemScale > 0.0))
  {
    IGraphics* editor = Editor();
    const double system = editor ? editor->SystemContentScale() : 1.0;
    mSystemScale = system > 0.0 && std::isfinite(system) ? system : 1.0;
  }
  return mSystemScale;
}

double IPlugVST3View::TotalScale()
{
  return std::clamp(ContentScale() * mPlug->GetEditorSizeFactor(), IGraphics::kMinScale, IGraphics::kMaxScale);
}

double IPlugVST3View::CurrentScale()
{
  const IGraphics* editor = Editor();
  return ShowsEditor() && editor ? editor->GetScale() : TotalScale();
}

ViewRect IPlugVST3View::SizeAt(double scale) const
{
  const IGraphics* editor = Editor();
  if (!editor) return ViewRect();
  const IRectangle device = IGraphics::DeviceRect(IRectangle(0, 0, editor->Width(), editor->Height()), scale);
  return ViewRect(0, 0, device.R, device.B);
}

// Heights are compared with widths in the editor's proportions: a width change of dW
// counts as dW x height / width.
int IPlugVST3View::SnappedHeight(const ViewRect& proposal)
{
  const IGraphics* editor = Editor();
  const int logicalW = editor->Width(), logicalH = editor->Height();
  const int w = proposal.getWidth(), h = proposal.getHeight();
  int height = h;
  if (SizeAt(static_cast<double>(h) / logicalH).right != w)
  {
    const ViewRect now = SizeAt(CurrentScale());
    const double widthChange = std::abs(w - now.getWidth()) * static_cast<double>(logicalH) / logicalW;
    if (widthChange > std::abs(h - now.getHeight()))
      height = static_cast<int>(std::floor(static_cast<double>(w) * logicalH / logicalW + 0.5));
  }
  const int lowest = static_cast<int>(std::ceil(IGraphics::kMinScale * logicalH - 1e-9));
  const int highest = static_cast<int>(std::floor(IGraphics::kMaxScale * logicalH + 1e-9));
  return std::clamp(height, lowest, highest);
}

void IPlugVST3View::TakeHostSize(const ViewRect& size)
{
  const ViewRect now = SizeAt(CurrentScale());
  if (size.getWidth() == now.getWidth() && size.getHeight() == now.getHeight()) return;
  const double scale = static_cast<double>(SnappedHeight(size)) / Editor()->Height();
  mPlug->SetEditorSizeFactor(
      std::clamp(scale / ContentScale(), IPlugVST3::kMinEditorSizeFactor, IPlugVST3::kMaxEditorSizeFactor));
  if (ShowsEditor()) Editor()->SetScale(TotalScale());
}

void IPlugVST3View::ShowAtScale()
{
  IGraphics* editor = Editor();
  if (!editor || !ShowsEditor()) return;
  const ViewRect before = SizeAt(editor->GetScale());
  editor->SetScale(TotalScale());
  const ViewRect after = SizeAt(editor->GetScale());
  if (after.getWidth() != before.getWidth() || after.getHeight() != before.getHeight())
    RequestResize(after.getWidth(), after.getHeight());
}

bool IPlugVST3View::ShowsEditor() const
{
  return mPlug->mShowingView == this;
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
