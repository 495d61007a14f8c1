#pragma once

#include <windows.h>

#include <memory>

#include "IGraphics.h"
#include "PlugString.h"
#include "WinTextEntry.h"

// The Windows platform layer of the editor. It makes the editor's child window
// (class "IPlugWndClass", registered while any editor window of the module is open)
// inside the host's window, redraws the dirty controls on a timer at the frame rate
// and copies them to the screen, turns mouse and key messages into IGraphics events
// and supplies the platform services: image resources of type "PNG" from the
// module, popup menus, a text entry, message boxes, file and colour dialogs,
// folders, web addresses, the clipboard and the cursor. The window is the editor's
// device size at its scale; popup menus and the text entry open at the controls' device
// rectangles.
//
// Everything runs on the thread that opens the window.
class IGraphicsWin : public IGraphics
{
public:
  static constexpr const char* kWindowClass = "IPlugWndClass";
  static constexpr UINT_PTR kTimerId = 2;

  // moduleHandle: the HINSTANCE of the module the editor lives in (its window class
  // and ModuleFolder); null for the program.
  IGraphicsWin(IPlugBase* plug, int width, int height, int frameRate, void* moduleHandle);
  // Closes the window.
  ~IGraphicsWin() override;

  bool PresentToScreen(const IRectangle& r) override;
  void CancelTextEntry() override;
  void Resize(int width, int height) override;
  // The window takes the editor's device size at the new scale and is painted again.
  bool SetScale(double scale) override;
  bool IsWindowOpen() override { return mWindow != nullptr; }
  const char* GetApiName() override { return "Windows GDI"; }
  int ShowMessage(const char* text, const char* caption, int type) override;
  IMenu* ShowPopupMenu(IMenu* menu, const IRectangle& r) override;
  void OpenTextEntry(IControl* control, const ITextStyle& style, const IRectangle& r, const char* text,
                     IParamRecord* param) override;
  void HostExecutableFolder(PlugString& out) override;
  void ModuleFolder(PlugString& out) override;
  void DesktopFolder(PlugString& out) override;
  void AppDataPath(PlugString& out, bool allUsers) override;
  void UserDataPath(PlugString& out) override;
  // The file buffer holds 255 characters: a longer initial name is cut.
  void ChooseFile(PlugString& file, int action, PlugString& folder, const char* extensions) override;
  bool PickColor(IArgbColor& color, const char* prompt) override;
  bool OpenUrl(const char* address, const char* title, const char* confirm, const char* failure) override;
  // Opens the editor window as a child of the HWND parent (again at the old place
  // when one is open); the window, or null when it cannot be made.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* GetWindowHandle() override { return mWindow; }
  bool ReadClipboardText(PlugString& out) override;
  void HideCursor() override;
  void RestoreCursor() override;
  void ReservedHook27() override {}

  // Tooltips of the controls (off by default); takes effect when a window opens.
  void EnableTooltips(bool on) { mTooltipsEnabled = on; }

  WinTextEntry::State GetTextEntryState() const { return mEntry.GetState(); }
  HWND GetTextEntryWindow() const { return mEntry.Window(); }

  // Editor windows open in the process.
  static int OpenWindowCount();

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EntryProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static UINT_PTR CALLBACK ColorHookProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
  static BOOL CALLBACK FindMainWindowProc(HWND window, LPARAM lParam);
  // The live editor whose window this is, or null.
  static IGraphicsWin* FromWindow(HWND window);

  LRESULT HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT WmCreate(HWND window);
  LRESULT WmPaint();
  LRESULT WmTimer(WPARAM id);
  LRESULT WmCtlColorEdit(HDC dc);
  LRESULT WmButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT WmButtonUp(WPARAM wParam, LPARAM lParam);
  LRESULT WmDoubleClick(WPARAM wParam, LPARAM lParam);
  LRESULT WmMouseMove(WPARAM wParam, LPARAM lParam);
  LRESULT WmMouseWheel(WPARAM wParam, LPARAM lParam);
  LRESULT WmKeyDown(HWND window, WPARAM wParam, LPARAM lParam);
  LRESULT WmMouseHover();
  LRESULT WmMouseLeave();
  // Sends a key message on to the root window above the editor, then the default.
  LRESULT ForwardKey(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  void RegisterWindowClass();
  void RedrawDirty();
  void TrackMouse();
  bool CreateTooltip();
  void DestroyTooltip();
  void SetTooltipText(const char* text);
  void HideTooltip();
  HWND FindMainWindow();
  void ModuleFileFolder(HMODULE module, PlugString& out);
  void ResizeWindows(int dW, int dH);

  HINSTANCE mInstance;
  HWND mWindow = nullptr;
  HWND mTooltipWindow = nullptr;
  WinTextEntry mEntry;
  bool mTooltipsEnabled = false;
  bool mTooltipShown = false;
  int mTooltipIndex = -1;
  std::unique_ptr<COLORREF[]> mCustomColors;
  DWORD mProcessId = 0;
  HWND mParentWindow = nullptr;
  HWND mMainWindow = nullptr;
  PlugString mMainWindowClass;
  // The device context of the paint in progress (WM_PAINT), else null.
  HDC mPaintDC = nullptr;
};
