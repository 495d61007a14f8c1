#include "ISwitchControl.h"

ISwitchControl::ISwitchControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip, int blendMethod)
  : IBitmapControl(plug, x, y, paramIdx, strip, blendMethod)
{
}

void ISwitchControl::OnMouseDown(int, int, const IMouseModifiers&)
{
  Step();
}

void ISwitchControl::OnMouseDoubleClick(int, int, const IMouseModifiers&)
{
  Step();
}

void ISwitchControl::Step()
{
  const int frames = mStrip.n;
  const double step = frames > 1 ? 1.0 / (frames - 1) : 1.0;
  double value = GetValue() + step;
  if (value > 1.001) value = 0.0;
  SetValue(value);
  MarkDirty(true);
}
