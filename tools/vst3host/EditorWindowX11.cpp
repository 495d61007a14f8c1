// EditorWindow on Linux: an override-redirect top-level X window of the view's size at a
// fixed screen position (no window manager moves or decorates it), the view attached as
// "X11EmbedWindowID" with the window's id, the frame's HostRunLoop as the event loop, and
// input made with XTest as a user makes it: the pointer moved to the screen position of
// the editor coordinates, buttons and modifier keys pressed and released there. After each
// event the host's requests are synchronised with the server, so that the event is in the
// editor's connection, and the run loop dispatches it.

#include "tools/vst3host/EditorWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <unistd.h>

namespace mero
{

using namespace Steinberg;

namespace
{

unsigned ButtonNumber(EditorWindow::Button button)
{
  return button == EditorWindow::Button::kLeft ? Button1 : Button3;
}

// The position of the lowest set bit of a colour mask, and the mask's width from there.
void MaskShape(unsigned long mask, int& shift, int& bits)
{
  shift = 0;
  bits = 0;
  if (!mask) return;
  while (!(mask & 1))
  {
    mask >>= 1;
    ++shift;
  }
  while (mask & 1)
  {
    mask >>= 1;
    ++bits;
  }
}

uint8_t Channel(unsigned long pixel, int shift, int bits)
{
  if (bits == 0) return 0;
  const unsigned long value = (pixel >> shift) & ((1ul << bits) - 1);
  return static_cast<uint8_t>(bits >= 8 ? value >> (bits - 8) : value * 255 / ((1ul << bits) - 1));
}

// The host's connection to the X server: one for the process, as a DAW's user interface
// has, opened with the first window and kept. An X server that resets when its last
// client leaves (Xvfb without -noreset) closes the connections made while it resets: kept
// open, this one stops it from resetting between one editor and the next; made while a
// reset after another program is under way, it is tried again for up to a second.
Display* HostDisplay()
{
  static Display* display = nullptr;
  for (int attempt = 0; !display && attempt < 40; ++attempt)
  {
    if (attempt > 0) usleep(25000);
    display = XOpenDisplay(nullptr);
  }
  return display;
}

}  // namespace

class EditorWindow::Native
{
public:
  Native(Display* display, Window window, HostRunLoop& loop)
    : display(display)
    , window(window)
    , loop(loop)
  {
  }
  ~Native()
  {
    SetKeys(Keys{});
    for (unsigned button : {Button1, Button3})
      if (buttons & (1u << button)) XTestFakeButtonEvent(display, button, False, CurrentTime);
    XDestroyWindow(display, window);
    XSync(display, False);
  }

  // The first viewable child of the host window: the editor's own window.
  Window Child(int* width = nullptr, int* height = nullptr) const
  {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    XSync(display, False);
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i)
    {
      XWindowAttributes attributes;
      if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable) continue;
      found = children[i];
      if (width) *width = attributes.width;
      if (height) *height = attributes.height;
    }
    if (children) XFree(children);
    return found;
  }

  // The pointer to editor position (x, y); false when there is no editor to take it.
  bool PointAt(int x, int y, const Keys& keys)
  {
    if (!Child()) return false;
    SetKeys(keys);
    XTestFakeMotionEvent(display, -1, originX + x, originY + y, CurrentTime);
    return true;
  }

  void PressButton(unsigned button, bool press)
  {
    XTestFakeButtonEvent(display, button, press ? True : False, CurrentTime);
    if (press)
      buttons |= 1u << button;
    else
      buttons &= ~(1u << button);
  }

  // Presses or releases Shift and Control so that exactly the given ones are held.
  void SetKeys(const Keys& keys)
  {
    SetKey(XK_Shift_L, keys.shift, held.shift);
    SetKey(XK_Control_L, keys.control, held.control);
  }

  // The server has every event made so far; the editor's handlers have run.
  void Deliver()
  {
    XSync(display, False);
    loop.Pump(0);
  }

  Display* const display;
  const Window window;
  HostRunLoop& loop;
  int originX = 0, originY = 0;  // the window's position on the screen
  unsigned buttons = 0;          // bit n: button n pressed and not released

private:
  void SetKey(KeySym symbol, bool wanted, bool& isHeld)
  {
    if (wanted == isHeld) return;
    const KeyCode code = XKeysymToKeycode(display, symbol);
    if (code) XTestFakeKeyEvent(display, code, wanted ? True : False, CurrentTime);
    isHeld = wanted;
  }

  Keys held{};
};

EditorWindow::EditorWindow()
{
  mFrame->SetResizeHandler([this](const ViewRect& size) { TakeSize(size); });
}

EditorWindow::~EditorWindow()
{
  Close();
  mFrame->SetResizeHandler(nullptr);
}

const char* EditorWindow::PlatformType()
{
  return kPlatformTypeX11EmbedWindowID;
}

bool EditorWindow::CreateHostWindow(int x, int y)
{
  Display* display = HostDisplay();
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!display || !XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) return false;
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
  const Window window =
      XCreateWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(mSize.getWidth()),
                    static_cast<unsigned>(mSize.getHeight()), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWBackPixel, &attributes);
  mNative.reset(new Native(display, window, mFrame->RunLoop()));
  XMapRaised(display, window);
  XSync(display, False);
  Window unused = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &mNative->originX, &mNative->originY,
                        &unused);
  XWindowAttributes shown;
  return XGetWindowAttributes(display, window, &shown) && shown.map_state == IsViewable;
}

void EditorWindow::ResizeHostWindow(int width, int height)
{
  XResizeWindow(mNative->display, mNative->window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(mNative->display, False);
}

void* EditorWindow::HostWindowHandle() const
{
  return reinterpret_cast<void*>(static_cast<uintptr_t>(mNative->window));
}

void EditorWindow::DestroyHostWindow()
{
  mNative.reset();
  mFrame->RunLoop().Pump(0);
}

void EditorWindow::Pump(int milliseconds)
{
  if (mNative) XSync(mNative->display, False);
  mFrame->RunLoop().Pump(milliseconds);
}

bool EditorWindow::Capture(std::vector<uint8_t>& rgba, int& width, int& height) const
{
  if (!mNative) return false;
  XWindowAttributes attributes;
  XSync(mNative->display, False);
  if (!XGetWindowAttributes(mNative->display, mNative->window, &attributes) || attributes.map_state != IsViewable)
    return false;
  width = attributes.width;
  height = attributes.height;
  XImage* image = XGetImage(mNative->display, mNative->window, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!image) return false;
  int shifts[3], bits[3];
  MaskShape(image->red_mask, shifts[0], bits[0]);
  MaskShape(image->green_mask, shifts[1], bits[1]);
  MaskShape(image->blue_mask, shifts[2], bits[2]);
  rgba.resize(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
    {
      const unsigned long pixel = XGetPixel(image, x, y);
      uint8_t* out = &rgba[(static_cast<size_t>(y) * width + x) * 4];
      for (int c = 0; c < 3; ++c) out[c] = Channel(pixel, shifts[c], bits[c]);
      out[3] = 255;
    }
  XDestroyImage(image);
  return true;
}

bool EditorWindow::EditorChild(int* width, int* height) const
{
  return mNative && mNative->Child(width, height) != 0;
}

bool EditorWindow::Press(Button button, int x, int y, Keys keys)
{
  if (!mNative || !mNative->PointAt(x, y, keys)) return false;
  mNative->PressButton(ButtonNumber(button), true);
  mNative->Deliver();
  return true;
}

bool EditorWindow::Move(int x, int y, Keys keys)
{
  if (!mNative || !mNative->PointAt(x, y, keys)) return false;
  mNative->Deliver();
  return true;
}

bool EditorWindow::Release(Button button, int x, int y, Keys keys)
{
  if (!mNative || !mNative->PointAt(x, y, keys)) return false;
  mNative->PressButton(ButtonNumber(button), false);
  if (!mNative->buttons) mNative->SetKeys(Keys{});
  mNative->Deliver();
  return true;
}

// X reports no double click: the editor sees two presses close in time and place.
bool EditorWindow::DoubleClick(int x, int y, Keys keys)
{
  for (int click = 0; click < 2; ++click)
    if (!Press(Button::kLeft, x, y, keys) || !Release(Button::kLeft, x, y, keys)) return false;
  return true;
}

// Buttons 4 (away from the user) and 5, one press and release per detent.
bool EditorWindow::Wheel(int x, int y, int detents, Keys keys)
{
  if (!mNative || !mNative->PointAt(x, y, keys)) return false;
  const unsigned button = detents > 0 ? Button4 : Button5;
  for (int i = 0; i < (detents > 0 ? detents : -detents); ++i)
  {
    mNative->PressButton(button, true);
    mNative->PressButton(button, false);
  }
  if (!mNative->buttons) mNative->SetKeys(Keys{});
  mNative->Deliver();
  return true;
}

}  // namespace mero
