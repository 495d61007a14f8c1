// The Linux module entry: the host calls ModuleEntry with the library's handle after
// loading it and ModuleExit before unloading it.

#include "pluginterfaces/base/fplatform.h"
#include "vst3/ModuleHandle.h"

extern "C" SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle)
{
  gModuleHandle = sharedLibraryHandle;
  return true;
}

extern "C" SMTG_EXPORT_SYMBOL bool ModuleExit()
{
  return true;
}
