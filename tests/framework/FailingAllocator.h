#pragma once

#include <cstdlib>

#include "GrowAllocator.h"

// A heap allocator whose reallocations and fresh allocations can be made to
// fail, and which counts the calls that reach it.
class FailingAllocator final : public GrowAllocator
{
public:
  bool failReallocate = false;
  bool failAllocate = false;
  int reallocations = 0;
  int allocations = 0;
  int releases = 0;

  void FailAll(bool fail) { failReallocate = failAllocate = fail; }

  void* Reallocate(void* block, size_t bytes) override
  {
    ++reallocations;
    return failReallocate ? nullptr : std::realloc(block, bytes);
  }
  void* Allocate(size_t bytes) override
  {
    ++allocations;
    return failAllocate ? nullptr : std::malloc(bytes);
  }
  void Release(void* block) override
  {
    ++releases;
    std::free(block);
  }
};
