#pragma once

#include <atomic>

#include "IBlend.h"
#include "IMouseModifiers.h"
#include "IRectangle.h"
#include "ITextStyle.h"
#include "PlugString.h"
#include "PtrList.h"

class IGraphics;
class IPlugBase;

// One rectangular element of an editor: its drawing and hit rectangles, the
// parameter it shows (-1 for none), its normalised value, the dirty bookkeeping that
// drives redrawing and the default reactions to mouse and keys. IGraphics owns the
// controls, hit-tests and routes events to them and asks them to draw.
//
// Threads: SetValueFromParam and SetLinkedValueFromParam may run on the host's
// audio thread while the window thread draws. The value, the default and the
// dirty/redraw-pending flags are relaxed atomics, and those two calls take no lock
// and allocate nothing. Everything else runs on the window thread.
class IControl
{
public:
  IControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, const IBlend& blend);

  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // ---- Virtual operations, in slot order ----
  virtual ~IControl();
  // Right button: PromptForParamValue.
  virtual void OnMouseDown(int x, int y, const IMouseModifiers& mod);
  virtual void OnMouseUp(int x, int y, const IMouseModifiers& mod);
  virtual void OnMouseDrag(int x, int y, int dX, int dY, const IMouseModifiers& mod);
  // Returns to the default value (when known) and tells the plug-in.
  virtual void OnMouseDoubleClick(int x, int y, const IMouseModifiers& mod);
  virtual void OnMouseWheel(int x, int y, const IMouseModifiers& mod, int detents);
  virtual bool OnKeyDown(int x, int y, int key);
  virtual void OnMouseOver(int x, int y, const IMouseModifiers& mod);
  virtual void OnMouseOut();
  virtual bool Draw(IGraphics* graphics) = 0;
  // A value from the plug-in. The first one also becomes the default and leaves the
  // control as it is; a later different one marks it dirty for two drawing passes.
  virtual void SetValueFromParam(double normalized);
  // A value from the user: marked dirty for two passes and sent to the plug-in.
  virtual void SetValueFromUser(double normalized);
  virtual void SetTextFromEntry(const char* text);
  virtual void SetHidden(bool hidden);
  // A grayed control is drawn at weight 0.25 and cannot be hit.
  virtual void SetGrayed(bool grayed);
  // Inside the target rectangle (right and bottom exclusive); never for an empty one.
  virtual bool HitTest(int x, int y);
  // Clamps the value into the clamp range, marks the control dirty and, with
  // sendToPlug, hands the value to the plug-in and updates the display controls.
  virtual void MarkDirty(bool sendToPlug = true);
  // After a drawing pass: dirty again only when a redraw was pending.
  virtual void MarkClean();
  virtual bool IsDirty();
  virtual void ReservedHook19() {}
  virtual void SetLinkedValueFromParam(int position, double normalized);

  // Asks the user for the parameter's value through IGraphics::AskParamValue;
  // nothing when unbound or while prompting is disabled (the default).
  void PromptForParamValue();

  // ---- Binding and value ----
  int ParamIdx() const { return mParamIdx; }
  double GetValue() const { return mValue.load(std::memory_order_relaxed); }
  // Negative while no value has come from the plug-in yet.
  double GetDefaultValue() const { return mDefaultValue.load(std::memory_order_relaxed); }
  void SetClamp(double low, double high);

  // Further parameters the control shows; their values arrive by
  // SetLinkedValueFromParam. Added while the editor is built.
  bool AddLinkedParam(int paramIdx);
  int NLinkedParams() const { return mLinkedParams.GetCount(); }
  int LinkedParamIdx(int position) const;     // -1 outside
  double GetLinkedValue(int position) const;  // 0 outside

  // ---- Geometry and appearance ----
  const IRectangle& GetRect() const { return mRect; }
  const IRectangle& GetTargetRect() const { return mTargetRect; }
  void SetTargetRect(const IRectangle& r) { mTargetRect = r; }
  bool IsHidden() const { return mHidden; }
  bool IsGrayed() const { return mGrayed; }
  const IBlend& GetBlend() const { return mBlend; }
  ITextStyle& GetTextStyle() { return mTextStyle; }
  int GetTextEntryLength() const { return mTextEntryLength; }
  void SetTextEntryLength(int length) { mTextEntryLength = length; }
  const char* GetTooltip() const { return mTooltip.Get(); }
  void SetTooltip(const char* text) { mTooltip.Set(text); }

  // ---- Behaviour flags ----
  bool DoubleClickAsClick() const { return mDoubleClickAsClick; }
  void SetDoubleClickAsClick(bool on) { mDoubleClickAsClick = on; }
  bool MouseOverWhenGrayed() const { return mMouseOverWhenGrayed; }
  void SetMouseOverWhenGrayed(bool on) { mMouseOverWhenGrayed = on; }
  bool IsPromptDisabled() const { return mPromptDisabled; }
  void SetPromptDisabled(bool disabled) { mPromptDisabled = disabled; }

  // ---- Display controls (not owned) ----
  // After every value the user sets, the value-display control is given the value's
  // text with its unit and the name-display control the parameter's name.
  void SetValueDisplayControl(IControl* control) { mValueDisplay = control; }
  void SetNameDisplayControl(IControl* control) { mNameDisplay = control; }
  // The text this control shows as a display control; a changed text marks it dirty.
  void SetDisplayText(const char* text);
  const char* GetDisplayText() const { return mDisplayText.Get(); }

  IPlugBase* GetPlug() const { return mPlug; }

protected:
  void SetValue(double normalized) { mValue.store(normalized, std::memory_order_relaxed); }
  void SetRedrawPending();

private:
  struct LinkedParam;

  enum DrawState
  {
    kDirty = 1,
    kRedrawPending = 2
  };

  void UpdateDisplayControls();

  int mTextEntryLength = 32;
  ITextStyle mTextStyle;
  IPlugBase* mPlug;
  IRectangle mRect;
  IRectangle mTargetRect;
  int mParamIdx;
  PtrList<LinkedParam> mLinkedParams;
  std::atomic<double> mValue{0.0};
  std::atomic<double> mDefaultValue{-1.0};
  double mClampLow = 0.0;
  double mClampHigh = 1.0;
  // The dirty and redraw-pending flags live in one atomic so that MarkClean on the
  // window thread cannot lose a mark made meanwhile on the audio thread.
  std::atomic<int> mDrawState{kDirty};
  bool mHidden = false;
  bool mGrayed = false;
  bool mPromptDisabled = true;
  bool mDoubleClickAsClick = false;
  bool mMouseOverWhenGrayed = false;
  IBlend mBlend;
  IControl* mValueDisplay = nullptr;
  IControl* mNameDisplay = nullptr;
  PlugString mTooltip;
  PlugString mDisplayText;
};
