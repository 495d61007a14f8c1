#pragma once

#include <cstddef>
#include <memory>

#include "IBitmapStrip.h"

class LICE_IBitmap;
class LICE_MemBitmap;

// One strip image of an editor as the editor draws it at its scale s: every frame at its
// device size (IGraphics::DeviceRect of a frame at (0, 0)), the frames
// laid out as in the strip. At scale 1 that is the 1x image itself; at 2 the image of
// twice the size itself, when the product names one (SetDouble) that is exactly twice
// as large. At any other scale each frame of the nearest larger density (the 1x image
// below 1, the 2x image above 1, filtered up above 2; the 1x image when there is no 2x
// one) is resampled by area averaging (LICE_ResampleArea) into a copy this object owns.
// A copy is made once per size, by Render, never while drawing.
class IScaledStrip
{
public:
  // strip: its 1x image (from the bitmap cache, not owned); id2x and fileName2x name
  // the image of twice the size (-1 and null: none); fileName2x must outlive this.
  IScaledStrip(const IBitmapStrip& strip, int id2x, const char* fileName2x);
  ~IScaledStrip();

  IScaledStrip(const IScaledStrip&) = delete;
  IScaledStrip& operator=(const IScaledStrip&) = delete;

  // The same image cut into the same frames.
  bool Shows(const IBitmapStrip& strip) const;
  int DoubleId() const { return mId2x; }
  const char* DoubleFileName() const { return mFileName2x; }
  // The 2x image (from the bitmap cache, not owned), or null; taken at the next Render.
  void SetDouble(LICE_IBitmap* bitmap);
  bool HasDouble() const { return mDouble.bitmap != nullptr; }

  // Makes the frames at scale (their device size); nothing when they are at that size
  // already. False, the strip then drawing as nothing, when the copy cannot be made.
  bool Render(double scale);
  // The image holding 0-based frame k (clamped into the frames) at the rendered scale
  // and the frame's top-left corner in it; null when nothing is rendered.
  LICE_IBitmap* Frame(int k, int& x, int& y) const;
  int FrameW() const { return mFrameW; }
  int FrameH() const { return mFrameH; }
  // The bytes of the resampled copy (0 when an image is drawn as it is).
  size_t CopyBytes() const;
  // The bytes of the decoded image the frames come from at the rendered scale.
  size_t SourceBytes() const;

private:
  bool DrawsDoubleAsItIs(double scale) const;
  bool Resample(const IBitmapStrip& from);

  IBitmapStrip mStrip;
  IBitmapStrip mDouble;
  int mId2x;
  const char* mFileName2x;
  double mScale = 0.0;  // 0: nothing rendered
  int mFrameW = 0, mFrameH = 0;
  // The image the frames come from at the rendered scale (null: none), drawn as it is
  // unless there is a copy.
  const IBitmapStrip* mDrawn = nullptr;
  const IBitmapStrip* mCopySource = nullptr;
  std::unique_ptr<LICE_MemBitmap> mCopy;
};
