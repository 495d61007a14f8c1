#pragma once

#include <string>

// A Unix path as the test program opens it: unchanged natively; under wine on the Z:
// drive, with backslashes. Other paths are returned as they are.
inline std::string NativePath(std::string path)
{
#ifdef _WIN32
  if (!path.empty() && path[0] == '/')
  {
    for (char& c : path)
      if (c == '/') c = '\\';
    path = "Z:" + path;
  }
#endif
  return path;
}
