#pragma once

#include "LICE_GlyphCache.h"
#include "LICE_IFont.h"

// Font that wraps a GDI font handle and draws UTF-8 text into any bitmap. Each
// code point is rendered through GDI once into a coverage mask kept by the font
// and afterwards composited by the font itself, with blur, inversion, mono,
// shadow, outline and rotation as the font flags ask. drawText chooses per call
// between these cached glyphs and GDI's own text output. GUI thread only.
class LICE_CachedFont : public LICE_IFont
{
public:
  LICE_CachedFont();
  ~LICE_CachedFont() override;

  void setFromFont(LICE_HFONT font, int flags) override;
  LICE_pixel setTextColor(LICE_pixel color) override;
  LICE_pixel setBackgroundColor(LICE_pixel color) override;
  LICE_pixel setEffectColor(LICE_pixel color) override;
  int setBackgroundMode(int mode) override;
  void setCombineMode(int mode, float alpha) override;
  int drawText(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format) override;
  LICE_pixel getTextColor() override { return m_textColor; }
  LICE_HFONT getFontHandle() override { return m_font; }
  int getLineHeight() override { return m_lineHeight; }

  // Draws the cached glyph of code point c with its pen position at (x, y), cropped
  // to clip; true when part of it lies inside the clip.
  virtual bool drawGlyph(LICE_IBitmap* dest, int c, int x, int y, const LICE_Rect& clip);

  // Renders c into the cache unless it is there already; false when refused.
  bool renderGlyph(int c);
  // The record of c (null when it has none) and its mask bytes (null unless rendered).
  const LICE_GlyphInfo* findGlyph(int c);
  const unsigned char* glyphMask(const LICE_GlyphInfo& rec);

private:
  bool useNative(LICE_IBitmap* dest, unsigned int format, bool noNative);
  bool cachedGlyph(int c, LICE_GlyphInfo& out);
  void measureCached(const char* text, int count, bool singleLine, int& width, int& height);
  int drawCached(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format);
  int drawGlyphs(LICE_IBitmap* dest, const char* text, int count, const LICE_Rect& rect, unsigned int format);
  bool vertical() const { return (m_flags & LICE_FONT_VERTICAL) != 0; }
  bool bottomUp() const
  {
    return (m_flags & (LICE_FONT_VERTICAL | LICE_FONT_BOTTOMUP)) == (LICE_FONT_VERTICAL | LICE_FONT_BOTTOMUP);
  }

  LICE_pixel m_textColor = 0;
  LICE_pixel m_backgroundColor = 0xFFFFFFFF;
  LICE_pixel m_effectColor = 0xFFFFFFFF;
  int m_backgroundMode = 1;
  int m_combineMode = 0;
  float m_combineAlpha = 1.0f;
  int m_flags = 0;
  int m_lineHeight = 0;
  int m_lineSpacing = 0;
  LICE_GlyphCache m_cache;
  LICE_HFONT m_font = nullptr;
};
