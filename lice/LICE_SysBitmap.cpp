#include "LICE_SysBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

// Memory-backed variant for systems without GDI: no device context, pixels on the heap.

LICE_SysBitmap::LICE_SysBitmap(int w, int h)
{
  resize(w, h);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  free(m_bits);
}

bool LICE_SysBitmap::resize(int w, int h)
{
  if (w == m_width && h == m_height) return false;
  m_width = w;
  m_height = h;
  if (w != 0 && h != 0 && w <= m_allocw && h <= m_alloch && m_bits) return true;

  m_alloch = h;
  m_allocw = (int)(((int64_t)w + 3) & ~(int64_t)3);
  free(m_bits);
  m_bits = nullptr;
  if (m_allocw < 1 || h < 1) return false;

  const int64_t bytes = (int64_t)m_allocw * h * 4;
  if (bytes <= INT_MAX) m_bits = (LICE_pixel*)malloc((size_t)bytes);
  if (!m_bits) m_width = m_height = 0;
  return true;
}
