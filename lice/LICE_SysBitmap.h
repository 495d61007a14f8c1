#pragma once

#include "LICE_IBitmap.h"

typedef struct HBITMAP__* LICE_HBITMAP;

// Bitmap that a window can copy to the screen: on Windows its pixels are a top-down
// 32-bit GDI DIB section selected into a memory device context; elsewhere they are a
// plain heap block and getDC() is null. The storage is reused while it is at least
// as large as the requested size; the row span is the allocated width, a multiple
// of 4 pixels.
class LICE_SysBitmap : public LICE_IBitmap
{
public:
  LICE_SysBitmap(int w = 0, int h = 0);
  ~LICE_SysBitmap() override;

  LICE_pixel* getBits() override { return m_bits; }
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  int getRowSpan() override { return m_allocw; }
  bool resize(int w, int h) override;
  LICE_HDC getDC() override { return m_dc; }

private:
  int m_width = 0;
  int m_height = 0;
  LICE_HDC m_dc = nullptr;
  LICE_pixel* m_bits = nullptr;
  int m_allocw = 0;
  int m_alloch = 0;
  LICE_HBITMAP m_bitmap = nullptr;
  void* m_oldbitmap = nullptr;
};
