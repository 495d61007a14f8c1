#include "WinResourceImages.h"

#include <windows.h>

WinResourceImages::WinResourceImages(void* module)
  : mModule(module)
{
}

bool WinResourceImages::FindImage(int id, const void*& data, int& size) const
{
  HMODULE module = static_cast<HMODULE>(mModule);
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
  if (!resource) return false;
  const DWORD bytes = SizeofResource(module, resource);
  if (bytes > 0x7FFFFFFF) return false;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* locked = loaded ? LockResource(loaded) : nullptr;
  if (!locked) return false;
  data = locked;
  size = static_cast<int>(bytes);
  return true;
}
