#pragma once

#include "IBitmapControl.h"

// A bitmap control that steps to its next frame on every click, from the last
// frame back to the first.
class ISwitchControl : public IBitmapControl
{
public:
  ISwitchControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                 int blendMethod = IBlend::kNormal);

  void OnMouseDown(int x, int y, const IMouseModifiers& mod) override;
  // Steps like a click: the press before it stepped already, so a double click
  // steps twice.
  void OnMouseDoubleClick(int x, int y, const IMouseModifiers& mod) override;

private:
  void Step();
};
