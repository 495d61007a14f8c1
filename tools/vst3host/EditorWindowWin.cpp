// EditorWindow on Windows: a popup window whose client area has the view's size, the
// view attached as "HWND", mouse messages posted to the editor's "IPlugWndClass" child.

#include "tools/vst3host/EditorWindow.h"

#include <windows.h>

namespace mero
{

using namespace Steinberg;

namespace
{

const wchar_t kHostWindowClass[] = L"MeroHostWindow";

// Registered once per process and kept: several host windows may be open at once.
bool RegisterHostWindowClass()
{
  static bool registered = false;
  if (registered) return true;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kHostWindowClass;
  registered = RegisterClassW(&windowClass) != 0;
  return registered;
}

void DispatchQueued()
{
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
  {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

WPARAM KeyFlags(const EditorWindow::Keys& keys)
{
  return (keys.shift ? MK_SHIFT : 0) | (keys.control ? MK_CONTROL : 0);
}

WPARAM ButtonFlag(EditorWindow::Button button)
{
  return button == EditorWindow::Button::kLeft ? MK_LBUTTON : MK_RBUTTON;
}

}  // namespace

class EditorWindow::Native
{
public:
  HWND window = nullptr;
  WPARAM buttons = 0;  // MK_ flags of the buttons pressed and not released

  HWND Child() const { return window ? FindWindowExW(window, nullptr, L"IPlugWndClass", nullptr) : nullptr; }

  // Posts the message to the editor's child window and dispatches the queue.
  bool Post(UINT message, WPARAM wParam, LPARAM lParam) const
  {
    HWND child = Child();
    if (!child || !PostMessageW(child, message, wParam, lParam)) return false;
    DispatchQueued();
    return true;
  }
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
  return kPlatformTypeHWND;
}

bool EditorWindow::CreateHostWindow(int x, int y)
{
  if (!RegisterHostWindowClass()) return false;
  // Shown without activation: a window that is never active is not handed to the X
  // window manager by wine, whose unmapping of managed windows waits up to two seconds
  // for a window manager that Xvfb does not have.
  const DWORD style = WS_POPUP;
  RECT bounds{0, 0, mSize.getWidth(), mSize.getHeight()};
  AdjustWindowRectEx(&bounds, style, FALSE, 0);
  HWND window = CreateWindowExW(0, kHostWindowClass, L"MERO", style, x, y, bounds.right - bounds.left,
                                bounds.bottom - bounds.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return false;
  mNative.reset(new Native);
  mNative->window = window;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  return true;
}

void EditorWindow::ResizeHostWindow(int width, int height)
{
  const DWORD style = static_cast<DWORD>(GetWindowLongW(mNative->window, GWL_STYLE));
  RECT bounds{0, 0, width, height};
  AdjustWindowRectEx(&bounds, style, FALSE, 0);
  SetWindowPos(mNative->window, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  DispatchQueued();
}

void* EditorWindow::HostWindowHandle() const
{
  return mNative->window;
}

void EditorWindow::DestroyHostWindow()
{
  DestroyWindow(mNative->window);
  mNative.reset();
  DispatchQueued();
}

void EditorWindow::Pump(int milliseconds)
{
  const DWORD start = GetTickCount();
  for (;;)
  {
    DispatchQueued();
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= static_cast<DWORD>(milliseconds)) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds) - elapsed, QS_ALLINPUT);
  }
  DispatchQueued();
}

bool EditorWindow::Capture(std::vector<uint8_t>& rgba, int& width, int& height) const
{
  RECT client;
  if (!mNative || !GetClientRect(mNative->window, &client)) return false;
  width = client.right;
  height = client.bottom;
  if (width < 1 || height < 1) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC windowDc = GetDC(mNative->window);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  HBITMAP section = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (memoryDc && section && bits)
  {
    HGDIOBJ previous = SelectObject(memoryDc, section);
    copied = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != 0;
    GdiFlush();
    SelectObject(memoryDc, previous);
  }
  if (copied)
  {
    const uint8_t* bgrx = static_cast<const uint8_t*>(bits);
    rgba.resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < rgba.size(); i += 4)
    {
      rgba[i] = bgrx[i + 2];
      rgba[i + 1] = bgrx[i + 1];
      rgba[i + 2] = bgrx[i];
      rgba[i + 3] = 255;
    }
  }
  if (section) DeleteObject(section);
  if (memoryDc) DeleteDC(memoryDc);
  ReleaseDC(mNative->window, windowDc);
  return copied;
}

bool EditorWindow::EditorChild(int* width, int* height) const
{
  HWND child = mNative ? mNative->Child() : nullptr;
  RECT client{};
  if (!child || !IsWindowVisible(child) || !GetClientRect(child, &client)) return false;
  if (width) *width = client.right;
  if (height) *height = client.bottom;
  return true;
}

bool EditorWindow::Press(Button button, int x, int y, Keys keys)
{
  if (!mNative) return false;
  mNative->buttons |= ButtonFlag(button);
  const UINT message = button == Button::kLeft ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
  return mNative->Post(message, mNative->buttons | KeyFlags(keys), MAKELPARAM(x, y));
}

bool EditorWindow::Move(int x, int y, Keys keys)
{
  return mNative && mNative->Post(WM_MOUSEMOVE, mNative->buttons | KeyFlags(keys), MAKELPARAM(x, y));
}

bool EditorWindow::Release(Button button, int x, int y, Keys keys)
{
  if (!mNative) return false;
  mNative->buttons &= ~ButtonFlag(button);
  const UINT message = button == Button::kLeft ? WM_LBUTTONUP : WM_RBUTTONUP;
  return mNative->Post(message, mNative->buttons | KeyFlags(keys), MAKELPARAM(x, y));
}

// The messages Windows sends for a double click on a CS_DBLCLKS window: down, up,
// double-click (in place of the second down), up.
bool EditorWindow::DoubleClick(int x, int y, Keys keys)
{
  if (!Press(Button::kLeft, x, y, keys) || !Release(Button::kLeft, x, y, keys)) return false;
  mNative->buttons |= MK_LBUTTON;
  const bool posted = mNative->Post(WM_LBUTTONDBLCLK, mNative->buttons | KeyFlags(keys), MAKELPARAM(x, y));
  return Release(Button::kLeft, x, y, keys) && posted;
}

// WM_MOUSEWHEEL carries screen coordinates and WHEEL_DELTA per detent.
bool EditorWindow::Wheel(int x, int y, int detents, Keys keys)
{
  HWND child = mNative ? mNative->Child() : nullptr;
  POINT screen{x, y};
  if (!child || !ClientToScreen(child, &screen)) return false;
  const WPARAM wParam = MAKEWPARAM(mNative->buttons | KeyFlags(keys), static_cast<WORD>(detents * WHEEL_DELTA));
  return mNative->Post(WM_MOUSEWHEEL, wParam, MAKELPARAM(screen.x, screen.y));
}

}  // namespace mero
