#include "IBitmapControl.h"

#include "IGraphics.h"

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip, int blendMethod)
  : IControl(plug, FrameRect(x, y, strip), paramIdx, IBlend{blendMethod, 1.0f})
  , mStrip(strip)
{
}

bool IBitmapControl::Draw(IGraphics* graphics)
{
  return DrawFrame(graphics, mStrip, GetRect(), GetValue(), GetBlend());
}

bool IBitmapControl::DrawFrame(IGraphics* graphics, const IBitmapStrip& strip, const IRectangle& rect, double value,
                               const IBlend& blend)
{
  if (!graphics) return false;
  int srcX = 0, srcY = 0;
  strip.FrameOffset(strip.FrameForValue(value), srcX, srcY);
  return graphics->DrawBitmap(strip, rect, srcX, srcY, &blend);
}

IRectangle IBitmapControl::FrameRect(int x, int y, const IBitmapStrip& strip)
{
  return IRectangle(x, y, x + strip.FrameW(), y + strip.FrameH());
}
