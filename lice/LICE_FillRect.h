#pragma once

#include "LICE_IBitmap.h"

// Fills or blends the rectangle (x, y, w, h) of dest with color, clipped to dest.
// mode is a blend word (LICE_Blend.h) without channel copies; with
// LICE_BLEND_USE_SOURCE_ALPHA the colour's alpha byte scales alpha. In copy mode at
// full weight the whole colour, alpha byte included, is written; at other weights
// the destination alpha is pulled toward the weight itself. Null or empty
// destinations, alpha 0, empty rectangles and unknown modes draw nothing.
void LICE_FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel color, float alpha, int mode);
