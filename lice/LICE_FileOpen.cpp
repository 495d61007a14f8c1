#include "LICE_FileOpen.h"

#ifdef _WIN32
#include <windows.h>
#endif

FILE* LICE_OpenFileUTF8(const char* path, const char* mode)
{
  if (!path || !mode) return nullptr;
#ifdef _WIN32
  wchar_t wpath[2048];
  wchar_t wmode[8];
  int i = 0;
  for (; mode[i] && i < 7; ++i) wmode[i] = (wchar_t)(unsigned char)mode[i];
  wmode[i] = 0;
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wpath, 2048) > 0)
  {
    if (FILE* f = _wfopen(wpath, wmode)) return f;
  }
#endif
  return fopen(path, mode);
}
