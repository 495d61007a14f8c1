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
  if (mDirection == kVertical)
    SetValue(GetValue() + static_cast<double>(dY) / (r.T - r.B) / gearing);
  else
    SetValue(GetValue() + static_cast<double>(dX) / (r.R - r.L) / gearing);
  MarkDirty(true);
}

void IKnobMultiControl::OnMouseWheel(int, int, const IMouseModifiers& mod, int detents)
{
  SetValue(GetValue() + detents * ((mod.C || mod.S) ? 0.001 : 0.01));
  MarkDirty(true);
}
