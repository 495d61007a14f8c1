#pragma once

// A VST 3 module loaded from a path, as a host loads it: the library (LoadLibraryW or
// dlopen), its entry functions (InitDll/ExitDll on Windows, ModuleEntry/ModuleExit on
// Linux) and its plug-in factory. Closing releases the factory, calls the exit function
// and unloads the library.

#include "pluginterfaces/base/ipluginbase.h"

#include <string>

namespace mero
{

class Vst3Module
{
public:
  Vst3Module() = default;
  ~Vst3Module();
  Vst3Module(const Vst3Module&) = delete;
  Vst3Module& operator=(const Vst3Module&) = delete;

  // Loads the library at path (UTF-8) and gets its factory; false (and nothing loaded)
  // when the library, its GetPluginFactory or its entry function fails.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return mFactory != nullptr; }

  Steinberg::IPluginFactory* Factory() const { return mFactory; }
  // The factory's IPluginFactory2 (added reference) or null.
  Steinberg::IPluginFactory2* Factory2() const;
  // Address of an exported symbol, or null.
  void* Symbol(const char* name) const;

private:
  void Unload();

  void* mLibrary = nullptr;
  bool mEntered = false;
  Steinberg::IPluginFactory* mFactory = nullptr;
};

}  // namespace mero
