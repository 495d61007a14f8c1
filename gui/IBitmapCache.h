#pragma once

#include "IMutex.h"
#include "PtrList.h"

class LICE_IBitmap;

// The process-wide store of decoded images, shared by every editor of every plug-in
// instance: an append-only list of (resource ID, bitmap) that owns its bitmaps and
// frees them only when the module is unloaded. Its own lock is held only while
// searching or appending, never while an image is decoded.
class IBitmapCache
{
public:
  static IBitmapCache& Instance();

  // The bitmap of the first entry for id, or null when there is none.
  LICE_IBitmap* Find(int id);
  // Appends (id, bitmap), taking ownership of bitmap. A null bitmap is not stored,
  // so a failed decode is tried again by the next load. Returns the bitmap of the
  // first entry for id afterwards: when another editor stored the same image first,
  // that one is used from then on (bitmap stays in the cache too).
  LICE_IBitmap* Add(int id, LICE_IBitmap* bitmap);

  IBitmapCache(const IBitmapCache&) = delete;
  IBitmapCache& operator=(const IBitmapCache&) = delete;

private:
  struct Entry;

  IBitmapCache();
  ~IBitmapCache();
  LICE_IBitmap* FindLocked(int id) const;

  IMutex mMutex;
  PtrList<Entry> mEntries;
};
