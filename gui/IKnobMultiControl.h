#pragma once

#include "IBitmapStrip.h"
#include "IKnobControl.h"

// A knob drawn as the frame of its strip that matches its value. Dragging up (or
// right) and the wheel raise the value; shift or control make both ten times finer.
class IKnobMultiControl : public IKnobControl
{
public:
  // The rectangle is one frame's size at (x, y); blend (normal, 1.0).
  IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip, int direction = kVertical,
                    double gearing = 4.0);

  bool Draw(IGraphics* graphics) override;
  void OnMouseDrag(int x, int y, int dX, int dY, const IMouseModifiers& mod) override;
  void OnMouseWheel(int x, int y, const IMouseModifiers& mod, int detents) override;

  const IBitmapStrip& GetStrip() const { return mStrip; }

private:
  IBitmapStrip mStrip;
};
