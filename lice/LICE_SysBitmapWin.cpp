#include "LICE_SysBitmap.h"

#include <windows.h>

#include <cstdint>

// GDI variant: a top-down 32-bit DIB section selected into a memory device context.

LICE_SysBitmap::LICE_SysBitmap(int w, int h)
{
  m_dc = CreateCompatibleDC(nullptr);
  resize(w, h);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  if (m_oldbitmap && m_dc) SelectObject(m_dc, static_cast<HGDIOBJ>(m_oldbitmap));
  if (m_bitmap) DeleteObject(m_bitmap);
  if (m_dc) DeleteDC(m_dc);
}

bool LICE_SysBitmap::resize(int w, int h)
{
  if (!m_dc)
  {
    m_width = m_height = 0;
    m_bits = nullptr;
    return false;
  }
  if (w == m_width && h == m_height) return false;

  m_width = w;
  m_height = h;
  if (w != 0 && h != 0 && w <= m_allocw && h <= m_alloch && m_bits) return true;

  m_alloch = h;
  m_allocw = (int)(((int64_t)w + 3) & ~(int64_t)3);
  if (m_oldbitmap)
  {
    SelectObject(m_dc, static_cast<HGDIOBJ>(m_oldbitmap));
    m_oldbitmap = nullptr;
  }
  if (m_bitmap)
  {
    DeleteObject(m_bitmap);
    m_bitmap = nullptr;
  }
  m_bits = nullptr;
  if (m_allocw < 1 || h < 1) return false;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = m_allocw;
  info.bmiHeader.biHeight = isFlipped() ? h : -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  void* bits = nullptr;
  m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (m_bitmap && bits)
  {
    m_bits = static_cast<LICE_pixel*>(bits);
    m_oldbitmap = SelectObject(m_dc, m_bitmap);
  }
  else
  {
    if (m_bitmap) DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_width = m_height = 0;
  }
  return true;
}
