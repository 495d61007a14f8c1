#include "tools/vst3host/Vst3Module.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace mero
{

using namespace Steinberg;

namespace
{

#ifdef _WIN32
void* LoadModuleLibrary(const std::string& path)
{
  int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
  if (n <= 0) return nullptr;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &wide[0], n);
  return reinterpret_cast<void*>(LoadLibraryW(wide.c_str()));
}
void* FindSymbol(void* library, const char* name)
{
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
void UnloadModuleLibrary(void* library)
{
  FreeLibrary(static_cast<HMODULE>(library));
}
#else
void* LoadModuleLibrary(const std::string& path)
{
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}
void* FindSymbol(void* library, const char* name)
{
  return dlsym(library, name);
}
void UnloadModuleLibrary(void* library)
{
  dlclose(library);
}
#endif

}  // namespace

Vst3Module::~Vst3Module()
{
  Close();
}

bool Vst3Module::Open(const std::string& path)
{
  Close();
  mLibrary = LoadModuleLibrary(path);
  if (!mLibrary) return false;
  auto getFactory = reinterpret_cast<GetFactoryProc>(Symbol("GetPluginFactory"));
  if (!getFactory)
  {
    Unload();
    return false;
  }
#ifdef _WIN32
  auto init = reinterpret_cast<bool (*)()>(Symbol("InitDll"));
  mEntered = init && init();
#else
  auto init = reinterpret_cast<bool (*)(void*)>(Symbol("ModuleEntry"));
  mEntered = init && init(mLibrary);
#endif
  if (!mEntered)
  {
    Unload();
    return false;
  }
  mFactory = getFactory();
  if (!mFactory)
  {
    Unload();
    return false;
  }
  return true;
}

void Vst3Module::Close()
{
  if (mFactory)
  {
    mFactory->release();
    mFactory = nullptr;
  }
  Unload();
}

void Vst3Module::Unload()
{
  if (!mLibrary) return;
  if (mEntered)
  {
#ifdef _WIN32
    auto exitFunc = reinterpret_cast<bool (*)()>(Symbol("ExitDll"));
#else
    auto exitFunc = reinterpret_cast<bool (*)()>(Symbol("ModuleExit"));
#endif
    if (exitFunc) exitFunc();
    mEntered = false;
  }
  UnloadModuleLibrary(mLibrary);
  mLibrary = nullptr;
}

IPluginFactory2* Vst3Module::Factory2() const
{
  IPluginFactory2* factory2 = nullptr;
  if (mFactory && mFactory->queryInterface(IPluginFactory2::iid, reinterpret_cast<void**>(&factory2)) != kResultOk)
    factory2 = nullptr;
  return factory2;
}

void* Vst3Module::Symbol(const char* name) const
{
  return mLibrary ? FindSymbol(mLibrary, name) : nullptr;
}

}  // namespace mero
