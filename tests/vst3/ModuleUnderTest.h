#pragma once

#include <string>

#include "tests/support/NativePath.h"
#include "tools/vst3host/Vst3Module.h"

// The MERO module built with these tests, loaded once per test program and shared.
namespace ModuleUnderTest
{
// The module's path as the platform's loader wants it (under wine: a Z: drive path).
inline std::string Path()
{
  return NativePath(MERO_MODULE_PATH);
}

inline mero::Vst3Module& Get()
{
  static mero::Vst3Module module;
  if (!module.IsOpen()) module.Open(Path());
  return module;
}
}  // namespace ModuleUnderTest
