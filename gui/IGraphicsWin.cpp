#include "IGraphicsWin.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "IControl.h"
#include "IPlugBase.h"
#include "LICE_IBitmap.h"
#include "WinFileFilter.h"
#include "WinKeyMap.h"
#include "WinPopupMenu.h"

namespace
{
constexpr int kFileBufferSize = 256;
constexpr int kCustomColorCount = 16;

// Editors alive in the process, so that a window's user data is trusted only when it
// names one of them.
std::vector<IGraphicsWin*>& LiveEditors()
{
  static std::vector<IGraphicsWin*> editors;
  return editors;
}

int& OpenWindows()
{
  static int count = 0;
  return count;
}

int LowX(LPARAM lParam)
{
  return (short)LOWORD(lParam);
}

int HighY(LPARAM lParam)
{
  return (short)HIWORD(lParam);
}

IMouseModifiers Modifiers(WPARAM wParam)
{
  IMouseModifiers mod;
  mod.L = (wParam & MK_LBUTTON) != 0;
  mod.R = (wParam & MK_RBUTTON) != 0;
  mod.S = (wParam & MK_SHIFT) != 0;
  mod.C = (wParam & MK_CONTROL) != 0;
  mod.A = GetKeyState(VK_MENU) < 0;
  return mod;
}

RECT ToRect(const IRectangle& r)
{
  return RECT{r.L, r.T, r.R, r.B};
}

COLORREF ToColorRef(const IArgbColor& c)
{
  return RGB(c.R, c.G, c.B);
}

// A child window proper: WS_CHILD set, WS_EX_MDICHILD clear.
bool IsChildWindow(HWND window)
{
  return (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) && !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

void GrowWindow(HWND window, int dW, int dH)
{
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dW, r.bottom - r.top + dH,
               SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}
}  // namespace

IGraphicsWin::IGraphicsWin(IPlugBase* plug, int width, int height, int frameRate, void* moduleHandle)
  : IGraphics(plug, width, height, frameRate)
  , mInstance(static_cast<HINSTANCE>(moduleHandle))
{
  LiveEditors().push_back(this);
}

IGraphicsWin::~IGraphicsWin()
{
  CloseWindow();
  std::vector<IGraphicsWin*>& editors = LiveEditors();
  editors.erase(std::remove(editors.begin(), editors.end(), this), editors.end());
}

int IGraphicsWin::OpenWindowCount()
{
  return OpenWindows();
}

IGraphicsWin* IGraphicsWin::FromWindow(HWND window)
{
  if (!window) return nullptr;
  IGraphicsWin* stored = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!stored) return nullptr;
  for (IGraphicsWin* editor : LiveEditors())
    if (editor == stored) return editor->mWindow == window ? editor : nullptr;
  return nullptr;
}

// ---- Window ----

void IGraphicsWin::RegisterWindowClass()
{
  WNDCLASSA windowClass = {};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = mInstance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
}

void* IGraphicsWin::OpenWindow(void* parent)
{
  HWND parentWindow = static_cast<HWND>(parent);
  mParentWindow = parentWindow;
  int x = 0, y = 0, w = WindowWidth(), h = WindowHeight();
  if (mWindow)
  {
    RECT parentRect = {}, windowRect = {};
    GetWindowRect(parentWindow, &parentRect);
    GetWindowRect(mWindow, &windowRect);
    CloseWindow();
    x = windowRect.left - parentRect.left;
    y = windowRect.top - parentRect.top;
    w = windowRect.right - windowRect.left;
    h = windowRect.bottom - windowRect.top;
  }

  if (OpenWindows()++ == 0) RegisterWindowClass();
  mWindow = CreateWindowExA(0, kWindowClass, "IPlug", WS_CHILD | WS_VISIBLE, x, y, w, h, parentWindow, nullptr,
                            mInstance, this);
  if (!mWindow && --OpenWindows() == 0) UnregisterClassA(kWindowClass, mInstance);
  SetAllControlsDirty();
  if (mWindow && mTooltipsEnabled && !CreateTooltip()) mTooltipsEnabled = false;
  return mWindow;
}

void IGraphicsWin::CloseWindow()
{
  mEntry.Close();
  DestroyTooltip();
  if (!mWindow) return;
  DestroyWindow(mWindow);
  mWindow = nullptr;
  if (--OpenWindows() == 0) UnregisterClassA(kWindowClass, mInstance);
}

LRESULT CALLBACK IGraphicsWin::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE)
  {
    IGraphicsWin* editor = static_cast<IGraphicsWin*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    return editor ? editor->WmCreate(window) : -1;
  }
  IGraphicsWin* editor = FromWindow(window);
  if (!editor) return DefWindowProcA(window, msg, wParam, lParam);
  return editor->HandleMessage(window, msg, wParam, lParam);
}

LRESULT IGraphicsWin::HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  // While the user types, the editor neither redraws nor reacts; a click cancels.
  if (mEntry.IsOpen() && mEntry.GetState() == WinTextEntry::kEditing && msg != WM_CTLCOLOREDIT)
  {
    if (msg != WM_LBUTTONDOWN && msg != WM_RBUTTONDOWN) return DefWindowProcA(window, msg, wParam, lParam);
    mEntry.SetState(WinTextEntry::kCancel);
    return 0;
  }
  switch (msg)
  {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return 0;
    case WM_PAINT:
      return WmPaint();
    case WM_CLOSE:
      CloseWindow();
      return 0;
    case WM_TIMER:
      return WmTimer(wParam);
    case WM_CTLCOLOREDIT:
      return WmCtlColorEdit(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      return WmButtonDown(wParam, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return WmButtonUp(wParam, lParam);
    case WM_LBUTTONDBLCLK:
      return WmDoubleClick(wParam, lParam);
    case WM_MOUSEMOVE:
      return WmMouseMove(wParam, lParam);
    case WM_MOUSEWHEEL:
      return WmMouseWheel(wParam, lParam);
    case WM_KEYDOWN:
      return WmKeyDown(window, wParam, lParam);
    case WM_KEYUP:
      return ForwardKey(window, msg, wParam, lParam);
    case WM_MOUSEHOVER:
      return WmMouseHover();
    case WM_MOUSELEAVE:
      return WmMouseLeave();
    default:
      return DefWindowProcA(window, msg, wParam, lParam);
  }
}

LRESULT IGraphicsWin::WmCreate(HWND window)
{
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  mWindow = window;
  const UINT interval = FrameRate() > 0 ? (UINT)(1000.0 / FrameRate()) : 1000;
  SetTimer(window, kTimerId, interval, nullptr);
  SetFocus(window);
  return 0;
}

// ---- Drawing ----

// BeginPaint and EndPaint pair here whatever Draw does; PresentToScreen copies into
// this paint's device context, or into the window's own outside a paint.
LRESULT IGraphicsWin::WmPaint()
{
  RECT update;
  const bool hasUpdate = GetUpdateRect(mWindow, &update, FALSE) != 0;
  PAINTSTRUCT paint;
  mPaintDC = BeginPaint(mWindow, &paint);
  if (hasUpdate) Draw(IRectangle(update.left, update.top, update.right, update.bottom));
  EndPaint(mWindow, &paint);
  mPaintDC = nullptr;
  return 0;
}

bool IGraphicsWin::PresentToScreen(const IRectangle& r)
{
  LICE_IBitmap* bitmap = GetDrawBitmap();
  if (!mWindow || !bitmap || !bitmap->getDC()) return false;
  HDC dc = mPaintDC ? mPaintDC : GetDC(mWindow);
  if (!dc) return false;
  BitBlt(dc, r.L, r.T, r.R - r.L, r.B - r.T, bitmap->getDC(), r.L, r.T, SRCCOPY);
  if (!mPaintDC) ReleaseDC(mWindow, dc);
  return true;
}

LRESULT IGraphicsWin::WmTimer(WPARAM id)
{
  if (id != kTimerId) return 0;
  if (mEntry.IsOpen() && mEntry.GetState() != WinTextEntry::kNone)
  {
    const WinTextEntry::State state = mEntry.GetState();
    if (state == WinTextEntry::kCommit || state == WinTextEntry::kCancel)
      mEntry.Finish();
    else
      mEntry.SetState(WinTextEntry::kNone);
    return 0;
  }
  RedrawDirty();
  return 0;
}

void IGraphicsWin::RedrawDirty()
{
  IRectangle dirty;
  if (!CollectDirtyRect(dirty)) return;
  const RECT invalid = ToRect(dirty);
  InvalidateRect(mWindow, &invalid, FALSE);
  if (mEntry.IsOpen())
  {
    const RECT entry = ToRect(DeviceRect(mEntry.Control()->GetRect()));
    ValidateRect(mWindow, &entry);
    UpdateWindow(mWindow);
    mEntry.SetState(WinTextEntry::kRedrawn);
    return;
  }
  UpdateWindow(mWindow);
}

// ---- Mouse and keys ----

LRESULT IGraphicsWin::WmButtonDown(WPARAM wParam, LPARAM lParam)
{
  HideTooltip();
  if (mEntry.IsOpen())
  {
    mEntry.SetState(WinTextEntry::kCommit);
    return 0;
  }
  SetFocus(mWindow);
  SetCapture(mWindow);
  OnMouseDown(LowX(lParam), HighY(lParam), Modifiers(wParam));
  return 0;
}

LRESULT IGraphicsWin::WmButtonUp(WPARAM wParam, LPARAM lParam)
{
  ReleaseCapture();
  OnMouseUp(LowX(lParam), HighY(lParam), Modifiers(wParam));
  return 0;
}

LRESULT IGraphicsWin::WmDoubleClick(WPARAM wParam, LPARAM lParam)
{
  if (OnMouseDoubleClick(LowX(lParam), HighY(lParam), Modifiers(wParam))) SetCapture(mWindow);
  return 0;
}

LRESULT IGraphicsWin::WmMouseMove(WPARAM wParam, LPARAM lParam)
{
  const int x = LowX(lParam), y = HighY(lParam);
  if (wParam & (MK_LBUTTON | MK_RBUTTON))
  {
    if (GetCapture() == mWindow && !mEntry.IsOpen()) OnMouseDrag(x, y, Modifiers(wParam));
  }
  else if (OnMouseOver(x, y, Modifiers(wParam)))
  {
    TrackMouse();
  }
  return 0;
}

LRESULT IGraphicsWin::WmMouseWheel(WPARAM wParam, LPARAM lParam)
{
  if (mEntry.IsOpen())
  {
    mEntry.SetState(WinTextEntry::kCancel);
    return 0;
  }
  const int detents = (short)HIWORD(wParam) / WHEEL_DELTA;
  RECT windowRect = {};
  GetWindowRect(mWindow, &windowRect);
  OnMouseWheel(LowX(lParam) - windowRect.left, HighY(lParam) - windowRect.top, Modifiers(wParam), detents);
  return 0;
}

LRESULT IGraphicsWin::WmKeyDown(HWND window, WPARAM wParam, LPARAM lParam)
{
  const int code = WinKeyMap::KeyCode((unsigned)wParam);
  if (code >= 0)
  {
    POINT pointer = {};
    GetCursorPos(&pointer);
    ScreenToClient(window, &pointer);
    if (OnKeyDown(pointer.x, pointer.y, code)) return 0;
  }
  return ForwardKey(window, WM_KEYDOWN, wParam, lParam);
}

LRESULT IGraphicsWin::ForwardKey(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  SendMessageA(GetAncestor(window, GA_ROOT), msg, wParam, lParam);
  return DefWindowProcA(window, msg, wParam, lParam);
}

// ---- Mouse-over and tooltips ----

void IGraphicsWin::TrackMouse()
{
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = mWindow;
  track.dwHoverTime = HOVER_DEFAULT;
  if (mTooltipWindow && GetMouseOver() != mTooltipIndex)
  {
    track.dwFlags |= TME_HOVER;
    mTooltipIndex = GetMouseOver();
    HideTooltip();
  }
  TrackMouseEvent(&track);
}

LRESULT IGraphicsWin::WmMouseHover()
{
  if (!mTooltipWindow) return 0;
  IControl* control = GetControl(GetMouseOver());
  SetTooltipText(control ? control->GetTooltip() : "");
  mTooltipShown = true;
  return 0;
}

LRESULT IGraphicsWin::WmMouseLeave()
{
  HideTooltip();
  for (int i = 0; i < NControls(); ++i) GetControl(i)->OnMouseOut();
  SetMouseOverIndex(-1);
  return 0;
}

bool IGraphicsWin::CreateTooltip()
{
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  if (!InitCommonControlsEx(&controls)) return false;
  mTooltipWindow = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mWindow, nullptr, mInstance, nullptr);
  if (!mTooltipWindow) return false;
  SetWindowPos(mTooltipWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = mWindow;
  tool.uId = reinterpret_cast<UINT_PTR>(mWindow);
  tool.lpszText = const_cast<char*>("");
  if (SendMessageA(mTooltipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) return true;
  DestroyTooltip();
  return false;
}

void IGraphicsWin::DestroyTooltip()
{
  if (mTooltipWindow) DestroyWindow(mTooltipWindow);
  mTooltipWindow = nullptr;
  mTooltipShown = false;
  mTooltipIndex = -1;
}

void IGraphicsWin::SetTooltipText(const char* text)
{
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = mWindow;
  tool.uId = reinterpret_cast<UINT_PTR>(mWindow);
  tool.lpszText = const_cast<char*>(text ? text : "");
  SendMessageA(mTooltipWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void IGraphicsWin::HideTooltip()
{
  if (!mTooltipShown || !mTooltipWindow) return;
  SetTooltipText("");
  mTooltipShown = false;
}

// ---- Text entry ----

void IGraphicsWin::OpenTextEntry(IControl* control, const ITextStyle& style, const IRectangle& r, const char* text,
                                 IParamRecord* param)
{
  if (!mWindow) return;
  mEntry.Open(mWindow, mInstance, control, style, DeviceRect(r), text, param, EntryProc);
}

void IGraphicsWin::CancelTextEntry()
{
  if (mEntry.IsOpen()) mEntry.SetState(WinTextEntry::kCancel);
}

LRESULT CALLBACK IGraphicsWin::EntryProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  IGraphicsWin* editor = FromWindow(GetParent(window));
  if (!editor || editor->mEntry.Window() != window) return DefWindowProcA(window, msg, wParam, lParam);
  editor->HideTooltip();
  return editor->mEntry.HandleMessage(window, msg, wParam, lParam);
}

// The entry's colours; the DC brush paints its background in the same colour.
LRESULT IGraphicsWin::WmCtlColorEdit(HDC dc)
{
  IControl* control = mEntry.Control();
  if (!control) return 0;
  const ITextStyle& style = control->GetTextStyle();
  SetBkColor(dc, ToColorRef(style.entryBackground));
  SetTextColor(dc, ToColorRef(style.entryForeground));
  SetBkMode(dc, OPAQUE);
  SetDCBrushColor(dc, ToColorRef(style.entryBackground));
  return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

// ---- Popup menu ----

IMenu* IGraphicsWin::ShowPopupMenu(IMenu* menu, const IRectangle& r)
{
  ReleaseMouseCapture();
  WinPopupMenu popup;
  if (!menu || !mWindow || !popup.Build(*menu)) return nullptr;

  const IRectangle shown = DeviceRect(r);
  POINT corner = {shown.L, shown.B};
  ClientToScreen(mWindow, &corner);
  IMenu* result = nullptr;
  if (TrackPopupMenu(popup.Handle(), TPM_LEFTALIGN, corner.x, corner.y, 0, mWindow, nullptr))
  {
    MSG msg;
    if (PeekMessageA(&msg, mWindow, WM_COMMAND, WM_COMMAND, PM_REMOVE) && HIWORD(msg.wParam) == 0)
      result = popup.Choose(LOWORD(msg.wParam));
  }
  const RECT all = {0, 0, WindowWidth(), WindowHeight()};
  InvalidateRect(mWindow, &all, FALSE);
  return result;
}

// ---- Messages, dialogs, web addresses ----

BOOL CALLBACK IGraphicsWin::FindMainWindowProc(HWND window, LPARAM lParam)
{
  IGraphicsWin* editor = reinterpret_cast<IGraphicsWin*>(lParam);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != editor->mProcessId) return TRUE;
  char className[256] = "";
  if (!GetClassNameA(window, className, sizeof(className))) return TRUE;
  if (strcmp(className, editor->mMainWindowClass.Get()) != 0) return TRUE;
  editor->mMainWindow = window;
  return FALSE;
}

// Found once and kept while it exists: the top of the parent's chain, or else the
// first top-level window of this process with the remembered class.
HWND IGraphicsWin::FindMainWindow()
{
  if (mMainWindow && IsWindow(mMainWindow)) return mMainWindow;
  mMainWindow = nullptr;
  if (mParentWindow && IsWindow(mParentWindow))
  {
    HWND top = mParentWindow;
    while (HWND up = GetParent(top)) top = up;
    mMainWindow = top;
    char className[256] = "";
    if (GetClassNameA(top, className, sizeof(className))) mMainWindowClass.Set(className);
  }
  else if (mMainWindowClass.GetLength() > 0)
  {
    mProcessId = GetCurrentProcessId();
    EnumWindows(FindMainWindowProc, reinterpret_cast<LPARAM>(this));
  }
  return mMainWindow;
}

int IGraphicsWin::ShowMessage(const char* text, const char* caption, int type)
{
  return MessageBoxA(FindMainWindow(), text, caption, (UINT)type);
}

void IGraphicsWin::ChooseFile(PlugString& file, int action, PlugString& folder, const char* extensions)
{
  if (!mWindow)
  {
    file.Set("");
    return;
  }
  char path[kFileBufferSize] = "";
  strncpy(path, file.Get(), kFileBufferSize - 1);
  PlugString initialFolder(folder.Get());
  if (initialFolder.GetLength() == 0) DesktopFolder(initialFolder);
  const WinFileFilter filter(extensions);

  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = mWindow;
  dialog.lpstrFilter = filter.Filter();
  dialog.lpstrFile = path;
  dialog.nMaxFile = kFileBufferSize;
  dialog.lpstrInitialDir = initialFolder.Get();
  dialog.lpstrDefExt = filter.DefaultExtension();
  bool chosen;
  if (action == 1)
  {
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    chosen = GetSaveFileNameA(&dialog) != 0;
  }
  else
  {
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameA(&dialog) != 0;
  }
  if (!chosen)
  {
    file.Set("");
    return;
  }
  path[kFileBufferSize - 1] = '\0';
  const int folderLength = std::min<int>(dialog.nFileOffset, (int)strlen(path));
  folder.Set(0, path, folderLength);
  file.Set(path);
}

UINT_PTR CALLBACK IGraphicsWin::ColorHookProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam)
{
  if (msg != WM_INITDIALOG) return 0;
  const CHOOSECOLORA* choose = reinterpret_cast<const CHOOSECOLORA*>(lParam);
  if (choose && choose->lCustData) SetWindowTextA(dialog, reinterpret_cast<const char*>(choose->lCustData));
  return TRUE;
}

bool IGraphicsWin::PickColor(IArgbColor& color, const char* prompt)
{
  if (!mWindow) return false;
  if (!mCustomColors) mCustomColors.reset(new (std::nothrow) COLORREF[kCustomColorCount]());
  if (!mCustomColors) return false;

  CHOOSECOLORA choose = {};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = mWindow;
  choose.rgbResult = ToColorRef(color);
  choose.lpCustColors = mCustomColors.get();
  choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
  choose.lCustData = reinterpret_cast<LPARAM>(prompt);
  choose.lpfnHook = ColorHookProc;
  if (!ChooseColorA(&choose)) return false;
  color.R = GetRValue(choose.rgbResult);
  color.G = GetGValue(choose.rgbResult);
  color.B = GetBValue(choose.rgbResult);
  return true;
}

bool IGraphicsWin::OpenUrl(const char* address, const char* title, const char* confirm, const char* failure)
{
  if (confirm && MessageBoxA(mWindow, confirm, title, MB_YESNO) != IDYES) return false;
  DWORD connection = 0;
  if (InternetGetConnectedState(&connection, 0) &&
      reinterpret_cast<INT_PTR>(ShellExecuteA(mWindow, "open", address, nullptr, nullptr, SW_SHOWNORMAL)) > 32)
    return true;
  if (failure) MessageBoxA(mWindow, failure, title, MB_OK);
  return false;
}

// ---- Clipboard and cursor ----

bool IGraphicsWin::ReadClipboardText(PlugString& out)
{
  out.Set("");
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(mWindow)) return false;
  bool read = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
  {
    if (const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data)))
    {
      const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
      if (size > 0)
      {
        std::vector<char> utf8((size_t)size);
        if (WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr) == size)
        {
          out.Set(utf8.data());
          read = true;
        }
      }
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return read;
}

void IGraphicsWin::HideCursor()
{
  if (mCursorHidden) return;
  POINT pointer = {};
  if (GetCursorPos(&pointer))
  {
    mSavedCursorX = pointer.x;
    mSavedCursorY = pointer.y;
  }
  ShowCursor(FALSE);
  mCursorHidden = true;
}

void IGraphicsWin::RestoreCursor()
{
  if (!mCursorHidden) return;
  SetCursorPos(mSavedCursorX, mSavedCursorY);
  ShowCursor(TRUE);
  mCursorHidden = false;
}

// ---- Folders ----

// The folder of the module's file, ending in "\"; "" when the name cannot be had
// whole or has no folder.
void IGraphicsWin::ModuleFileFolder(HMODULE module, PlugString& out)
{
  char path[kFileBufferSize] = "";
  const DWORD length = GetModuleFileNameA(module, path, kFileBufferSize);
  const char* slash = length > 0 && length < (DWORD)kFileBufferSize ? strrchr(path, '\\') : nullptr;
  if (!slash || slash[1] == '\0')
  {
    out.Set("");
    return;
  }
  out.Set(0, path, (int)(slash - path) + 1);
}

void IGraphicsWin::HostExecutableFolder(PlugString& out)
{
  ModuleFileFolder(nullptr, out);
}

void IGraphicsWin::ModuleFolder(PlugString& out)
{
  ModuleFileFolder(mInstance, out);
}

void IGraphicsWin::DesktopFolder(PlugString& out)
{
  char path[MAX_PATH] = "";
  out.Set(SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE) ? path : "");
}

void IGraphicsWin::AppDataPath(PlugString& out, bool allUsers)
{
  char path[MAX_PATH] = "";
  const int folder = allUsers ? CSIDL_COMMON_APPDATA : CSIDL_LOCAL_APPDATA;
  out.Set(SUCCEEDED(SHGetFolderPathA(nullptr, folder, nullptr, 0, path)) ? path : "");
}

void IGraphicsWin::UserDataPath(PlugString& out)
{
  AppDataPath(out, false);
}

// ---- Resize and images ----

void IGraphicsWin::Resize(int width, int height)
{
  if (width == Width() && height == Height()) return;
  // The entry belongs to a control that the resize deletes.
  mEntry.Close();
  const int oldW = WindowWidth(), oldH = WindowHeight();
  IGraphics::Resize(width, height);
  if (!mWindow) return;
  ResizeWindows(WindowWidth() - oldW, WindowHeight() - oldH);
  const RECT all = {0, 0, WindowWidth(), WindowHeight()};
  InvalidateRect(mWindow, &all, FALSE);
}

bool IGraphicsWin::SetScale(double scale)
{
  const double before = GetScale();
  if (!IGraphics::SetScale(scale)) return false;
  if (!mWindow || GetScale() == before) return true;
  SetWindowPos(mWindow, nullptr, 0, 0, WindowWidth(), WindowHeight(), SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
  const RECT all = {0, 0, WindowWidth(), WindowHeight()};
  InvalidateRect(mWindow, &all, FALSE);
  return true;
}

// Grows the editor window, and its parent and grandparent while they are child
// windows, unless the plug-in's API sizes the host side itself (kinds 1 and 3).
void IGraphicsWin::ResizeWindows(int dW, int dH)
{
  GrowWindow(mWindow, dW, dH);
  const int api = GetPlug() ? GetPlug()->GetApiKind() : 0;
  if (!IsChildWindow(mWindow) || api == 1 || api == 3) return;
  HWND parent = GetParent(mWindow);
  GrowWindow(parent, dW, dH);
  if (IsChildWindow(parent)) GrowWindow(GetParent(parent), dW, dH);
}
