#pragma once

// The editor view the host receives from IPlugVST3::createView ("editor"): it opens the
// plug-in's editor window inside the host's window (Win32 handles only), reports the
// editor's fixed size and completes the resize handshake the plug-in starts with
// ResizeEditor. The view holds one reference on the plug-in for its whole life; its
// destruction empties the plug-in's list of views. All calls come on the host's UI
// thread.

#include "public.sdk/source/common/pluginview.h"

class IPlugVST3;

class IPlugVST3View : public Steinberg::CPluginView
{
public:
  // Takes a reference on plug; the view's own count starts at 1 (the host's).
  explicit IPlugVST3View(IPlugVST3* plug);
  ~IPlugVST3View() override;

  IPlugVST3View(const IPlugVST3View&) = delete;
  IPlugVST3View& operator=(const IPlugVST3View&) = delete;

  //---IPlugView
  // kResultTrue only for exactly "HWND" and only when the plug-in has an editor.
  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) SMTG_OVERRIDE;
  // Opens the editor window as a child of parent for "HWND" (no window for another
  // type) and tells the plug-in the editor opened; kResultFalse without an editor.
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
  // Tells the plug-in the editor closed and closes the editor window.
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
  IPlugVST3* mPlug;
  bool mExpectingResize = false;
};
