#pragma once

#include "IBitmapStrip.h"
#include "IControl.h"

// A control that shows the frame of its bitmap strip chosen by its value; with one
// frame, a plain picture (the editor's background).
class IBitmapControl : public IControl
{
public:
  // The rectangle is one frame's size at (x, y); blend = (blendMethod, 1.0).
  IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                 int blendMethod = IBlend::kNormal);

  bool Draw(IGraphics* graphics) override;

  const IBitmapStrip& GetStrip() const { return mStrip; }

  // Draws the frame of strip that shows value into rect; shared with the knobs.
  static bool DrawFrame(IGraphics* graphics, const IBitmapStrip& strip, const IRectangle& rect, double value,
                        const IBlend& blend);
  // (x, y, x + frame width, y + frame height).
  static IRectangle FrameRect(int x, int y, const IBitmapStrip& strip);

protected:
  IBitmapStrip mStrip;
};
