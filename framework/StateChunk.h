#pragma once

#include "GrowBuffer.h"

// The bytes of a serialised plug-in state: raw values appended with Put and
// read back with Get at a byte position that the caller carries along.
class StateChunk
{
public:
  explicit StateChunk(GrowAllocator* allocator = nullptr);

  StateChunk(const StateChunk&) = delete;
  StateChunk& operator=(const StateChunk&) = delete;

  // Appends n bytes; returns the new size. When the chunk cannot grow nothing
  // is appended and the old size is returned.
  int Put(const void* bytes, int n);

  // Copies n bytes from byte position pos into out and returns pos + n, or
  // returns -1 and copies nothing when they are not all inside the chunk.
  int Get(void* out, int n, int pos) const;

  void Clear();

  int GetSize() const { return mBuf.GetSize(); }
  unsigned char* GetData() { return static_cast<unsigned char*>(mBuf.Get()); }
  const unsigned char* GetData() const { return static_cast<const unsigned char*>(mBuf.Get()); }

private:
  GrowBuffer mBuf;
};
