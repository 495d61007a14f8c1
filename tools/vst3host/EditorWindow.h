#pragma once

// A host window holding a plug-in's editor view, as a Windows DAW shows one: a top-level
// window whose client area has the view's size, the view from createView ("editor") with
// the host's frame, attached to the window as "HWND"; a message pump for this thread; the
// pixels of the client area as they are on screen; and mouse messages posted to the
// editor's own child window. Closing removes the view, releases it and destroys the
// window. Windows only; everything runs on the thread that opened it.

#include "tools/vst3host/PlugFrame.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace mero
{

class EditorWindow
{
public:
  EditorWindow() = default;
  ~EditorWindow();
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  // Creates the view, checks that it takes "HWND", gives it the frame, asks its size,
  // opens a window with that client size at screen position (x, y) and attaches the view.
  // False (and nothing left open) when any of these fails.
  bool Open(Steinberg::Vst::IEditController* controller, int x, int y);
  // The step at which the last Open failed, or null.
  const char* Failure() const { return mFailure; }
  // removed () and attached () again on the same view and window; their results.
  Steinberg::tresult Remove();
  Steinberg::tresult Attach();
  void Close();
  bool IsOpen() const { return mWindow != nullptr; }

  // Dispatches this thread's messages for the given time; then every message still queued.
  void Pump(int milliseconds);

  // The client area, width x height RGBA pixels (alpha 255), row 0 at the top.
  bool Capture(std::vector<uint8_t>& rgba, int& width, int& height) const;

  // The editor's child window ("IPlugWndClass") inside the host window, or null.
  HWND EditorChild() const;
  // Posts a mouse message at editor position (x, y) with the MK_ key flags to the editor's
  // child window; false when there is none.
  bool PostMouse(UINT message, WPARAM keys, int x, int y) const;

  HWND Window() const { return mWindow; }
  Steinberg::IPlugView* View() const { return mView; }
  const Steinberg::ViewRect& ViewSize() const { return mSize; }
  PlugFrame& Frame() { return *mFrame; }

private:
  const char* OpenSteps(Steinberg::Vst::IEditController* controller, int x, int y);
  bool CreateHostWindow(int x, int y);

  Steinberg::IPlugView* mView = nullptr;
  Steinberg::IPtr<PlugFrame> mFrame{new PlugFrame, false};
  Steinberg::ViewRect mSize;
  HWND mWindow = nullptr;
  bool mAttached = false;
  const char* mFailure = nullptr;
};

}  // namespace mero
