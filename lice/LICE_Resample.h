#pragma once

#include "LICE_IBitmap.h"

// Area-averaging resample of the source rectangle (sx, sy, sw, sh) onto the whole destination
// rectangle (dx, dy, dw, dh), replacing the destination pixels (no blending). It draws artwork at
// a scale it was not made for, smaller or larger, and gives the same bits on every platform.
//
// Per axis, with S the source and D the destination size, destination pixel i covers the source
// interval [i*S/D, (i+1)*S/D). Counted in 1/D of a source pixel, its weight on source pixel k is
// the length of the overlap of [i*S, (i+1)*S) with [k*D, (k+1)*D), an integer. A source pixel's
// weight w is the product of its two axis weights; those of one destination pixel add up to
// W = Sx * Sy. Colours are averaged weighted by alpha, so that transparent pixels' colours do not
// bleed in:
//   alpha  = round(sum(w * A) / W)
//   colour = round(sum(w * A * C) / sum(w * A)), 0 when sum(w * A) is 0,
// rounded half up, exactly in 64-bit integers. A destination pixel that lies within one source
// pixel (every pixel at equal sizes, most pixels of an enlargement) is a copy of that source pixel.
//
// The source rectangle must lie within src. The destination rectangle may reach beyond dest:
// only its pixels inside dest are drawn, each with the value it has when the whole rectangle is
// drawn. Flipped bitmaps and row spans are honoured as by LICE_Blit. Returns true when pixels were
// drawn. Draws nothing and returns false for a null bitmap or one without pixels, a size of 0 or
// below, a source rectangle not within src or of more than 2^46 pixels, a destination rectangle
// wholly outside dest, src and dest whose pixels overlap, or no memory for the work tables (one
// allocation per call, none for equal sizes).
bool LICE_ResampleArea(LICE_IBitmap* dest, int dx, int dy, int dw, int dh, const LICE_IBitmap* src, int sx, int sy,
                       int sw, int sh);
