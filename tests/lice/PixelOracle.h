#pragma once

#include "LICE_Rect.h"
#include "PixelGrid.h"

// A deliberately plain model of the raster operations, one pixel and one channel at
// a time, with no fast paths beyond those the operations define. Tests compare the
// library's results with it bit for bit. Alpha is expected within 0..1.

void OracleBlit(PixelGrid& dest, const PixelGrid& src, int dstx, int dsty, const LICE_Rect* srcRect, float alpha,
                int mode);

void OracleFillRect(PixelGrid& dest, int x, int y, int w, int h, LICE_pixel color, float alpha, int mode);

LICE_pixel OracleHsv(LICE_pixel d, int hR, int hG, int hB, int w, int alphaByte);
