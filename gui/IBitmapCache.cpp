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
  if (!bitmap) return Find(id);
  std::unique_ptr<LICE_IBitmap> owned(bitmap);
  std::unique_ptr<Entry> entry(new (std::nothrow) Entry{id, nullptr});
  IMutexLock lock(mMutex);
  if (entry)
  {
    entry->bitmap = std::move(owned);
    if (mEntries.Add(entry.get()))
      entry.release();
    else
      owned = std::move(entry->bitmap);
  }
  // Without memory for an entry the bitmap is freed on return: unless another
  // editor stored the image, it draws as nothing.
  return FindLocked(id);
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
