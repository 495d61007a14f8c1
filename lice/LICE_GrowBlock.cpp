#include "LICE_GrowBlock.h"

#include <cstdlib>

LICE_GrowBlock::~LICE_GrowBlock()
{
  std::free(mData);
}

bool LICE_GrowBlock::resize(int size)
{
  if (size < 0) return false;
  if (size > mCapacity)
  {
    const long long steps = ((long long)size + mGranularity - 1) / mGranularity;
    const long long capacity = steps * mGranularity;
    if (capacity > 0x7FFFFFFF) return false;
    void* grown = std::realloc(mData, (size_t)capacity);
    if (!grown) return false;
    mData = static_cast<unsigned char*>(grown);
    mCapacity = (int)capacity;
  }
  mSize = size;
  return true;
}

void LICE_GrowBlock::Release()
{
  std::free(mData);
  mData = nullptr;
  mSize = 0;
  mCapacity = 0;
}
