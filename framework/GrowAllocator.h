#pragma once

#include <cstddef>

// The memory functions a GrowBuffer obtains its block through. The standard
// allocator uses the C heap; tests substitute one that can fail on demand.
class GrowAllocator
{
public:
  virtual ~GrowAllocator() = default;

  // realloc semantics: null on failure, the old block then stays valid.
  virtual void* Reallocate(void* block, size_t bytes) = 0;
  // malloc semantics: null on failure.
  virtual void* Allocate(size_t bytes) = 0;
  virtual void Release(void* block) = 0;

  // The process-wide C heap allocator.
  static GrowAllocator& Standard();
};
