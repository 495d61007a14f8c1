#include "IBitmapStrip.h"

int IBitmapStrip::FrameForValue(double v) const
{
  const int frames = NFrames();
  if (frames <= 1) return 1;
  const double position = (frames - 1) * v + 0.5;
  if (!(position >= 1.0)) return 1;  // below the second frame, or NaN
  if (position >= frames - 1) return frames;
  return 1 + static_cast<int>(position);
}

void IBitmapStrip::FrameOffset(int i, int& srcX, int& srcY) const
{
  srcX = 0;
  srcY = 0;
  const int frames = NFrames();
  if (frames <= 1 || i <= 1) return;
  if (framesHorizontal)
    srcX = static_cast<int>(static_cast<double>(w) * (i - 1) / frames + 0.5);
  else
    srcY = static_cast<int>(static_cast<double>(h) * (i - 1) / frames + 0.5);
}
