#pragma once

#include "LICE_IBitmap.h"
#include "LICE_Rect.h"

// Copies or blends the rectangle srcRect of src (null = all of src) onto dest with
// its top-left corner at (dstx, dsty), clipped to both bitmaps. mode is a blend word
// (LICE_Blend.h), including the channel copies; alpha is the weight 0..1 (values
// outside act as the nearest bound). Null bitmaps, bitmaps without bits, alpha 0 or
// below or NaN (in every mode), fully clipped rectangles and unknown modes draw
// nothing. src may be dest itself, or share its pixels: the result is that of the
// same blit from a separate copy of the source.
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const LICE_Rect* srcRect, float alpha,
               int mode);
