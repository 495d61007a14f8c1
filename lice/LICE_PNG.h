#pragma once

#include "LICE_IBitmap.h"
#include "LICE_MemBitmap.h"

// PNG decoding through libpng into straight (not premultiplied) 0xAARRGGBB pixels,
// row 0 at the top. Images without alpha or transparency come out opaque. Bad or
// truncated data, dimensions beyond libpng's limits or failed allocations give null
// and leak nothing.

// Decodes length bytes at data into a new bitmap owned by the caller.
LICE_MemBitmap* LICE_LoadPNGFromMemory(const void* data, int length);

// Decodes the file at the UTF-8 path. With a target the image is loaded into it
// (resized through its virtual resize, flipped rows honoured) and the target is
// returned; otherwise a new LICE_MemBitmap owned by the caller is returned. On
// failure null is returned and the target is left alive.
LICE_IBitmap* LICE_LoadPNGFile(const char* path, LICE_IBitmap* target);
