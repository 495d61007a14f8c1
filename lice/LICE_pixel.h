#pragma once

#include <cstdint>

// One 32-bit pixel 0xAARRGGBB. In memory (little-endian) its bytes are blue, green,
// red, alpha; colour channels are never premultiplied by alpha.
typedef uint32_t LICE_pixel;

// Byte positions of the channels inside a pixel.
enum
{
  LICE_PIXEL_B = 0,
  LICE_PIXEL_G = 1,
  LICE_PIXEL_R = 2,
  LICE_PIXEL_A = 3
};

constexpr LICE_pixel LICE_RGBA(int r, int g, int b, int a)
{
  return (LICE_pixel)(b & 0xFF) | (LICE_pixel)(g & 0xFF) << 8 | (LICE_pixel)(r & 0xFF) << 16 |
         (LICE_pixel)(a & 0xFF) << 24;
}

// Channel number `byte` (0 = blue ... 3 = alpha) of a pixel value.
constexpr int LICE_GetChannel(LICE_pixel p, int byte)
{
  return (int)(p >> (8 * byte)) & 0xFF;
}

constexpr int LICE_GETB(LICE_pixel p)
{
  return (int)(p & 0xFF);
}
constexpr int LICE_GETG(LICE_pixel p)
{
  return (int)(p >> 8) & 0xFF;
}
constexpr int LICE_GETR(LICE_pixel p)
{
  return (int)(p >> 16) & 0xFF;
}
constexpr int LICE_GETA(LICE_pixel p)
{
  return (int)(p >> 24);
}
