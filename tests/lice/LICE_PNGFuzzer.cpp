// libFuzzer entry point: LICE_LoadPNGFromMemory must survive any input without a
// crash, sanitizer report or leak, and a bitmap it returns must be fully usable.
#include "LICE_PNG.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > 0x7FFFFFFF) return 0;
  LICE_MemBitmap* bmp = LICE_LoadPNGFromMemory(data, (int)size);
  if (bmp)
  {
    // Reading every pixel lets AddressSanitizer check the geometry.
    volatile LICE_pixel sum = 0;
    LICE_pixel* bits = bmp->getBits();
    for (int y = 0; y < bmp->getHeight(); ++y)
      for (int x = 0; x < bmp->getWidth(); ++x) sum = sum + bits[(size_t)y * bmp->getRowSpan() + x];
    delete bmp;
  }
  return 0;
}
