#include "IScaledStrip.h"

#include <new>

#include "IGraphics.h"

#include "LICE_IBitmap.h"
#include "LICE_MemBitmap.h"
#include "LICE_Resample.h"

IScaledStrip::IScaledStrip(const IBitmapStrip& strip, int id2x, const char* fileName2x)
  : mStrip(strip)
  , mId2x(id2x)
  , mFileName2x(fileName2x)
{
}

IScaledStrip::~IScaledStrip() = default;

bool IScaledStrip::Shows(const IBitmapStrip& strip) const
{
  return strip.bitmap == mStrip.bitmap && strip.NFrames() == mStrip.NFrames() &&
         strip.framesHorizontal == mStrip.framesHorizontal;
}

void IScaledStrip::SetDouble(LICE_IBitmap* bitmap)
{
  mDouble = IBitmapStrip();
  mDouble.n = mStrip.n;
  mDouble.framesHorizontal = mStrip.framesHorizontal;
  if (bitmap)
  {
    mDouble.bitmap = bitmap;
    mDouble.w = bitmap->getWidth();
    mDouble.h = bitmap->getHeight();
  }
  mScale = 0.0;
  mDrawn = nullptr;
  mCopy.reset();
  mCopySource = nullptr;
}

bool IScaledStrip::Render(double scale)
{
  if (scale == mScale && mDrawn) return true;
  mScale = scale;
  const IRectangle frame = IGraphics::DeviceRect(IRectangle(0, 0, mStrip.FrameW(), mStrip.FrameH()), scale);
  mFrameW = frame.W();
  mFrameH = frame.H();
  mDrawn = nullptr;
  if (scale == 1.0 || DrawsDoubleAsItIs(scale))
  {
    mDrawn = scale == 1.0 ? &mStrip : &mDouble;
    mCopy.reset();
    mCopySource = nullptr;
    return true;
  }
  const IBitmapStrip& from = scale > 1.0 && HasDouble() ? mDouble : mStrip;
  const bool horizontal = mStrip.framesHorizontal;
  const int n = mStrip.NFrames();
  const int w = horizontal ? n * mFrameW : mFrameW, h = horizontal ? mFrameH : n * mFrameH;
  if (mCopy && mCopySource == &from && mCopy->getWidth() == w && mCopy->getHeight() == h)
  {
    mDrawn = &from;
    return true;
  }
  return Resample(from);
}

// The 2x image is drawn as it is where its frames are exactly the frames' device size,
// one after the other.
bool IScaledStrip::DrawsDoubleAsItIs(double scale) const
{
  if (scale != 2.0 || !HasDouble() || mDouble.FrameW() != mFrameW || mDouble.FrameH() != mFrameH) return false;
  const int n = mStrip.NFrames();
  return mStrip.framesHorizontal ? mDouble.w == n * mFrameW : mDouble.h == n * mFrameH;
}

bool IScaledStrip::Resample(const IBitmapStrip& from)
{
  mCopy.reset();
  mCopySource = nullptr;
  if (!from.bitmap || mFrameW < 1 || mFrameH < 1) return false;
  const bool horizontal = mStrip.framesHorizontal;
  const int n = mStrip.NFrames();
  std::unique_ptr<LICE_MemBitmap> copy(
      new (std::nothrow) LICE_MemBitmap(horizontal ? n * mFrameW : mFrameW, horizontal ? mFrameH : n * mFrameH));
  if (!copy || !copy->getBits()) return false;
  for (int k = 0; k < n; ++k)
  {
    int sx = 0, sy = 0;
    from.FrameOffset(k + 1, sx, sy);
    const int dx = horizontal ? k * mFrameW : 0, dy = horizontal ? 0 : k * mFrameH;
    if (!LICE_ResampleArea(copy.get(), dx, dy, mFrameW, mFrameH, from.bitmap, sx, sy, from.FrameW(), from.FrameH()))
      return false;
  }
  mCopy = std::move(copy);
  mCopySource = &from;
  mDrawn = &from;
  return true;
}

LICE_IBitmap* IScaledStrip::Frame(int k, int& x, int& y) const
{
  x = y = 0;
  if (!mDrawn) return nullptr;
  const int n = mStrip.NFrames();
  k = k < 0 ? 0 : (k >= n ? n - 1 : k);
  if (!mCopy)
  {
    mDrawn->FrameOffset(k + 1, x, y);
    return mDrawn->bitmap;
  }
  (mStrip.framesHorizontal ? x : y) = k * (mStrip.framesHorizontal ? mFrameW : mFrameH);
  return mCopy.get();
}

size_t IScaledStrip::CopyBytes() const
{
  if (!mCopy) return 0;
  return static_cast<size_t>(mCopy->getRowSpan()) * static_cast<size_t>(mCopy->getHeight()) * sizeof(LICE_pixel);
}

size_t IScaledStrip::SourceBytes() const
{
  if (!mDrawn || !mDrawn->bitmap) return 0;
  LICE_IBitmap* image = mDrawn->bitmap;
  return static_cast<size_t>(image->getRowSpan()) * static_cast<size_t>(image->getHeight()) * sizeof(LICE_pixel);
}
