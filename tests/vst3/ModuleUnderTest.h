#pragma once

#include <string>

#include "tools/vst3host/Vst3Module.h"

// The MERO module built with these tests, loaded once per test program and shared.
namespace ModuleUnderTest
{
// The module's path as the platform's loader wants it (under wine: a Z: drive path).
inline std::string Path()
{
  std::string path = MERO_MODULE_PATH;
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

inline mero::Vst3Module& Get()
{
  static mero::Vst3Module module;
  if (!module.IsOpen()) module.Open(Path());
  return module;
}
}  // namespace ModuleUnderTest
