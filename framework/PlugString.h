#pragma once

#include "GrowBuffer.h"

// A NUL-terminated 8-bit string kept in a GrowBuffer of granularity 128.
// A failed growth leaves the string unchanged.
class PlugString
{
public:
  static constexpr int kGranularity = 128;

  explicit PlugString(const char* text = nullptr, GrowAllocator* allocator = nullptr);

  PlugString(const PlugString&) = delete;
  PlugString& operator=(const PlugString&) = delete;

  // Replaces everything from position on with the len bytes at text and cuts
  // the string after them. len 0 at position 0 empties the string; len 0
  // elsewhere, a negative len or a negative position change nothing. text may
  // point into this string's own characters. Bytes between the old end and a
  // position beyond it read as NUL.
  void Set(int position, const char* text, int len);

  // Ordinary assignment of a whole NUL-terminated text (null empties it).
  void Set(const char* text);

  // The characters; "" when the string has no block.
  const char* Get() const;
  int GetLength() const;

private:
  GrowBuffer mBuf;
};
