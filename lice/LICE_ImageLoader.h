#pragma once

#include "LICE_IBitmap.h"

// Record of the process-wide image-loader registry. The list is written only during
// static initialisation (the PNG loader adds the one entry) and read afterwards.
struct LICE_ImageLoaderEntry
{
  // (path, check-extension flag, optional target) -> bitmap holding the image, or null.
  LICE_IBitmap* (*loadfunc)(const char* path, bool checkExtension, LICE_IBitmap* target);
  // Double-NUL-terminated filter list: description, NUL, pattern, NUL, ..., NUL.
  const char* (*getExtList)();
  LICE_ImageLoaderEntry* next;
};

// The most recently registered entry, or null.
LICE_ImageLoaderEntry* LICE_GetImageLoaders();

// Links entry in front of the list. For static initialisation only.
void LICE_RegisterImageLoader(LICE_ImageLoaderEntry* entry);
