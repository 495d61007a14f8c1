#include "LICE_ImageLoader.h"

namespace
{
// Constant-initialised, so it is valid before any registering constructor runs.
LICE_ImageLoaderEntry* g_head = nullptr;
}  // namespace

LICE_ImageLoaderEntry* LICE_GetImageLoaders()
{
  return g_head;
}

void LICE_RegisterImageLoader(LICE_ImageLoaderEntry* entry)
{
  if (!entry) return;
  entry->_next = g_head;
  g_head = entry;
}
