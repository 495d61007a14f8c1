#pragma once

#include "LICE_IBitmap.h"
#include "LICE_Rect.h"
#include "LICE_pixel.h"

// GDI font handle (HFONT on Windows).
typedef struct HFONT__* LICE_HFONT;

// Font flags given to setFromFont.
enum
{
  LICE_FONT_VERTICAL = 0x1,  // glyphs rotated 90 degrees; lines run along y
  LICE_FONT_BOTTOMUP = 0x2,  // with LICE_FONT_VERTICAL: text runs upward
  LICE_FONT_PRECACHE = 0x4,  // cache code points 0..127 at once, never others
  LICE_FONT_BLUR = 0x10,
  LICE_FONT_INVERT = 0x20,
  LICE_FONT_MONO = 0x40,
  LICE_FONT_SHADOW = 0x80,        // one-pixel shadow in the effect colour
  LICE_FONT_OUTLINE = 0x100,      // one-pixel outline in the effect colour
  LICE_FONT_OWNS_HANDLE = 0x200,  // the font deletes its GDI handle
  LICE_FONT_ALLOW_NATIVE = 0x400  // GDI may draw the text itself
};

// drawText format bits of the raster library, besides GDI's DT_ values.
enum : unsigned int
{
  LICE_TEXT_USE_COLOR_ALPHA = 0x40000000u,  // scale the combine alpha by the text colour's alpha
  LICE_TEXT_NO_NATIVE = 0x80000000u         // never let GDI draw the text
};

// A font that measures and draws UTF-8 text into raster-library bitmaps.
class LICE_IFont
{
public:
  virtual ~LICE_IFont() = default;

  // Attaches a GDI font (replacing the current one) with LICE_FONT_ flags.
  virtual void setFromFont(LICE_HFONT font, int flags) = 0;
  // The setters return the previous value.
  virtual LICE_pixel setTextColor(LICE_pixel color) = 0;
  virtual LICE_pixel setBackgroundColor(LICE_pixel color) = 0;
  virtual LICE_pixel setEffectColor(LICE_pixel color) = 0;
  // GDI background mode: 1 transparent, 2 opaque.
  virtual int setBackgroundMode(int mode) = 0;
  // Blend word and weight with which text is put onto the destination.
  virtual void setCombineMode(int mode, float alpha) = 0;
  // Draws (or with DT_CALCRECT measures into `rect`) `count` bytes of UTF-8 text,
  // a negative count meaning up to the NUL. Returns the height of the text, 0 when
  // nothing could be drawn.
  virtual int drawText(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format) = 0;
  virtual LICE_pixel getTextColor() = 0;
  virtual LICE_HFONT getFontHandle() = 0;
  virtual int getLineHeight() = 0;

  LICE_IFont(const LICE_IFont&) = delete;
  LICE_IFont& operator=(const LICE_IFont&) = delete;

protected:
  LICE_IFont() = default;
};
