// The Windows module entry: the DLL entry point records the module handle, which
// InitDll hands to the framework before the host uses the factory.

#include <windows.h>

#include "vst3/ModuleHandle.h"

namespace
{
HINSTANCE gAttachedInstance = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
  if (reason == DLL_PROCESS_ATTACH) gAttachedInstance = instance;
  return TRUE;
}

extern "C" bool InitDll()
{
  gModuleHandle = gAttachedInstance;
  return true;
}

extern "C" bool ExitDll()
{
  return true;
}
