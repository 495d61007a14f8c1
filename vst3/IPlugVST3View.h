#pragma once

// The editor view the host receives from IPlugVST3::createView ("editor"): it opens the
// plug-in's editor window inside the host's window, reports the editor's fixed size and
// completes the resize handshake the plug-in starts with ResizeEditor. The host's window
// is a Win32 handle ("HWND") on Windows and an X11 window id ("X11EmbedWindowID") on
// Linux, nothing else. On Linux the editor runs in the host's run loop, which the frame
// (setFrame) offers as Steinberg::Linux::IRunLoop: the view hands it to the editor while
// its window is open and unregisters everything at removed (or at its destruction).
// The view holds one reference on the plug-in for its whole life; its destruction
// empties the plug-in's list of views. All calls come on the host's UI thread.

#include <memory>

#include "public.sdk/source/common/pluginview.h"

class IPlugVST3;
class Vst3RunLoopLink;

class IPlugVST3View : public Steinberg::CPluginView
{
public:
  // Takes a reference on plug; the view's own count starts at 1 (the host's).
  explicit IPlugVST3View(IPlugVST3* plug);
  ~IPlugVST3View() override;

  IPlugVST3View(const IPlugVST3View&) = delete;
  IPlugVST3View& operator=(const IPlugVST3View&) = delete;

  //---IPlugView
  // kResultTrue only for exactly the platform's type ("HWND" on Windows,
  // "X11EmbedWindowID" on Linux) and only when the plug-in has an editor.
  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) SMTG_OVERRIDE;
  // kResultFalse without an editor. Windows: opens the editor window as a child of
  // parent for "HWND" (no window for another type), tells the plug-in the editor
  // opened and answers kResultOk, also when the window could not be made. Linux:
  // for "X11EmbedWindowID" with a frame that offers the run loop, opens the window as
  // a child of the X window parent and tells the plug-in; kResultFalse, with nothing
  // left open or registered, for another type, without a run loop or when the window
  // cannot be opened.
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
  // Tells the plug-in the editor closed and closes the editor window (on Linux, its
  // run-loop handlers first).
  Steinberg::tresult PLUGIN_API removed() SMTG_OVERRIDE;
  // (0, 0, editor width, editor height); kResultFalse without an editor.
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) SMTG_OVERRIDE;
  // Stores the new rectangle (when given) and, after a resize the plug-in asked for,
  // runs its HandleEditorResized. Always kResultOk.
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) SMTG_OVERRIDE;

  // The plug-in's side of the resize handshake: marks the view as expecting a resize and
  // asks the host's frame to resize it to width x height. False without a frame.
  bool RequestResize(int width, int height);

private:
  // Windows: always kResultOk. Linux: kResultFalse unless the window opened.
  Steinberg::tresult OpenEditorWindow(void* parent, Steinberg::FIDString type);
  // Linux: takes the editor off this view's run loop when it still runs in it (closing
  // its window first when asked) and drops the link.
  void ReleaseRunLoop(bool closeWindow);

  IPlugVST3* mPlug;
  bool mExpectingResize = false;
#if SMTG_OS_LINUX
  std::unique_ptr<Vst3RunLoopLink> mRunLoopLink;
#endif
};
