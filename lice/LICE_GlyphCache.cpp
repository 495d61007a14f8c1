#include "LICE_GlyphCache.h"

#include <algorithm>
#include <cstring>

LICE_GlyphCache::LICE_GlyphCache()
  : m_list(4096)
  , m_masks(65536)
{
  std::memset(m_direct, 0, sizeof(m_direct));
}

LICE_GlyphInfo* LICE_GlyphCache::find(int c)
{
  if (c >= 0 && c < 128) return &m_direct[c];
  LICE_GlyphInfo* items = list();
  int lo = 0;
  int hi = listSize() - 1;
  while (lo <= hi)
  {
    const int mid = (lo + hi) / 2;
    const int diff = c - items[mid].code;
    if (diff == 0) return &items[mid];
    if (diff < 0)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  return nullptr;
}

LICE_GlyphInfo* LICE_GlyphCache::append(int c)
{
  const int n = listSize();
  if (!m_list.resize((n + 1) * (int)sizeof(LICE_GlyphInfo))) return nullptr;
  LICE_GlyphInfo* rec = list() + n;
  *rec = LICE_GlyphInfo{0, 0, 0, 0, c, 0};
  return rec;
}

void LICE_GlyphCache::sortList()
{
  std::sort(list(), list() + listSize(),
            [](const LICE_GlyphInfo& a, const LICE_GlyphInfo& b) { return a.code - b.code < 0; });
}

int LICE_GlyphCache::allocMask(int bytes)
{
  const int old = m_masks.size();
  if (bytes < 0 || bytes > 0x7FFFFFFF - old - 1) return -1;
  if (!m_masks.resize(old + bytes)) return -1;
  return old + 1;
}

void LICE_GlyphCache::truncateMasks(int size)
{
  if (size >= 0 && size <= m_masks.size()) m_masks.resize(size);
}

unsigned char* LICE_GlyphCache::mask(int pos)
{
  if (pos < 1 || pos > m_masks.size()) return nullptr;
  return m_masks.data() + pos - 1;
}

void LICE_GlyphCache::clear()
{
  std::memset(m_direct, 0, sizeof(m_direct));
  m_list.resize(0);
  m_masks.release();
}
