#include "tools/vst3host/EditorWindow.h"

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

}  // namespace

EditorWindow::~EditorWindow()
{
  Close();
}

bool EditorWindow::Open(Vst::IEditController* controller, int x, int y)
{
  Close();
  mFailure = OpenSteps(controller, x, y);
  if (mFailure) Close();
  return !mFailure;
}

const char* EditorWindow::OpenSteps(Vst::IEditController* controller, int x, int y)
{
  if (!controller) return "no controller";
  mView = controller->createView(Vst::ViewType::kEditor);
  if (!mView) return "createView (\"editor\") gave no view";
  if (mView->isPlatformTypeSupported(kPlatformTypeHWND) != kResultTrue) return "the view does not take HWND";
  if (mView->setFrame(mFrame) != kResultOk) return "setFrame failed";
  if (mView->getSize(&mSize) != kResultOk) return "getSize failed";
  if (!CreateHostWindow(x, y)) return "the host window could not be created";
  if (Attach() != kResultOk) return "attached failed";
  return nullptr;
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
  mWindow = CreateWindowExW(0, kHostWindowClass, L"MERO", style, x, y, bounds.right - bounds.left,
                            bounds.bottom - bounds.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!mWindow) return false;
  ShowWindow(mWindow, SW_SHOWNOACTIVATE);
  UpdateWindow(mWindow);
  return true;
}

tresult EditorWindow::Attach()
{
  if (!mView || !mWindow || mAttached) return kResultFalse;
  tresult result = mView->attached(mWindow, kPlatformTypeHWND);
  mAttached = result == kResultOk;
  return result;
}

tresult EditorWindow::Remove()
{
  if (!mView || !mAttached) return kResultFalse;
  mAttached = false;
  return mView->removed();
}

void EditorWindow::Close()
{
  if (mView)
  {
    Remove();
    mView->setFrame(nullptr);
    mView->release();
    mView = nullptr;
  }
  if (mWindow)
  {
    DestroyWindow(mWindow);
    mWindow = nullptr;
    DispatchQueued();
  }
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
  if (!mWindow || !GetClientRect(mWindow, &client)) return false;
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
  HDC windowDc = GetDC(mWindow);
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
  ReleaseDC(mWindow, windowDc);
  return copied;
}

HWND EditorWindow::EditorChild() const
{
  return mWindow ? FindWindowExW(mWindow, nullptr, L"IPlugWndClass", nullptr) : nullptr;
}

bool EditorWindow::PostMouse(UINT message, WPARAM keys, int x, int y) const
{
  HWND child = EditorChild();
  return child && PostMessageW(child, message, keys, MAKELPARAM(x, y));
}

}  // namespace mero
