#pragma once

// The editor view the host receives from IPlugVST3::createView ("editor"): it shows the
// plug-in's editor inside the host's window at a scale, reports its size and completes
// the resize handshake the plug-in starts with ResizeEditor. The host's window
// is a Win32 handle ("HWND") on Windows and an X11 window id ("X11EmbedWindowID") on
// Linux, nothing else. On Linux the editor runs in the host's run loop, which the frame
// (setFrame) offers as Steinberg::Linux::IRunLoop.
//
// A plug-in has one editor and may have several views; the one attached last shows it
// (IPlugVST3 keeps that bookkeeping). A view that shows the editor owns the editor's
// window and, on Linux, its run-loop registrations; when it stops showing it (removed,
// released, or another view attached) the editor's open gesture ends and its window
// closes. The calls of a view that does not show the editor leave the editor alone.
// The view holds one reference on the plug-in for its whole life and one on its frame
// until setFrame (nullptr), removed or its destruction. All calls come on the host's UI
// thread.
//
// Scale: the editor is drawn at the host's content scale (setContentScaleFactor; where
// the host sets none, the display's, IGraphics::SystemContentScale) times the user's size
// factor (IPlugVST3::GetEditorSizeFactor), limited to IGraphics::kMinScale ...
// kMaxScale; its window, and getSize, are IGraphics::DeviceRect of the editor at that
// scale. The user resizes through the host: checkSizeConstraint snaps a proposal to
// the panel's aspect ratio and the scale range, and onSize takes the snapped size,
// sets the size factor to the new scale over the content scale and draws at it. A new
// scale of the view showing the editor draws the editor at it and asks the frame for
// the new size (resizeView).

#include <cstdint>
#include <memory>

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/common/pluginview.h"

class IGraphics;
class IPlugVST3;
class Vst3RunLoopLink;

class IPlugVST3View : public Steinberg::CPluginView, public Steinberg::IPlugViewContentScaleSupport
{
public:
  // Takes a reference on plug; the view's own count starts at 1 (the host's).
  explicit IPlugVST3View(IPlugVST3* plug);
  // Gives up the editor as removed does, then leaves the plug-in's list of views.
  ~IPlugVST3View() override;

  IPlugVST3View(const IPlugVST3View&) = delete;
  IPlugVST3View& operator=(const IPlugVST3View&) = delete;

  //---IPlugView
  // kResultTrue only for exactly the platform's type ("HWND" on Windows,
  // "X11EmbedWindowID" on Linux) and only when the plug-in has an editor.
  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) SMTG_OVERRIDE;
  // kResultFalse without an editor. For the platform's type the view takes the editor
  // from the view showing it and opens the editor's window as a child of parent; when
  // that window cannot be opened the editor goes back to the view attached before.
  // Windows: answers kResultOk and tells the plug-in the editor opened also for another
  // type (no window, the editor stays where it is) or a window that could not be made.
  // Linux: kResultFalse, with the editor left where it was, for another type, without a
  // frame that offers the run loop, or when the window cannot be opened.
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
  // After a successful attached, tells the plug-in the editor closed. A view showing
  // the editor gives it up (to the view attached most recently before it that is still
  // attached, which shows it again). Releases the frame.
  Steinberg::tresult PLUGIN_API removed() SMTG_OVERRIDE;
  // (0, 0) and the editor's device size at this view's scale; kResultFalse without an
  // editor.
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) SMTG_OVERRIDE;
  // Stores the new rectangle (when given). After a resize the plug-in asked for, runs
  // its HandleEditorResized; otherwise the host resized the view: a size other than the
  // current one is snapped as checkSizeConstraint snaps it and becomes the scale.
  // Always kResultOk.
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) SMTG_OVERRIDE;
  // kResultTrue with an editor.
  Steinberg::tresult PLUGIN_API canResize() SMTG_OVERRIDE;
  // Keeps the top-left corner and makes the size that of the editor at scale H / editor
  // height for a height H in the scale range: the proposal's own height when its width
  // is already that height's, otherwise the height of the side that changed more,
  // relative to the current size. kResultFalse without an editor.
  Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) SMTG_OVERRIDE;
  // Keeps a reference on frame (none for null), releasing the previous one.
  Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) SMTG_OVERRIDE;

  //---IPlugViewContentScaleSupport
  // kResultTrue, the factor becoming the content scale, for a finite factor above 0;
  // kInvalidArgument otherwise.
  Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) SMTG_OVERRIDE;

  // The plug-in's side of the resize handshake: marks the view as expecting a resize and
  // asks the host's frame to resize it to width x height. False without a frame.
  bool RequestResize(int width, int height);

  OBJ_METHODS(IPlugVST3View, CPluginView)
  DEFINE_INTERFACES
  DEF_INTERFACE(Steinberg::IPlugViewContentScaleSupport)
  END_DEFINE_INTERFACES(CPluginView)
  REFCOUNT_METHODS(CPluginView)

private:
  // IPlugVST3 moves the editor between its views with these.
  friend class IPlugVST3;

  // Attached with the platform's type and not removed since: the view can show the
  // editor. Later attaches have higher numbers.
  bool CanShowEditor() const { return mShowable; }
  uint64_t AttachOrder() const { return mAttachOrder; }
  // Opens the editor's window in this view's parent (on Linux with this view's run
  // loop); false, with nothing left open or registered, when it cannot.
  bool OpenEditorWindow();
  // Ends the editor's mouse interaction (an open gesture is ended) and closes its window
  // and run-loop registrations.
  void CloseEditorWindow();

  IGraphics* Editor() const;
  // The checks attached makes before it moves the editor. Linux: the run-loop link of
  // this attach is made here.
  bool PrepareToShow(void* parent, Steinberg::FIDString type);
  // The content scale times the size factor, limited to the editor's scale range.
  double TotalScale();
  // The host's content scale, else the display's (asked once).
  double ContentScale();
  // The editor's device size at scale.
  Steinberg::ViewRect SizeAt(double scale) const;
  // The scale the editor is drawn at in this view: its own while it shows it.
  double CurrentScale();
  int SnappedHeight(const Steinberg::ViewRect& proposal);
  // A host's resize to size.
  void TakeHostSize(const Steinberg::ViewRect& size);
  // While this view shows the editor: the editor drawn at TotalScale and, when its size
  // changed, the frame asked for it.
  void ShowAtScale();
  bool ShowsEditor() const;
  // The end of a successful attach: the plug-in told the editor closed, then Detach.
  void EndAttach();
  // The editor given up (when this view shows it), the run-loop link dropped.
  void Detach();

  IPlugVST3* mPlug;
  Steinberg::IPtr<Steinberg::IPlugFrame> mFrame;
  void* mParent = nullptr;
  bool mAttached = false;  // attached answered kResultOk and no removed since
  bool mShowable = false;
  uint64_t mAttachOrder = 0;
  bool mExpectingResize = false;
  double mHostScale = 0.0;    // 0: the host has set none
  double mSystemScale = 0.0;  // 0: not asked yet
#if SMTG_OS_LINUX
  std::unique_ptr<Vst3RunLoopLink> mRunLoopLink;
#endif
};
