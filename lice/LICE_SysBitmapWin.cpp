#include "LICE_SysBitmap.h"

#include <windows.h>

#include <cstdint>

// GDI variant: a top-down 32-bit DIB section selected into a memory device context.

LICE_SysBitmap::LICE_SysBitmap(int w, int h)
{
  mDC = CreateCompatibleDC(nullptr);
  resize(w, h);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  if (mOldBitmap && mDC) SelectObject(mDC, static_cast<HGDIOBJ>(mOldBitmap));
  if (mBitmap) DeleteObject(mBitmap);
  if (mDC) DeleteDC(mDC);
}

bool LICE_SysBitmap::resize(int w, int h)
{
  if (!mDC)
  {
    mWidth = mHeight = 0;
    mBits = nullptr;
    return false;
  }
  if (w == mWidth && h == mHeight) return false;

  mWidth = w;
  mHeight = h;
  if (w != 0 && h != 0 && w <= mAllocW && h <= mAllocH && mBits) return true;

  mAllocH = h;
  mAllocW = (int)(((int64_t)w + 3) & ~(int64_t)3);
  if (mOldBitmap)
  {
    SelectObject(mDC, static_cast<HGDIOBJ>(mOldBitmap));
    mOldBitmap = nullptr;
  }
  if (mBitmap)
  {
    DeleteObject(mBitmap);
    mBitmap = nullptr;
  }
  mBits = nullptr;
  if (mAllocW < 1 || h < 1) return false;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = mAllocW;
  info.bmiHeader.biHeight = isFlipped() ? h : -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  void* bits = nullptr;
  mBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (mBitmap && bits)
  {
    mBits = static_cast<LICE_pixel*>(bits);
    mOldBitmap = SelectObject(mDC, mBitmap);
  }
  else
  {
    if (mBitmap) DeleteObject(mBitmap);
    mBitmap = nullptr;
    mWidth = mHeight = 0;
  }
  return true;
}
