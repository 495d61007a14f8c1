#include "StateChunk.h"

#include <climits>
#include <cstring>

StateChunk::StateChunk(GrowAllocator* allocator)
  : mBuf(GrowBuffer::kPageGranularity, allocator)
{
}

int StateChunk::Put(const void* bytes, int n)
{
  const int oldSize = mBuf.GetSize();
  if (n <= 0 || !bytes) return oldSize;
  const long long newSize = static_cast<long long>(oldSize) + n;
  if (newSize > INT_MAX) return oldSize;
  mBuf.Resize(static_cast<int>(newSize), false);
  if (mBuf.GetSize() != newSize) return mBuf.GetSize();
  std::memcpy(static_cast<unsigned char*>(mBuf.Get()) + oldSize, bytes, static_cast<size_t>(n));
  return mBuf.GetSize();
}

int StateChunk::Get(void* out, int n, int pos) const
{
  if (n < 0 || pos < 0 || !out) return -1;
  const long long end = static_cast<long long>(pos) + n;
  if (end > mBuf.GetSize()) return -1;
  if (n) std::memcpy(out, static_cast<const unsigned char*>(mBuf.Get()) + pos, static_cast<size_t>(n));
  return static_cast<int>(end);
}

void StateChunk::Clear()
{
  mBuf.Resize(0, false);
}
