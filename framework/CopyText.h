#pragma once

#include <cstddef>
#include <cstring>

// Copies src into the fixed-size text field dst of size bytes, truncating so
// that the field always ends with a NUL. A null src gives "".
inline void CopyText(char* dst, size_t size, const char* src)
{
  if (!dst || size == 0) return;
  size_t n = 0;
  if (src)
    while (n + 1 < size && src[n]) ++n;
  if (n) std::memmove(dst, src, n);
  dst[n] = '\0';
}

template <size_t N>
inline void CopyText(char (&dst)[N], const char* src)
{
  CopyText(dst, N, src);
}
