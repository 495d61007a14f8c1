#pragma once

#include <cstring>

#include "GrowBuffer.h"

// A list of object pointers kept in a GrowBuffer of page granularity. An
// owning list (the default) deletes its objects when entries are deleted,
// when it is emptied and when it is destroyed; a non-owning list never does.
// An index outside the list reads as no entry.
template <class T, bool Owning = true>
class PtrList
{
public:
  PtrList()
    : mBuf(GrowBuffer::kPageGranularity)
  {
  }
  explicit PtrList(GrowAllocator* allocator)
    : mBuf(GrowBuffer::kPageGranularity, allocator)
  {
  }
  ~PtrList() { Empty(); }

  PtrList(const PtrList&) = delete;
  PtrList& operator=(const PtrList&) = delete;

  int GetCount() const { return mBuf.GetSize() / static_cast<int>(sizeof(T*)); }

  // The entry at index, or null for an index outside the list.
  T* Get(int index) const
  {
    if (index < 0 || index >= GetCount()) return nullptr;
    return Slots()[index];
  }

  // Appends item. Returns item, or null when the list could not grow (the
  // entry is then not added and the caller keeps the object).
  T* Add(T* item)
  {
    const int count = GetCount();
    if (!Grow()) return nullptr;
    Slots()[count] = item;
    return item;
  }

  // Puts item at index (clamped into 0 ... count); later entries move up.
  T* Insert(int index, T* item)
  {
    const int count = GetCount();
    if (index < 0) index = 0;
    if (index > count) index = count;
    if (!Grow()) return nullptr;
    T** slots = Slots();
    std::memmove(slots + index + 1, slots + index, sizeof(T*) * static_cast<size_t>(count - index));
    slots[index] = item;
    return item;
  }

  // Removes the entry at index, deleting its object in an owning list.
  void Delete(int index)
  {
    const int count = GetCount();
    if (index < 0 || index >= count) return;
    T** slots = Slots();
    T* item = slots[index];
    std::memmove(slots + index, slots + index + 1, sizeof(T*) * static_cast<size_t>(count - index - 1));
    mBuf.Resize((count - 1) * static_cast<int>(sizeof(T*)), false);
    Dispose(item);
  }

  // Removes every entry, last first, deleting the objects of an owning list,
  // and frees the block.
  void Empty()
  {
    for (int i = GetCount() - 1; i >= 0; --i)
    {
      T* item = Slots()[i];
      mBuf.Resize(i * static_cast<int>(sizeof(T*)), false);
      Dispose(item);
    }
    mBuf.Resize(0, true);
  }

  // The index of the first entry equal to item, or -1.
  int Find(const T* item) const
  {
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
      if (Slots()[i] == item) return i;
    return -1;
  }

private:
  T** Slots() const { return static_cast<T**>(mBuf.Get()); }

  bool Grow()
  {
    const int size = mBuf.GetSize() + static_cast<int>(sizeof(T*));
    mBuf.Resize(size, false);
    return mBuf.GetSize() == size;
  }

  static void Dispose(T* item)
  {
    if constexpr (Owning)
      delete item;
    else
      (void)item;
  }

  GrowBuffer mBuf;
};
