#include "GrowBuffer.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace
{
constexpr long long kPage = 4096;
constexpr long long kMaxPageStep = 4194304;
constexpr long long kPageSlack = 96;
}  // namespace

GrowBuffer::GrowBuffer(int granularity, GrowAllocator* allocator)
  : mGranularity(granularity)
  , mAllocator(allocator ? allocator : &GrowAllocator::Standard())
{
}

GrowBuffer::~GrowBuffer()
{
  if (mData) mAllocator->Release(mData);
}

void* GrowBuffer::Get() const
{
  return mUsed ? mData : nullptr;
}

long long GrowBuffer::BlockSizeFor(int n) const
{
  long long g = std::max<long long>(n >> 1, mGranularity);
  if (mGranularity >= kPage)
  {
    g = std::clamp(g & ~(kPage - 1), kPage, kMaxPageStep);
    g = ((n + kPageSlack + g) & ~(kPage - 1)) - kPageSlack;
  }
  else
  {
    g = n + g;
  }
  return g > INT_MAX ? -1 : g;
}

void* GrowBuffer::Resize(int n, bool allowShrink)
{
  if (n < 0) n = 0;

  if (n == mUsed && (!allowShrink || n >= mAllocated / 2)) return Get();

  int lowerBound = 0;
  if (allowShrink && n < mUsed)
  {
    const long long e = std::min<long long>(mAllocated / 2, mAllocated - 4LL * mGranularity);
    lowerBound = e > 0 ? static_cast<int>(e) : 1;
  }

  if (n > mAllocated || n < lowerBound)
  {
    const long long g = n ? BlockSizeFor(n) : 0;
    if (g < 0) return Get();
    if (g != mAllocated)
    {
      if (g == 0)
      {
        if (mData) mAllocator->Release(mData);
        mData = nullptr;
        mAllocated = mUsed = 0;
        return nullptr;
      }
      void* block = mAllocator->Reallocate(mData, static_cast<size_t>(g));
      if (!block)
      {
        block = mAllocator->Allocate(static_cast<size_t>(g));
        if (!block) return Get();
        if (mData)
        {
          std::memcpy(block, mData, static_cast<size_t>(std::min(n, mUsed)));
          mAllocator->Release(mData);
        }
      }
      mData = block;
      mAllocated = static_cast<int>(g);
    }
  }

  mUsed = n;
  return Get();
}
