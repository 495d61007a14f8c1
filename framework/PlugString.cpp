#include "PlugString.h"

#include <climits>
#include <cstring>

PlugString::PlugString(const char* text, GrowAllocator* allocator)
  : mBuf(kGranularity, allocator)
{
  if (text) Set(text);
}

void PlugString::Set(const char* text)
{
  const size_t len = text ? std::strlen(text) : 0;
  if (len >= static_cast<size_t>(INT_MAX)) return;
  Set(0, text, static_cast<int>(len));
}

void PlugString::Set(int position, const char* text, int len)
{
  if (len == 0)
  {
    if (position != 0) return;
    mBuf.Resize(1, false);
    if (mBuf.GetSize() >= 1) static_cast<char*>(mBuf.Get())[0] = '\0';
    return;
  }
  if (len < 0 || position < 0) return;

  const long long needed = static_cast<long long>(position) + len + 1;
  if (needed > INT_MAX) return;
  const int b = static_cast<int>(needed);
  const int oldUsed = mBuf.GetSize();

  if (b > oldUsed)
  {
    const char* oldBlock = static_cast<const char*>(mBuf.Get());
    const bool textInside = text && oldBlock && text >= oldBlock && text < oldBlock + oldUsed;
    const ptrdiff_t textOffset = textInside ? text - oldBlock : 0;
    mBuf.Resize(b, false);
    if (mBuf.GetSize() < b) return;
    char* block = static_cast<char*>(mBuf.Get());
    if (textInside) text = block + textOffset;
    if (position > oldUsed) std::memset(block + oldUsed, 0, static_cast<size_t>(position - oldUsed));
  }

  char* block = static_cast<char*>(mBuf.Get());
  if (text) std::memmove(block + position, text, static_cast<size_t>(len));
  block[position + len] = '\0';
  if (b < oldUsed) mBuf.Resize(b, false);
}

const char* PlugString::Get() const
{
  const char* block = static_cast<const char*>(mBuf.Get());
  return block ? block : "";
}

int PlugString::GetLength() const
{
  return static_cast<int>(std::strlen(Get()));
}
