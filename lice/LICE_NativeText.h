#pragma once

#include "LICE_IBitmap.h"
#include "LICE_IFont.h"
#include "LICE_Rect.h"

// GDI's own text output for a font: straight into a bitmap's device context, or,
// for bitmaps without one, into the shared scratch surface over a copy of the
// destination area, which is then blended back with the font's alpha.
class LICE_NativeText
{
public:
  struct Style
  {
    LICE_HFONT font;
    LICE_pixel textColor;
    LICE_pixel backgroundColor;
    int backgroundMode;  // 1 transparent, 2 opaque
    int lineHeight;
    float alpha;
  };

  // drawText of LICE_IFont done by GDI; returns GDI's result, 0 when the scratch
  // surface is unavailable. format holds GDI DT_ bits only.
  static int Draw(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format,
                  const Style& style);
};
