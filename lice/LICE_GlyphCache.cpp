#include "LICE_GlyphCache.h"

#include <algorithm>
#include <cstring>

LICE_GlyphCache::LICE_GlyphCache()
  : mList(4096)
  , mMasks(65536)
{
  std::memset(mDirect, 0, sizeof(mDirect));
}

LICE_GlyphInfo* LICE_GlyphCache::Find(int c)
{
  if (c >= 0 && c < 128) return &mDirect[c];
  LICE_GlyphInfo* items = List();
  int lo = 0;
  int hi = ListSize() - 1;
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

LICE_GlyphInfo* LICE_GlyphCache::Append(int c)
{
  const int n = ListSize();
  if (!mList.resize((n + 1) * (int)sizeof(LICE_GlyphInfo))) return nullptr;
  LICE_GlyphInfo* rec = List() + n;
  *rec = LICE_GlyphInfo{0, 0, 0, 0, c, 0};
  return rec;
}

void LICE_GlyphCache::SortList()
{
  std::sort(List(), List() + ListSize(),
            [](const LICE_GlyphInfo& a, const LICE_GlyphInfo& b) { return a.code - b.code < 0; });
}

int LICE_GlyphCache::AllocMask(int bytes)
{
  const int old = mMasks.Size();
  if (bytes < 0 || bytes > 0x7FFFFFFF - old - 1) return -1;
  if (!mMasks.resize(old + bytes)) return -1;
  return old + 1;
}

void LICE_GlyphCache::TruncateMasks(int size)
{
  if (size >= 0 && size <= mMasks.Size()) mMasks.resize(size);
}

unsigned char* LICE_GlyphCache::Mask(int pos)
{
  if (pos < 1 || pos > mMasks.Size()) return nullptr;
  return mMasks.Data() + pos - 1;
}

void LICE_GlyphCache::Clear()
{
  std::memset(mDirect, 0, sizeof(mDirect));
  mList.resize(0);
  mMasks.Release();
}
