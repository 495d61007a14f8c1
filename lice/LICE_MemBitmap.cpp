#include "LICE_MemBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

LICE_MemBitmap::~LICE_MemBitmap()
{
  free(m_buffer);
}

LICE_pixel* LICE_MemBitmap::getBits()
{
  if (!m_buffer) return nullptr;
  const uintptr_t aligned = ((uintptr_t)m_buffer + 63) & ~(uintptr_t)63;
  return (LICE_pixel*)aligned;
}

bool LICE_MemBitmap::resize(int w, int h)
{
  if (w == m_width && h == m_height) return false;
  m_width = w;
  m_height = h;

  // The byte count must fit an int32 together with the alignment slack; a size that
  // does not is treated like a failed allocation.
  const int64_t rowPixels = ((int64_t)w + m_linealign) & ~(int64_t)m_linealign;
  const int64_t wanted = rowPixels * (int64_t)h * 4;
  const bool fits = wanted <= (int64_t)INT_MAX - 63 - INT_MAX / 4;

  if (w >= 1 && h >= 1 && fits)
  {
    const int bytes = (int)wanted;
    if (!m_buffer)
    {
      m_buffer = (unsigned char*)malloc((size_t)bytes + 63);
      m_allocated = m_buffer ? bytes : 0;
    }
    else if (bytes > m_allocated)
    {
      const int grown = bytes + bytes / 4;
      unsigned char* moved = (unsigned char*)realloc(m_buffer, (size_t)grown + 63);
      if (moved)
      {
        m_buffer = moved;
        m_allocated = grown;
      }
      else
      {
        free(m_buffer);
        m_buffer = (unsigned char*)malloc((size_t)bytes + 63);
        m_allocated = m_buffer ? bytes : 0;
      }
    }
  }
  else
  {
    free(m_buffer);
    m_buffer = nullptr;
    m_allocated = 0;
  }

  if (!m_buffer) m_width = m_height = 0;
  return true;
}
