#pragma once

#include "LICE_GlyphCache.h"
#include "LICE_IBitmap.h"

// Turns a glyph cell that GDI has drawn white on black at the top-left of a
// surface into a coverage mask in a glyph cache: optional blur, inversion, the
// trimming of empty padding columns, rotation for vertical fonts and the mono,
// shadow and outline effects, as selected by LICE_FONT_ flags.
class LICE_GlyphBuilder
{
public:
  // The cell is cellWidth x cellHeight pixels; the glyph was drawn at column pad
  // and measured inkWidth wide. Fills rec with the mask's position, size, advance
  // and x offset, or marks it empty (position -1) when there is nothing to store.
  static void Build(LICE_GlyphCache& cache, LICE_GlyphInfo& rec, LICE_IBitmap* surface, int cellWidth, int cellHeight,
                    int inkWidth, int pad, int flags);

  // Mask helpers, in place or into `out` (width x height bytes, row by row).
  static void Rotate(const unsigned char* in, int width, int height, bool bottomUp, unsigned char* out);
  static void ApplyEffects(unsigned char* mask, int width, int height, int flags);
};
