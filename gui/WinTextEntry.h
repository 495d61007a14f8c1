#pragma once

#include <windows.h>

class IControl;
class IParamRecord;
struct IRectangle;
struct ITextStyle;

// The text-entry field of a Windows editor: an EDIT child of the editor window,
// subclassed so that Enter, Escape, focus changes and filtered characters drive its
// state. The editor window's timer finishes an entry in state Commit (the text goes
// to the control as a value of its parameter, or as text) or Cancel (nothing goes).
// The entry's font lives exactly as long as its window.
class WinTextEntry
{
public:
  enum State
  {
    kNone = 0,
    kEditing = 1,
    kRedrawn = 2,
    kCancel = 3,
    kCommit = 4
  };

  static constexpr int kControlId = 99;
  static constexpr int kTextSize = 32;

  WinTextEntry() = default;
  ~WinTextEntry();

  WinTextEntry(const WinTextEntry&) = delete;
  WinTextEntry& operator=(const WinTextEntry&) = delete;

  // Opens the field over r (right and bottom inclusive) inside parent with the whole
  // text selected and the keyboard focus, its messages going to entryProc, which
  // passes them on to HandleMessage. False when it cannot be made or one is open.
  bool Open(HWND parent, HINSTANCE instance, IControl* control, const ITextStyle& style, const IRectangle& r,
            const char* text, IParamRecord* param, WNDPROC entryProc);
  // Commit hands the text to the control; then (and for any other state) the field
  // is closed.
  void Finish();
  // Closes the field without handing anything on.
  void Close();

  bool IsOpen() const { return mWindow != nullptr; }
  HWND Window() const { return mWindow; }
  IControl* Control() const { return mControl; }
  State GetState() const { return mState; }
  void SetState(State state) { mState = state; }

  // The field's reaction to one of its messages (see the class comment).
  LRESULT HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  // Whether a character may be typed for a parameter of kind (IParamRecord::Type):
  // booleans, integers and enumerations take digits and signs, continuous values the
  // decimal point too, other kinds anything.
  static bool AcceptsChar(int kind, int ch);
  // The plain value text stands for: for booleans and enumerations the value of the
  // first display text equal to it (0 when none), else the decimal number (negated
  // when the parameter's display is negated).
  static double PlainValueFromText(const IParamRecord& param, const char* text);

private:
  void Commit();

  HWND mWindow = nullptr;
  HFONT mFont = nullptr;
  WNDPROC mClassProc = nullptr;
  IControl* mControl = nullptr;
  IParamRecord* mParam = nullptr;
  State mState = kNone;
};
