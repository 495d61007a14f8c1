#pragma once

#include "LICE_pixel.h"

// A colour as four channels 0..255.
struct IArgbColor
{
  int A = 255, R = 0, G = 0, B = 0;

  // The raster pixel A << 24 | R << 16 | G << 8 | B (each channel's low byte).
  LICE_pixel Packed() const
  {
    return (LICE_pixel)(A & 0xFF) << 24 | (LICE_pixel)(R & 0xFF) << 16 | (LICE_pixel)(G & 0xFF) << 8 |
           (LICE_pixel)(B & 0xFF);
  }
};
