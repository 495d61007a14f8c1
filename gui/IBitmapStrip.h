#pragma once

class LICE_IBitmap;

// A decoded image seen as a strip of equal frames, stacked top to bottom unless
// framesHorizontal is set. The bitmap belongs to the bitmap cache; controls copy the
// strip by value. A strip without a bitmap draws as nothing, and a frame count below
// 1 counts as 1.
struct IBitmapStrip
{
  LICE_IBitmap* bitmap = nullptr;
  int w = 0, h = 0;  // size of the whole image
  int n = 1;         // number of frames
  bool framesHorizontal = false;

  int NFrames() const { return n > 1 ? n : 1; }
  int FrameW() const { return framesHorizontal ? w / NFrames() : w; }
  int FrameH() const { return framesHorizontal ? h : h / NFrames(); }

  // The 1-based frame that shows normalised value v: 1 + trunc((N - 1) * v + 0.5),
  // kept in 1..N (frame 1 for NaN).
  int FrameForValue(double v) const;
  // The top-left corner of 1-based frame i inside the image.
  void FrameOffset(int i, int& srcX, int& srcY) const;
};
