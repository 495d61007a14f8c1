#pragma once

#include "LICE_IBitmap.h"

// Softens a freshly rendered glyph cell before its mask is taken: each pixel
// becomes half itself plus a weighted share of its four neighbours, channel by
// channel, in place.
class LICE_GlyphBlur
{
public:
  // Blurs the w x h region at the top-left of bm; nothing when w or h is below 2.
  static void Apply(LICE_IBitmap* bm, int w, int h);
};
