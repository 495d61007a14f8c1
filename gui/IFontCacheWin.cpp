#include "IFontCache.h"

#include <cstring>
#include <memory>
#include <new>

#include "IMutexLock.h"
#include "LICE_CachedFont.h"

struct IFontCache::Entry
{
  int size;
  int orientation;
  int style;
  char face[kFaceBytes];
  std::unique_ptr<LICE_CachedFont> font;
};

namespace
{
bool SameFace(const char* stored, const char* face)
{
  return std::strncmp(stored, face, IFontCache::kFaceChars) == 0;
}
}  // namespace

IFontCache& IFontCache::Instance()
{
  static IFontCache cache;
  return cache;
}

IFontCache::IFontCache() = default;

IFontCache::~IFontCache() = default;

LICE_CachedFont* IFontCache::Find(int size, int orientation, int style, const char* face)
{
  IMutexLock lock(mMutex);
  return FindLocked(size, orientation, style, face);
}

LICE_CachedFont* IFontCache::Add(int size, int orientation, int style, const char* face, LICE_CachedFont* font)
{
  if (!font) return nullptr;
  std::unique_ptr<LICE_CachedFont> owned(font);
  std::unique_ptr<Entry> entry(new (std::nothrow) Entry{size, orientation, style, {}, nullptr});
  if (!entry) return nullptr;
  std::strncpy(entry->face, face, kFaceChars);
  entry->font = std::move(owned);
  IMutexLock lock(mMutex);
  if (!mEntries.Add(entry.get())) return nullptr;
  entry.release();
  return FindLocked(size, orientation, style, face);
}

LICE_CachedFont* IFontCache::FindLocked(int size, int orientation, int style, const char* face) const
{
  const int count = mEntries.GetCount();
  for (int i = 0; i < count; ++i)
  {
    const Entry* entry = mEntries.Get(i);
    if (entry->size == size && entry->orientation == orientation && entry->style == style &&
        SameFace(entry->face, face))
      return entry->font.get();
  }
  return nullptr;
}
