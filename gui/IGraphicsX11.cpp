#include "IGraphicsX11.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "IControl.h"
#include "LICE_IBitmap.h"
#include "X11KeyMap.h"

namespace
{

// Xlib has one error handler and one I/O error handler per process, and both defaults
// end the process. While this layer talks to its own connection, errors of that
// connection are noted here instead, and a broken connection is left to the exit
// handler of the connection (IGraphicsX11::OnConnectionLost); for any other connection
// the handlers set before are called. When the trap ends they are back in place.
class X11ErrorTrap
{
public:
  explicit X11ErrorTrap(Display* display)
    : mOuterDisplay(sDisplay)
    , mOuterFailed(sFailed)
  {
    sDisplay = display;
    sFailed = false;
    mPrevious = XSetErrorHandler(Handle);
    if (mPrevious != Handle) sPrevious = mPrevious;
    mPreviousIO = XSetIOErrorHandler(HandleIO);
    if (mPreviousIO != HandleIO) sPreviousIO = mPreviousIO;
  }
  ~X11ErrorTrap()
  {
    XSetIOErrorHandler(mPreviousIO);
    XSetErrorHandler(mPrevious);
    sDisplay = mOuterDisplay;
    sFailed = mOuterFailed || sFailed;
  }
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  bool Failed() const { return sFailed; }

private:
  static int Handle(Display* display, XErrorEvent* error)
  {
    if (display == sDisplay)
    {
      sFailed = true;
      return 0;
    }
    return sPrevious ? sPrevious(display, error) : 0;
  }
  // Returning from it lets Xlib go on to the connection's exit handler.
  static int HandleIO(Display* display)
  {
    if (display == sDisplay) return 0;
    return sPreviousIO ? sPreviousIO(display) : 0;
  }

  static Display* sDisplay;
  static bool sFailed;
  static XErrorHandler sPrevious;
  static XIOErrorHandler sPreviousIO;
  Display* mOuterDisplay;
  bool mOuterFailed;
  XErrorHandler mPrevious = nullptr;
  XIOErrorHandler mPreviousIO = nullptr;
};

Display* X11ErrorTrap::sDisplay = nullptr;
bool X11ErrorTrap::sFailed = false;
XErrorHandler X11ErrorTrap::sPrevious = nullptr;
XIOErrorHandler X11ErrorTrap::sPreviousIO = nullptr;

constexpr long kEventMask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask | KeyReleaseMask |
                            ExposureMask | LeaveWindowMask | StructureNotifyMask;

// Buttons as X numbers them.
constexpr unsigned kLeft = Button1;
constexpr unsigned kMiddle = Button2;
constexpr unsigned kRight = Button3;
constexpr unsigned kWheelUp = Button4;
constexpr unsigned kWheelDown = Button5;

IMouseModifiers Modifiers(unsigned state)
{
  IMouseModifiers mod;
  mod.L = (state & Button1Mask) != 0;
  mod.R = (state & Button3Mask) != 0;
  mod.S = (state & ShiftMask) != 0;
  mod.C = (state & ControlMask) != 0;
  mod.A = (state & Mod1Mask) != 0;
  return mod;
}

unsigned ButtonMask(unsigned button)
{
  switch (button)
  {
    case kLeft:
      return Button1Mask;
    case kMiddle:
      return Button2Mask;
    case kRight:
      return Button3Mask;
    default:
      return 0;
  }
}

void ChannelLayout(unsigned long mask, int& shift, int& bits)
{
  shift = bits = 0;
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

uint32_t ScaleChannel(uint32_t value, int bits, int shift)
{
  const uint32_t scaled = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
  return scaled << shift;
}

bool NativeIsLittleEndian()
{
  const uint32_t one = 1;
  unsigned char first;
  std::memcpy(&first, &one, 1);
  return first == 1;
}

}  // namespace

IGraphicsX11::IGraphicsX11(IPlugBase* plug, int width, int height, int frameRate)
  : IGraphics(plug, width, height, frameRate)
{
}

IGraphicsX11::~IGraphicsX11()
{
  CloseWindow();
}

// ---- Window ----

void* IGraphicsX11::OpenWindow(void* parent)
{
  CloseWindow();
  SetAllControlsDirty();
  if (!GetRunLoop() || !parent) return nullptr;
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) return nullptr;
  XSetIOErrorExitHandler(mDisplay, OnConnectionLost, this);
  if (!CreateWindow(static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent))) || !Connected() || !Register())
  {
    CloseWindow();
    return nullptr;
  }
  return GetWindowHandle();
}

bool IGraphicsX11::CreateWindow(unsigned long parent)
{
  X11ErrorTrap trap(mDisplay);
  XSetWindowAttributes attributes = {};
  attributes.background_pixmap = None;
  // A host that resizes the window keeps what is drawn and exposes only what is new.
  attributes.bit_gravity = NorthWestGravity;
  attributes.event_mask = kEventMask;
  const Window window =
      XCreateWindow(mDisplay, parent, 0, 0, (unsigned)(WindowWidth() > 0 ? WindowWidth() : 1),
                    (unsigned)(WindowHeight() > 0 ? WindowHeight() : 1), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWBackPixmap | CWBitGravity | CWEventMask, &attributes);
  XSync(mDisplay, False);
  if (trap.Failed() || !window) return false;
  mWindow = window;
  mParent = parent;
  if (!ReadPixelFormat()) return false;
  mGC = XCreateGC(mDisplay, mWindow, 0, nullptr);
  XMapWindow(mDisplay, mWindow);
  XSync(mDisplay, False);
  SizePresentPixels();
  return mGC && !trap.Failed();
}

// TrueColor at 32 bits per pixel, so that a row of the draw bitmap becomes a row of
// the image one pixel for one.
bool IGraphicsX11::ReadPixelFormat()
{
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(mDisplay, mWindow, &attributes) || !attributes.visual) return false;
  const Visual* visual = attributes.visual;
  if (visual->c_class != TrueColor || (attributes.depth != 24 && attributes.depth != 32)) return false;
  int formats = 0;
  XPixmapFormatValues* values = XListPixmapFormats(mDisplay, &formats);
  bool wide = false;
  for (int i = 0; i < formats; ++i)
    if (values[i].depth == attributes.depth) wide = values[i].bits_per_pixel == 32;
  if (values) XFree(values);
  if (!wide) return false;

  PixelFormat format;
  format.depth = attributes.depth;
  format.masks[0] = visual->red_mask;
  format.masks[1] = visual->green_mask;
  format.masks[2] = visual->blue_mask;
  for (int c = 0; c < 3; ++c)
  {
    ChannelLayout(format.masks[c], format.shifts[c], format.bits[c]);
    if (format.bits[c] == 0 || format.shifts[c] + format.bits[c] > 32) return false;
  }
  const uint32_t colour = (uint32_t)(format.masks[0] | format.masks[1] | format.masks[2]);
  format.fill = format.depth == 32 ? ~colour : 0;
  format.direct = format.masks[0] == 0xFF0000 && format.masks[1] == 0xFF00 && format.masks[2] == 0xFF;
  mFormat = format;
  return true;
}

bool IGraphicsX11::Register()
{
  mLoop = GetRunLoop();
  const int interval = FrameRate() > 0 ? (int)(1000.0 / FrameRate()) : 1000;
  mTimerAdded = mLoop->AddTimer(this, interval);
  mReaderAdded = mTimerAdded && mLoop->AddReader(this, ConnectionNumber(mDisplay));
  return mReaderAdded;
}

void IGraphicsX11::Unregister()
{
  if (mLoop)
  {
    if (mTimerAdded) mLoop->RemoveTimer(this);
    if (mReaderAdded) mLoop->RemoveReader(this);
  }
  mLoop = nullptr;
  mTimerAdded = mReaderAdded = false;
}

void IGraphicsX11::CloseWindow()
{
  Unregister();
  if (!mDisplay) return;
  {
    X11ErrorTrap trap(mDisplay);
    // Of a broken connection only Xlib's memory is left to free.
    if (mGC) XFreeGC(mDisplay, mGC);
    if (!mConnectionLost)
    {
      if (mWindow) XDestroyWindow(mDisplay, mWindow);
      XSync(mDisplay, True);
    }
    XCloseDisplay(mDisplay);
  }
  mDisplay = nullptr;
  mConnectionLost = false;
  mGC = nullptr;
  mWindow = mParent = 0;
  mExposed = IRectangle();
  mCaptured = false;
  mLastPressButton = 0;
  mLastPressTime = 0;
}

void IGraphicsX11::Resize(int width, int height)
{
  if (width == Width() && height == Height()) return;
  IGraphics::Resize(width, height);
  ResizeWindow();
}

bool IGraphicsX11::SetScale(double scale)
{
  const double before = GetScale();
  if (!IGraphics::SetScale(scale)) return false;
  if (GetScale() != before) ResizeWindow();
  return true;
}

void IGraphicsX11::ResizeWindow()
{
  if (!Connected()) return;
  {
    X11ErrorTrap trap(mDisplay);
    const int width = WindowWidth(), height = WindowHeight();
    XResizeWindow(mDisplay, mWindow, (unsigned)(width > 0 ? width : 1), (unsigned)(height > 0 ? height : 1));
    SizePresentPixels();
    XFlush(mDisplay);
    AddExposed(IRectangle(0, 0, width, height));
  }
  StopIfDisconnected();
}

void IGraphicsX11::SizePresentPixels()
{
  const int width = WindowWidth(), height = WindowHeight();
  mPresentPixels.assign((size_t)(width > 0 ? width : 0) * (size_t)(height > 0 ? height : 0), 0);
}

double IGraphicsX11::SystemContentScale()
{
  Display* display = mDisplay && !mConnectionLost ? mDisplay : XOpenDisplay(nullptr);
  if (!display) return 1.0;
  double scale = 1.0;
  if (const char* resources = XResourceManagerString(display))
  {
    XrmInitialize();
    if (XrmDatabase database = XrmGetStringDatabase(resources))
    {
      char* type = nullptr;
      XrmValue value = {};
      if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
      {
        const double dpi = std::strtod(value.addr, nullptr);
        if (dpi > 0.0 && std::isfinite(dpi)) scale = dpi / 96.0;
      }
      XrmDestroyDatabase(database);
    }
  }
  if (display != mDisplay) XCloseDisplay(display);
  return scale;
}

// ---- A broken connection ----

// Called inside the Xlib call that found the connection broken, so only noted here.
void IGraphicsX11::OnConnectionLost(Display*, void* editor)
{
  static_cast<IGraphicsX11*>(editor)->mConnectionLost = true;
}

bool IGraphicsX11::Connected() const
{
  return mDisplay && !mConnectionLost;
}

// Once the connection has broken the window is gone with it and the run loop calls
// this editor no more; the display is left for CloseWindow.
void IGraphicsX11::StopIfDisconnected()
{
  if (!mDisplay || !mConnectionLost) return;
  mWindow = 0;
  Unregister();
}

// ---- Drawing ----

uint32_t IGraphicsX11::ToWindowPixel(uint32_t pixel) const
{
  if (mFormat.direct) return (pixel & 0xFFFFFF) | mFormat.fill;
  const uint32_t channels[3] = {(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF};
  uint32_t out = mFormat.fill;
  for (int c = 0; c < 3; ++c) out |= ScaleChannel(channels[c], mFormat.bits[c], mFormat.shifts[c]);
  return out;
}

bool IGraphicsX11::PresentToScreen(const IRectangle& r)
{
  LICE_IBitmap* bitmap = GetDrawBitmap();
  if (!Connected() || !mWindow || !bitmap || !bitmap->getBits()) return false;
  const int left = r.L > 0 ? r.L : 0, top = r.T > 0 ? r.T : 0;
  const int windowW = WindowWidth(), windowH = WindowHeight();
  int right = r.R < windowW ? r.R : windowW, bottom = r.B < windowH ? r.B : windowH;
  if (right > bitmap->getWidth()) right = bitmap->getWidth();
  if (bottom > bitmap->getHeight()) bottom = bitmap->getHeight();
  const int w = right - left, h = bottom - top;
  if (w <= 0 || h <= 0) return true;
  if (mPresentPixels.size() < (size_t)w * (size_t)h) return false;

  const int span = bitmap->getRowSpan();
  for (int y = 0; y < h; ++y)
  {
    const int row = bitmap->isFlipped() ? bitmap->getHeight() - 1 - (top + y) : top + y;
    const LICE_pixel* source = bitmap->getBits() + (size_t)row * (size_t)span + left;
    uint32_t* target = mPresentPixels.data() + (size_t)y * (size_t)w;
    for (int x = 0; x < w; ++x) target[x] = ToWindowPixel(source[x]);
  }

  XImage image = {};
  image.width = w;
  image.height = h;
  image.format = ZPixmap;
  image.data = reinterpret_cast<char*>(mPresentPixels.data());
  image.byte_order = NativeIsLittleEndian() ? LSBFirst : MSBFirst;
  image.bitmap_unit = 32;
  image.bitmap_bit_order = image.byte_order;
  image.bitmap_pad = 32;
  image.depth = mFormat.depth;
  image.bytes_per_line = w * 4;
  image.bits_per_pixel = 32;
  image.red_mask = mFormat.masks[0];
  image.green_mask = mFormat.masks[1];
  image.blue_mask = mFormat.masks[2];
  if (!XInitImage(&image)) return false;
  X11ErrorTrap trap(mDisplay);
  XPutImage(mDisplay, mWindow, mGC, &image, 0, 0, left, top, (unsigned)w, (unsigned)h);
  // On screen when the tick returns: a capture right after it sees this frame.
  XSync(mDisplay, False);
  return true;
}

void IGraphicsX11::AddExposed(const IRectangle& r)
{
  mExposed = mExposed.Union(r);
}

void IGraphicsX11::Repaint(IRectangle r)
{
  mExposed = IRectangle();
  if (r.Empty()) return;
  const IRectangle editor(0, 0, WindowWidth(), WindowHeight());
  if (r.Intersects(editor)) Draw(r.Intersect(editor));
  PaintBeyondEditor(r);
}

// The part of r to the right of and below the editor's area, where a host that makes
// the window larger sees the border colour.
void IGraphicsX11::PaintBeyondEditor(const IRectangle& r)
{
  const int right = r.L > WindowWidth() ? r.L : WindowWidth();
  const int bottom = r.T > WindowHeight() ? r.T : WindowHeight();
  const int belowEnd = r.R < right ? r.R : right;
  const bool wide = r.R > right, tall = r.B > bottom && belowEnd > r.L;
  if ((!wide && !tall) || !Connected() || !mWindow) return;
  X11ErrorTrap trap(mDisplay);
  XSetForeground(mDisplay, mGC, ToWindowPixel(BorderColor()));
  if (wide) XFillRectangle(mDisplay, mWindow, mGC, right, r.T, (unsigned)(r.R - right), (unsigned)(r.B - r.T));
  if (tall) XFillRectangle(mDisplay, mWindow, mGC, r.L, bottom, (unsigned)(belowEnd - r.L), (unsigned)(r.B - bottom));
  XSync(mDisplay, False);
}

void IGraphicsX11::OnTimer()
{
  if (!Connected()) return;
  ProcessEvents();
  if (Connected())
  {
    IRectangle dirty;
    CollectDirtyRect(dirty);
    Repaint(dirty.Union(mExposed));
  }
  StopIfDisconnected();
}

void IGraphicsX11::OnReadable(int)
{
  // Presenting may read further events into Xlib's queue, where the descriptor no
  // longer shows them.
  while (Connected())
  {
    ProcessEvents();
    if (Connected()) Repaint(mExposed);
    if (!Connected() || XEventsQueued(mDisplay, QueuedAlready) == 0) break;
  }
  StopIfDisconnected();
}

void IGraphicsX11::ProcessEvents()
{
  X11ErrorTrap trap(mDisplay);
  // XPending itself may find the connection broken.
  while (Connected() && XPending(mDisplay) > 0 && Connected())
  {
    XEvent event;
    XNextEvent(mDisplay, &event);
    HandleEvent(event);
  }
}

// ---- Events ----

void IGraphicsX11::HandleEvent(XEvent& event)
{
  if (event.xany.window != mWindow) return;
  switch (event.type)
  {
    case Expose:
      AddExposed(IRectangle(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                            event.xexpose.y + event.xexpose.height));
      break;
    case ButtonPress:
      OnButtonPress(event);
      break;
    case ButtonRelease:
      OnButtonRelease(event);
      break;
    case MotionNotify:
      OnMotion(event);
      break;
    case KeyPress:
      OnKeyPress(event);
      break;
    case KeyRelease:
      ForwardKey(event, KeyReleaseMask);
      break;
    case LeaveNotify:
      if (HandlesMouseOver())
      {
        for (int i = 0; i < NControls(); ++i) GetControl(i)->OnMouseOut();
        SetMouseOverIndex(-1);
      }
      break;
    case DestroyNotify:
      // The server's report that the window went with the host's: nothing of it is left
      // to destroy. One sent by another client is no such report.
      if (!event.xdestroywindow.send_event && event.xdestroywindow.window == mWindow) mWindow = 0;
      break;
    default:
      break;
  }
}

bool IGraphicsX11::IsDoubleClick(unsigned button, unsigned long time, int x, int y) const
{
  if (button != mLastPressButton || time == 0 || mLastPressTime == 0) return false;
  const uint32_t elapsed = (uint32_t)time - (uint32_t)mLastPressTime;
  const int dX = x - mLastPressX, dY = y - mLastPressY;
  return elapsed <= kDoubleClickMs && dX >= -kDoubleClickSlop && dX <= kDoubleClickSlop && dY >= -kDoubleClickSlop &&
         dY <= kDoubleClickSlop;
}

// As the Windows window gets WM_xBUTTONDOWN, or WM_LBUTTONDBLCLK for a left double
// click; a middle or right double click, which Windows gives the default handling,
// reaches no control either.
void IGraphicsX11::OnButtonPress(XEvent& event)
{
  const XButtonEvent& press = event.xbutton;
  if (press.button == kWheelUp || press.button == kWheelDown)
  {
    OnMouseWheel(press.x, press.y, Modifiers(press.state), press.button == kWheelUp ? 1 : -1);
    return;
  }
  if (press.button != kLeft && press.button != kMiddle && press.button != kRight) return;
  const IMouseModifiers mod = Modifiers(press.state | ButtonMask(press.button));
  if (IsDoubleClick(press.button, press.time, press.x, press.y))
  {
    mLastPressButton = 0;
    mLastPressTime = 0;
    if (press.button == kLeft && OnMouseDoubleClick(press.x, press.y, mod)) mCaptured = true;
    return;
  }
  mLastPressButton = press.button;
  mLastPressTime = press.time;
  mLastPressX = press.x;
  mLastPressY = press.y;
  TakeFocus();
  mCaptured = true;
  OnMouseDown(press.x, press.y, mod);
}

void IGraphicsX11::OnButtonRelease(XEvent& event)
{
  const XButtonEvent& release = event.xbutton;
  if (release.button != kLeft && release.button != kMiddle && release.button != kRight) return;
  mCaptured = false;
  OnMouseUp(release.x, release.y, Modifiers(release.state & ~ButtonMask(release.button)));
}

void IGraphicsX11::OnMotion(XEvent& event)
{
  const XMotionEvent& motion = event.xmotion;
  const IMouseModifiers mod = Modifiers(motion.state);
  if (mod.L || mod.R)
  {
    if (mCaptured) OnMouseDrag(motion.x, motion.y, mod);
    return;
  }
  OnMouseOver(motion.x, motion.y, mod);
}

void IGraphicsX11::OnKeyPress(XEvent& event)
{
  const int code = X11KeyMap::KeyCode(XLookupKeysym(&event.xkey, 0));
  if (code >= 0 && OnKeyDown(event.xkey.x, event.xkey.y, code)) return;
  ForwardKey(event, KeyPressMask);
}

// The host's window gets the keys the editor leaves, as the Windows window sends
// them to its root window.
void IGraphicsX11::ForwardKey(XEvent& event, long mask)
{
  if (!mParent) return;
  XEvent forwarded = event;
  forwarded.xkey.window = mParent;
  XSendEvent(mDisplay, mParent, True, mask, &forwarded);
  XFlush(mDisplay);
}

// A press gives the editor the keyboard, as SetFocus does on Windows; only a window
// on screen can have it.
void IGraphicsX11::TakeFocus()
{
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(mDisplay, mWindow, &attributes) || attributes.map_state != IsViewable) return;
  XSetInputFocus(mDisplay, mWindow, RevertToParent, CurrentTime);
}

// ---- Services the product's editor never calls ----
// They answer as the Windows layer does while no window is open: no menu (the mouse
// capture released first), no text entry, no dialog or message box, empty folder
// names and file name, no colour, no web address, no clipboard text.

void IGraphicsX11::CancelTextEntry() {}

int IGraphicsX11::ShowMessage(const char*, const char*, int)
{
  return 0;
}

IMenu* IGraphicsX11::ShowPopupMenu(IMenu*, const IRectangle&)
{
  ReleaseMouseCapture();
  return nullptr;
}

void IGraphicsX11::OpenTextEntry(IControl*, const ITextStyle&, const IRectangle&, const char*, IParamRecord*) {}

void IGraphicsX11::HostExecutableFolder(PlugString& out)
{
  out.Set("");
}

void IGraphicsX11::ModuleFolder(PlugString& out)
{
  out.Set("");
}

void IGraphicsX11::DesktopFolder(PlugString& out)
{
  out.Set("");
}

void IGraphicsX11::AppDataPath(PlugString& out, bool)
{
  out.Set("");
}

void IGraphicsX11::UserDataPath(PlugString& out)
{
  out.Set("");
}

void IGraphicsX11::ChooseFile(PlugString& file, int, PlugString&, const char*)
{
  file.Set("");
}

bool IGraphicsX11::PickColor(IArgbColor&, const char*)
{
  return false;
}

bool IGraphicsX11::OpenUrl(const char*, const char*, const char*, const char*)
{
  return false;
}

bool IGraphicsX11::ReadClipboardText(PlugString& out)
{
  out.Set("");
  return false;
}
