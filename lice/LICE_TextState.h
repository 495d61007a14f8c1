#pragma once

#include "LICE_SysBitmap.h"

// Process-wide state of the raster library's text output, shared by every font
// and used on the GUI thread only: the glyph surface on which glyphs are rendered,
// the scratch surface for GDI text into bitmaps without a device context, the
// once-per-process Wine test and the count of live fonts. Both surfaces go away
// with the last font.
class LICE_TextState
{
public:
  // The glyph surface, at least size x size (else resized to size x size and set
  // up for white-on-black GDI text); null when it cannot be created.
  static LICE_SysBitmap* GlyphSurface(int size);
  // The scratch surface, at least 4 x 4; null when it cannot be created.
  static LICE_SysBitmap* ScratchSurface();

  // True when the process runs under Wine; the registry is asked only once.
  static bool RunningUnderWine();

  static void FontCreated();
  static void FontDestroyed();
  static int LiveFonts();
  // The glyph surface if it exists, without creating it.
  static LICE_SysBitmap* ExistingGlyphSurface();
};
