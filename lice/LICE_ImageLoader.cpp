#include "LICE_ImageLoader.h"

namespace
{
// Constant-initialised, so it is valid before any registering constructor runs.
LICE_ImageLoaderEntry* gHead = nullptr;
}  // namespace

LICE_ImageLoaderEntry* LICE_GetImageLoaders()
{
  return gHead;
}

void LICE_RegisterImageLoader(LICE_ImageLoaderEntry* entry)
{
  if (!entry) return;
  entry->next = gHead;
  gHead = entry;
}
