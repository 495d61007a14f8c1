#include "IBitmapCache.h"

#include <memory>
#include <new>

#include "IMutexLock.h"
#include "LICE_IBitmap.h"

struct IBitmapCache::Entry
{
  int id;
  std::unique_ptr<LICE_IBitmap> bitmap;
};

IBitmapCache& IBitmapCache::Instance()
{
  static IBitmapCache cache;
  return cache;
}

IBitmapCache::IBitmapCache() = default;

IBitmapCache::~IBitmapCache() = default;

LICE_IBitmap* IBitmapCache::Find(int id)
{
  IMutexLock lock(mMutex);
  return FindLocked(id);
}

LICE_IBitmap* IBitmapCache::Add(int id, LICE_IBitmap* bitmap)
{
  std::unique_ptr<LICE_IBitmap> owned(bitmap);
  Entry* entry = new (std::nothrow) Entry{id, nullptr};
  IMutexLock lock(mMutex);
  if (entry)
  {
    entry->bitmap = std::move(owned);
    if (!mEntries.Add(entry))
    {
      owned = std::move(entry->bitmap);
      delete entry;
    }
  }
  return entry ? bitmap : nullptr;
}

LICE_IBitmap* IBitmapCache::FindLocked(int id) const
{
  const int count = mEntries.GetCount();
  for (int i = 0; i < count; ++i)
  {
    const Entry* entry = mEntries.Get(i);
    if (entry->id == id) return entry->bitmap.get();
  }
  return nullptr;
}
