#pragma once

#include <cstdint>
#include <vector>

#include "IEditorRunLoop.h"
#include "IGraphics.h"

struct _XDisplay;
struct _XGC;
union _XEvent;

// The X11 platform layer of the editor, in the role the Windows layer has there. At
// OpenWindow it opens its own connection to the X server ($DISPLAY) and makes the
// editor's child window at (0, 0) inside the host's window (an X window id passed as
// the parent pointer); CloseWindow destroys the window and closes the connection.
// The host's event loop (SetRunLoop, before OpenWindow) drives it: a timer at the
// frame rate redraws the dirty controls into the draw bitmap and puts the changed
// rectangle on the window, and the connection's descriptor brings the X events.
// Exposed areas are repainted on whichever of the two reads them; of a window the
// host makes larger than the editor, the part beyond the editor's area is filled with
// the border colour (IGraphics::SetBorderColor). X events become the IGraphics events the Windows layer makes: left,
// middle and right presses and releases, drags while a press holds the pointer, a
// left double click (a second left press within kDoubleClickMs by the events' server
// times and within kDoubleClickSlop pixels of the first), wheel detents from buttons
// 4 (up, +1) and 5 (down, -1), Shift and Control (and Alt as A), and the key table of
// X11KeyMap. Keys the editor does not take are sent on to the host's window. Events
// sent by other clients (XSendEvent) count as any other, except that only the server's
// own DestroyNotify ends the window; those without a time (0) never make a double
// click.
//
// A broken connection (the server gone, or the editor's client killed, as xkill does)
// ends the editor's drawing, not the process: during this layer's own Xlib calls the
// process-wide handlers leave its connection to the connection's own exit handler,
// and are the host's again after each call. The window is then gone, the timer and
// the descriptor leave the run loop, no further request is made on the connection,
// and CloseWindow frees what Xlib holds of it.
//
// The window is the editor's device size at its scale (SetScale resizes it); where the
// host tells no content scale, the display's is the X server's Xft.dpi resource over 96.
//
// The window needs a TrueColor visual of 32 bits per pixel (depth 24 or 32); the
// parent's is used. Images come from the image source the product hands in.
// Everything runs on the host's UI thread; nothing blocks, and the
// layer owns no thread.
class IGraphicsX11 : public IGraphics, public IEditorRunLoop::Client
{
public:
  static constexpr unsigned long kDoubleClickMs = 400;
  static constexpr int kDoubleClickSlop = 2;

  IGraphicsX11(IPlugBase* plug, int width, int height, int frameRate);
  // Closes the window.
  ~IGraphicsX11() override;

  // Copies r (clipped to the editor) from the draw bitmap to the window; false when
  // no window is open or there is no draw bitmap.
  bool PresentToScreen(const IRectangle& r) override;
  void Resize(int width, int height) override;
  bool SetScale(double scale) override;
  // Xft.dpi / 96 from the resources of the X server ($DISPLAY, or the window's
  // connection); 1 without a server or the resource.
  double SystemContentScale() override;
  bool IsWindowOpen() override { return mWindow != 0; }
  const char* GetApiName() override { return "X11"; }
  // The child window of the X window parent, its id as the result; null (nothing
  // left open or registered) without a run loop, without a display, when the loop
  // refuses the timer or the descriptor, for an unusable visual or a bad parent.
  // A window already open is closed first.
  void* OpenWindow(void* parent) override;
  // Removes the timer and the descriptor from the run loop, then destroys the window
  // and closes the connection.
  void CloseWindow() override;
  void* GetWindowHandle() override { return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)); }
  void ReservedHook27() override {}

  // Platform services this layer does not provide.
  void CancelTextEntry() override;
  int ShowMessage(const char* text, const char* caption, int type) override;
  IMenu* ShowPopupMenu(IMenu* menu, const IRectangle& r) override;
  void OpenTextEntry(IControl* control, const ITextStyle& style, const IRectangle& r, const char* text,
                     IParamRecord* param) override;
  void HostExecutableFolder(PlugString& out) override;
  void ModuleFolder(PlugString& out) override;
  void DesktopFolder(PlugString& out) override;
  void AppDataPath(PlugString& out, bool allUsers) override;
  void UserDataPath(PlugString& out) override;
  void ChooseFile(PlugString& file, int action, PlugString& folder, const char* extensions) override;
  bool PickColor(IArgbColor& color, const char* prompt) override;
  bool OpenUrl(const char* address, const char* title, const char* confirm, const char* failure) override;
  bool ReadClipboardText(PlugString& out) override;

  //---IEditorRunLoop::Client
  // The redraw check: pending events first, then the dirty union (with any exposed
  // area) drawn and presented.
  void OnTimer() override;
  // Handles every pending X event; exposed areas are repainted at once.
  void OnReadable(int fd) override;

private:
  struct PixelFormat
  {
    int depth = 0;
    unsigned long masks[3] = {};  // red, green, blue
    int shifts[3] = {};
    int bits[3] = {};
    uint32_t fill = 0;    // bits outside the colour masks (alpha of a depth-32 visual)
    bool direct = false;  // 0x00RRGGBB: the draw bitmap's pixels as they are
  };

  bool CreateWindow(unsigned long parent);
  // The window made the editor's device size, all of it to be painted again.
  void ResizeWindow();
  void SizePresentPixels();
  bool ReadPixelFormat();
  bool Register();
  void Unregister();
  static void OnConnectionLost(struct _XDisplay* display, void* editor);
  bool Connected() const;
  void StopIfDisconnected();
  void ProcessEvents();
  void HandleEvent(_XEvent& event);
  void OnButtonPress(_XEvent& event);
  void OnButtonRelease(_XEvent& event);
  void OnMotion(_XEvent& event);
  void OnKeyPress(_XEvent& event);
  void ForwardKey(_XEvent& event, long mask);
  void AddExposed(const IRectangle& r);
  // Draws and presents the part of r inside the editor, fills the rest.
  void Repaint(IRectangle r);
  void PaintBeyondEditor(const IRectangle& r);
  bool IsDoubleClick(unsigned button, unsigned long time, int x, int y) const;
  void TakeFocus();
  uint32_t ToWindowPixel(uint32_t pixel) const;

  struct _XDisplay* mDisplay = nullptr;
  unsigned long mWindow = 0;
  unsigned long mParent = 0;
  struct _XGC* mGC = nullptr;
  IEditorRunLoop* mLoop = nullptr;  // the loop the timer and descriptor are registered with
  bool mTimerAdded = false;
  bool mReaderAdded = false;
  bool mConnectionLost = false;  // set by the connection's exit handler
  PixelFormat mFormat;
  std::vector<uint32_t> mPresentPixels;
  IRectangle mExposed;
  bool mCaptured = false;
  unsigned mLastPressButton = 0;
  unsigned long mLastPressTime = 0;
  int mLastPressX = 0;
  int mLastPressY = 0;
};
