#pragma once

// A host window holding a plug-in's editor view, as a DAW shows one: a top-level window
// of the view's size at a given screen position, the view from createView ("editor") with
// the host's frame, attached to the window with the platform's type ("HWND" on Windows,
// "X11EmbedWindowID" on Linux); the host's event loop for this thread; the pixels of the
// window as they are on screen; and the user's gestures on the editor, at editor
// coordinates, delivered to the editor's own window and dispatched before the call returns.
// Closing removes the view, releases it and destroys the window. Everything runs on the
// thread that opened it.
//
// As a DAW on a scaled display, the host may tell the view a content scale
// (setContentScaleFactor) before it asks the view's size and attaches it, and again while
// it is open; it resizes its window to every size the view asks the frame for, and the
// user may resize the window (the view's canResize, checkSizeConstraint, then onSize).
//
// Windows: mouse messages posted to the editor's child window, the thread's message queue
// pumped. Linux (X11, $DISPLAY): an override-redirect window, the pointer and keyboard
// driven through XTest at screen coordinates, the frame's HostRunLoop pumped.

#include "tools/vst3host/PlugFrame.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace mero
{

class EditorWindow
{
public:
  enum class Button
  {
    kLeft,
    kRight
  };
  // Modifier keys held during a gesture (Keys{} : none).
  struct Keys
  {
    bool shift;
    bool control;
  };

  EditorWindow();
  ~EditorWindow();
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  // Creates the view, checks that it takes the platform's type, asks its size, opens a
  // window of that size at screen position (x, y) and attaches the view with the frame.
  // False (and nothing left open) when any of these fails.
  bool Open(Steinberg::Vst::IEditController* controller, int x, int y);
  // The step at which the last Open failed, or null.
  const char* Failure() const { return mFailure; }
  // removed () and attached () again on the same view and window; their results. As the
  // SDK's editor host does, the frame is given to the view before each attached () and
  // taken back after each removed ().
  Steinberg::tresult Remove();
  Steinberg::tresult Attach();
  void Close();
  bool IsOpen() const { return mView != nullptr; }

  // The content scale told the view from the next Open on (0: none, the default), and
  // at once to an open view; false when the view does not take it.
  bool SetContentScale(float factor);
  // The user resizes the host window to width x height: the size the view's
  // checkSizeConstraint makes of it becomes the window's and the view's (onSize). False,
  // changing nothing, when the view cannot be resized.
  bool Resize(int width, int height);

  // Runs this thread's event loop for the given time; then dispatches what is still ready.
  void Pump(int milliseconds);

  // The window's area, width x height RGBA pixels (alpha 255), row 0 at the top.
  bool Capture(std::vector<uint8_t>& rgba, int& width, int& height) const;

  // True when the editor's own window is inside the host window (and shown there); its
  // size when asked for.
  bool EditorChild(int* width = nullptr, int* height = nullptr) const;

  // The gestures; false when there is no editor window to take them.
  bool Press(Button button, int x, int y, Keys keys = {});
  // The pointer moved to (x, y), with the buttons pressed and not yet released.
  bool Move(int x, int y, Keys keys = {});
  bool Release(Button button, int x, int y, Keys keys = {});
  // Two left clicks in quick succession, as the platform reports them.
  bool DoubleClick(int x, int y, Keys keys = {});
  // Wheel detents at (x, y), positive away from the user.
  bool Wheel(int x, int y, int detents, Keys keys = {});

  // The host window as attached () takes it (an HWND, or an X window id); only while open.
  void* HostWindowHandle() const;
  Steinberg::IPlugView* View() const { return mView; }
  const Steinberg::ViewRect& ViewSize() const { return mSize; }
  PlugFrame& Frame() { return *mFrame; }

private:
  // The platform's window and input; it and the functions below are defined in
  // EditorWindowWin.cpp or EditorWindowX11.cpp, as are the constructor and destructor.
  class Native;
  static const char* PlatformType();
  // Makes mNative: the host window of the view's size at (x, y), shown; false on failure.
  bool CreateHostWindow(int x, int y);
  void DestroyHostWindow();
  // The host window's client area made width x height.
  void ResizeHostWindow(int width, int height);
  // The window and the view's recorded size take size.
  void TakeSize(const Steinberg::ViewRect& size);
  bool TellContentScale();

  const char* OpenSteps(Steinberg::Vst::IEditController* controller, int x, int y);

  Steinberg::IPlugView* mView = nullptr;
  Steinberg::IPtr<PlugFrame> mFrame{new PlugFrame, false};
  Steinberg::ViewRect mSize;
  std::unique_ptr<Native> mNative;
  bool mAttached = false;
  float mContentScale = 0.0f;
  const char* mFailure = nullptr;
};

}  // namespace mero
