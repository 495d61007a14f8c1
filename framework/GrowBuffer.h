#pragma once

#include "GrowAllocator.h"

// A growable block of bytes. Growth is by at least half the new size and at
// least the granularity; granularities of 4096 and more give blocks that end
// 96 bytes short of a 4096-byte multiple. A failed allocation leaves the
// buffer exactly as it was, so callers detect it by an unchanged size.
class GrowBuffer
{
public:
  static constexpr int kPageGranularity = 4096;

  // allocator: null means GrowAllocator::Standard(); it must outlive the buffer.
  explicit GrowBuffer(int granularity = kPageGranularity, GrowAllocator* allocator = nullptr);
  ~GrowBuffer();

  GrowBuffer(const GrowBuffer&) = delete;
  GrowBuffer& operator=(const GrowBuffer&) = delete;

  // Makes the used size n (negative counts as 0). The block is only reduced
  // when allowShrink is set. Returns the data, or null while the size is 0.
  void* Resize(int n, bool allowShrink);

  // The data, or null while the used size is 0.
  void* Get() const;
  int GetSize() const { return mUsed; }
  int GetAllocated() const { return mAllocated; }
  int GetGranularity() const { return mGranularity; }

private:
  // The block size for a used size of n > 0; -1 when it exceeds the int range.
  long long BlockSizeFor(int n) const;

  void* mData = nullptr;
  int mAllocated = 0;
  int mUsed = 0;
  int mGranularity;
  GrowAllocator* mAllocator;
};
