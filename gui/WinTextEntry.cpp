#include "WinTextEntry.h"

#include <cstdlib>
#include <cstring>

#include "IControl.h"
#include "IParamRecord.h"
#include "IRectangle.h"
#include "ITextStyle.h"

namespace
{
constexpr LONG_PTR kEntryMarker = (LONG_PTR)0xDEADF00B;

DWORD EntryStyle(int align)
{
  const DWORD base = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL;
  if (align == ITextStyle::kAlignLeft) return base | ES_LEFT;
  if (align == ITextStyle::kAlignRight) return base | ES_RIGHT;
  return base | ES_CENTER;
}

HFONT EntryFont(const ITextStyle& style)
{
  return CreateFontA(style.size, 0, 0, 0, style.style == ITextStyle::kStyleBold ? FW_BOLD : 0,
                     style.style == ITextStyle::kStyleItalic, 0, 0, 0, 0, 0, 0, 0, style.face);
}
}  // namespace

WinTextEntry::~WinTextEntry()
{
  Close();
}

bool WinTextEntry::Open(HWND parent, HINSTANCE instance, IControl* control, const ITextStyle& style,
                        const IRectangle& r, const char* text, IParamRecord* param, WNDPROC entryProc)
{
  if (!control || mWindow || !parent) return false;
  mWindow = CreateWindowExA(0, "EDIT", text ? text : "", EntryStyle(style.align), r.L, r.T, r.R - r.L + 1,
                            r.B - r.T + 1, parent, (HMENU)(INT_PTR)kControlId, instance, nullptr);
  if (!mWindow) return false;
  mControl = control;
  mParam = param;
  mState = kNone;
  mFont = EntryFont(style);
  SendMessageA(mWindow, EM_LIMITTEXT, (WPARAM)control->GetTextEntryLength(), 0);
  if (mFont) SendMessageA(mWindow, WM_SETFONT, (WPARAM)mFont, 0);
  SendMessageA(mWindow, EM_SETSEL, 0, -1);
  // Subclassed before it takes the focus, so that the focus puts it into Editing.
  mClassProc = (WNDPROC)SetWindowLongPtrA(mWindow, GWLP_WNDPROC, (LONG_PTR)entryProc);
  SetWindowLongPtrA(mWindow, GWLP_USERDATA, kEntryMarker);
  SetFocus(mWindow);
  return true;
}

void WinTextEntry::Finish()
{
  if (mState == kCommit) Commit();
  Close();
}

void WinTextEntry::Close()
{
  if (mWindow)
  {
    if (mClassProc) SetWindowLongPtrA(mWindow, GWLP_WNDPROC, (LONG_PTR)mClassProc);
    DestroyWindow(mWindow);
  }
  if (mFont) DeleteObject(mFont);
  mWindow = nullptr;
  mFont = nullptr;
  mClassProc = nullptr;
  mControl = nullptr;
  mParam = nullptr;
  mState = kNone;
}

void WinTextEntry::Commit()
{
  char text[kTextSize] = "";
  SendMessageA(mWindow, WM_GETTEXT, kTextSize, (LPARAM)text);
  text[kTextSize - 1] = '\0';
  if (mParam)
    mControl->SetValueFromUser(mParam->ToNormalized(PlainValueFromText(*mParam, text)));
  else
    mControl->SetTextFromEntry(text);
}

double WinTextEntry::PlainValueFromText(const IParamRecord& param, const char* text)
{
  const int kind = param.GetType();
  if (kind == IParamRecord::kTypeBool || kind == IParamRecord::kTypeEnum)
  {
    int value = 0;
    for (int i = 0; i < param.GetNDisplayTexts(); ++i)
    {
      const char* entry = param.GetDisplayTextAt(i, &value);
      if (entry && strcmp(entry, text) == 0) return value;
    }
    return 0.0;
  }
  const double value = atof(text);
  return param.GetNegateDisplay() ? -value : value;
}

bool WinTextEntry::AcceptsChar(int kind, int ch)
{
  const bool digitOrSign = (ch >= '0' && ch <= '9') || ch == '+' || ch == '-';
  switch (kind)
  {
    case IParamRecord::kTypeBool:
    case IParamRecord::kTypeInt:
    case IParamRecord::kTypeEnum:
      return digitOrSign;
    case IParamRecord::kTypeDouble:
      return digitOrSign || ch == '.';
    default:
      return true;
  }
}

LRESULT WinTextEntry::HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  switch (msg)
  {
    case WM_SETFOCUS:
      mState = kEditing;
      break;
    case WM_KILLFOCUS:
      mState = kCommit;
      break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN)
      {
        mState = kCommit;
        return 0;
      }
      if (wParam == VK_ESCAPE)
      {
        mState = kCancel;
        return 0;
      }
      break;
    case WM_CHAR:
      if (mParam && wParam != VK_BACK && !AcceptsChar(mParam->GetType(), (int)wParam)) return 0;
      break;
    case WM_GETDLGCODE:
    {
      LRESULT code = CallWindowProcA(mClassProc, window, msg, wParam, lParam);
      const MSG* queried = (const MSG*)lParam;
      if (queried && queried->message == WM_KEYDOWN && queried->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == 1)
      {
        mState = kCommit;
        return 0;
      }
      break;
    default:
      break;
  }
  return CallWindowProcA(mClassProc, window, msg, wParam, lParam);
}
