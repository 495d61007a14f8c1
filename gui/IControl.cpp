#include "IControl.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "IGraphics.h"
#include "IParamRecord.h"
#include "IPlugBase.h"

static_assert(std::atomic<double>::is_always_lock_free, "control values must be lock-free atomics");
static_assert(std::atomic<int>::is_always_lock_free, "control flags must be lock-free atomics");

struct IControl::LinkedParam
{
  std::atomic<double> value{0.0};
  int paramIdx = -1;
};

IControl::IControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, const IBlend& blend)
  : mPlug(plug)
  , mRect(rect)
  , mTargetRect(rect)
  , mParamIdx(paramIdx)
  , mBlend(blend)
{
}

IControl::~IControl() = default;

void IControl::OnMouseDown(int, int, const IMouseModifiers& mod)
{
  if (mod.R) PromptForParamValue();
}

void IControl::OnMouseUp(int, int, const IMouseModifiers&) {}

void IControl::OnMouseDrag(int, int, int, int, const IMouseModifiers&) {}

void IControl::OnMouseDoubleClick(int, int, const IMouseModifiers&)
{
  const double defaultValue = GetDefaultValue();
  if (defaultValue >= 0.0)
  {
    SetValue(defaultValue);
    MarkDirty(true);
  }
}

void IControl::OnMouseWheel(int, int, const IMouseModifiers&, int) {}

bool IControl::OnKeyDown(int, int, int)
{
  return false;
}

void IControl::OnMouseOver(int, int, const IMouseModifiers&) {}

void IControl::OnMouseOut() {}

// The redraw-pending mark is made before MarkDirty everywhere: a MarkClean running
// in between on the window thread then turns it into a dirty mark instead of
// clearing a dirty mark that has no pending one behind it.
void IControl::SetValueFromParam(double normalized)
{
  if (GetDefaultValue() < 0.0)
  {
    mDefaultValue.store(normalized, std::memory_order_relaxed);
    SetValue(normalized);
    return;
  }
  if (normalized != GetValue())
  {
    SetValue(normalized);
    SetRedrawPending();
    MarkDirty(false);
  }
}

void IControl::SetValueFromUser(double normalized)
{
  if (normalized != GetValue())
  {
    SetValue(normalized);
    SetRedrawPending();
    MarkDirty(true);
  }
}

void IControl::SetTextFromEntry(const char*) {}

void IControl::SetHidden(bool hidden)
{
  mHidden = hidden;
  SetRedrawPending();
  MarkDirty(false);
}

void IControl::SetGrayed(bool grayed)
{
  mGrayed = grayed;
  mBlend.weight = grayed ? 0.25f : 1.0f;
  MarkDirty(false);
}

bool IControl::HitTest(int x, int y)
{
  const IRectangle& r = mTargetRect;
  if (r.Empty()) return false;
  return r.L <= x && x < r.R && r.T <= y && y < r.B;
}

void IControl::MarkDirty(bool sendToPlug)
{
  double value = GetValue();
  if (!(value >= mClampLow))  // NaN too
    value = mClampLow;
  else if (value > mClampHigh)
    value = mClampHigh;
  SetValue(value);
  mDrawState.fetch_or(kDirty, std::memory_order_relaxed);
  if (sendToPlug && mPlug && mParamIdx >= 0)
  {
    mPlug->SetParamFromEditor(mParamIdx, value);
    UpdateDisplayControls();
  }
}

void IControl::MarkClean()
{
  int state = mDrawState.load(std::memory_order_relaxed);
  while (!mDrawState.compare_exchange_weak(state, (state & kRedrawPending) ? kDirty : 0, std::memory_order_relaxed))
  {
  }
}

bool IControl::IsDirty()
{
  return (mDrawState.load(std::memory_order_relaxed) & kDirty) != 0;
}

void IControl::SetLinkedValueFromParam(int position, double normalized)
{
  LinkedParam* linked = mLinkedParams.Get(position);
  if (!linked || linked->value.load(std::memory_order_relaxed) == normalized) return;
  linked->value.store(normalized, std::memory_order_relaxed);
  SetRedrawPending();
  MarkDirty(false);
}

void IControl::PromptForParamValue()
{
  if (mParamIdx < 0 || mPromptDisabled || !mPlug) return;
  IParamRecord* param = mPlug->GetParamRecord(mParamIdx);
  IGraphics* graphics = IGraphics::Of(mPlug);
  if (!param || !graphics) return;
  IRectangle r = mRect;
  if (param->GetNDisplayTexts() == 0)
  {
    const int cx = static_cast<int>(static_cast<float>(mRect.L + mRect.R) * 0.5f);
    const int cy = static_cast<int>(static_cast<float>(mRect.T + mRect.B) * 0.5f);
    r = IRectangle(cx - 20, cy - 8, cx + 20, cy + 8);
  }
  graphics->AskParamValue(this, param, r);
  SetRedrawPending();
}

void IControl::SetClamp(double low, double high)
{
  mClampLow = low;
  mClampHigh = high;
}

bool IControl::AddLinkedParam(int paramIdx)
{
  LinkedParam* linked = new (std::nothrow) LinkedParam;
  if (!linked) return false;
  linked->paramIdx = paramIdx;
  if (mLinkedParams.Add(linked)) return true;
  delete linked;
  return false;
}

int IControl::LinkedParamIdx(int position) const
{
  const LinkedParam* linked = mLinkedParams.Get(position);
  return linked ? linked->paramIdx : -1;
}

double IControl::GetLinkedValue(int position) const
{
  const LinkedParam* linked = mLinkedParams.Get(position);
  return linked ? linked->value.load(std::memory_order_relaxed) : 0.0;
}

void IControl::SetDisplayText(const char* text)
{
  if (!text) text = "";
  if (std::strcmp(text, mDisplayText.Get()) == 0) return;
  mDisplayText.Set(text);
  MarkDirty(false);
}

void IControl::SetRedrawPending()
{
  mDrawState.fetch_or(kRedrawPending, std::memory_order_relaxed);
}

void IControl::UpdateDisplayControls()
{
  if (!mValueDisplay && !mNameDisplay) return;
  const IParamRecord* param = mPlug->GetParamRecord(mParamIdx);
  if (!param) return;
  if (mValueDisplay)
  {
    char value[IParamRecord::kValueTextSize];
    param->FormatValue(param->GetValue(), value, sizeof value);
    char text[2 * IParamRecord::kValueTextSize];
    std::snprintf(text, sizeof text, "%s %s", value, param->GetUnitText());
    mValueDisplay->SetDisplayText(text);
  }
  if (mNameDisplay) mNameDisplay->SetDisplayText(param->GetName());
}
