#pragma once

#include "LICE_IBitmap.h"
#include "LICE_Rect.h"
#include "LICE_pixel.h"

// How a font puts its glyph masks onto a bitmap.
struct LICE_MaskStyle
{
  LICE_pixel textColor;
  LICE_pixel effectColor;      // shadow and outline pixels
  LICE_pixel backgroundColor;  // filled under the glyph with an opaque background
  int backgroundMode;          // 1 transparent, 2 opaque
  int mode;                    // blend word
  float alpha;
  int fontFlags;  // LICE_FONT_MONO / SHADOW / OUTLINE select the mask kind
};

// Composites one glyph coverage mask onto a bitmap: anti-aliased masks weight the
// text colour by coverage, mono masks (0/255) draw it where they are set, and
// shadow/outline masks (0/128/255) draw the text colour at 255 and the effect
// colour at 128, each with the style's blend word and alpha. Alpha above 1 draws as
// 1; alpha at or below 0, or NaN, draws nothing.
class LICE_MaskCompositor
{
public:
  // Draws the width x height mask with its top-left corner at (x, y), cropped to
  // clip and to dest. Returns true when part of it lies inside.
  static bool Draw(LICE_IBitmap* dest, const unsigned char* mask, int width, int height, int x, int y,
                   const LICE_Rect& clip, const LICE_MaskStyle& style);
};
