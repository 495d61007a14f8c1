#pragma once

#include <string>

// Finds the library file to load for a VST 3 module. A bundle folder
// (NAME.vst3/) resolves to the library for this platform inside it:
// Contents/x86_64-win/NAME.vst3 on Windows, Contents/x86_64-linux/NAME.so on
// Linux. Any other path is taken as the library itself.
class ModuleLocator
{
public:
  // The library for `path` (UTF-8).
  static std::string Resolve(const std::string& path);

  // The module of the build this program belongs to: `relative` (fixed at
  // build time) taken from the folder of the running executable, resolved;
  // empty when the executable's location is unknown.
  static std::string BesideProgram(const std::string& relative);
};
