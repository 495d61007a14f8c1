#include "IKnobMultiControl.h"

#include "IBitmapControl.h"

IKnobMultiControl::IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                                     int direction, double gearing)
  : IKnobControl(plug, IBitmapControl::FrameRect(x, y, strip), paramIdx, direction, gearing)
  , mStrip(strip)
{
}

bool IKnobMultiControl::Draw(IGraphics* graphics)
{
  return IBitmapControl::DrawFrame(graphics, mStrip, GetRect(), GetValue(), GetBlend());
}

void IKnobMultiControl::OnMouseDrag(int, int, int dX, int dY, const IMouseModifiers& mod)
{
  double gearing = mGearing;
  if (mod.C || mod.S) gearing *= 10.0;
  const IRectangle& r = GetRect();
  const bool vertical = mDirection == kVertical;
  // Minus the height (dragging up raises the value), or the width.
  const int span = vertical ? r.T - r.B : r.R - r.L;
  if (span == 0 || !(gearing > 0.0)) return;  // no travel to map the drag onto
  SetValue(GetValue() + static_cast<double>(vertical ? dY : dX) / span / gearing);
  MarkDirty(true);
}

void IKnobMultiControl::OnMouseWheel(int, int, const IMouseModifiers& mod, int detents)
{
  SetValue(GetValue() + detents * ((mod.C || mod.S) ? 0.001 : 0.01));
  MarkDirty(true);
}
