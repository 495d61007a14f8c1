#include "GrowAllocator.h"

#include <cstdlib>

namespace
{
class HeapAllocator final : public GrowAllocator
{
public:
  void* Reallocate(void* block, size_t bytes) override { return std::realloc(block, bytes); }
  void* Allocate(size_t bytes) override { return std::malloc(bytes); }
  void Release(void* block) override { std::free(block); }
};
}  // namespace

GrowAllocator& GrowAllocator::Standard()
{
  static HeapAllocator heap;
  return heap;
}
