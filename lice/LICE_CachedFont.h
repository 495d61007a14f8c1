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
  LICE_pixel getTextColor() override { return mTextColor; }
  LICE_HFONT getFontHandle() override { return mFont; }
  int getLineHeight() override { return mLineHeight; }

  // Draws the cached glyph of code point c with its pen position at (x, y), cropped
  // to clip; true when part of it lies inside the clip.
  virtual bool drawGlyph(LICE_IBitmap* dest, int c, int x, int y, const LICE_Rect& clip);

  // Renders c into the cache unless it is there already; false when refused.
  bool RenderGlyph(int c);
  // The record of c (null when it has none) and its mask bytes (null unless rendered).
  const LICE_GlyphInfo* FindGlyph(int c);
  const unsigned char* GlyphMask(const LICE_GlyphInfo& rec);

private:
  bool UseNative(LICE_IBitmap* dest, unsigned int format, bool noNative);
  bool CachedGlyph(int c, LICE_GlyphInfo& out);
  void MeasureCached(const char* text, int count, bool singleLine, int& width, int& height);
  int DrawCached(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format);
  int DrawGlyphs(LICE_IBitmap* dest, const char* text, int count, const LICE_Rect& rect, unsigned int format);
  bool Vertical() const { return (mFlags & LICE_FONT_VERTICAL) != 0; }
  bool BottomUp() const
  {
    return (mFlags & (LICE_FONT_VERTICAL | LICE_FONT_BOTTOMUP)) == (LICE_FONT_VERTICAL | LICE_FONT_BOTTOMUP);
  }

  LICE_pixel mTextColor = 0;
  LICE_pixel mBackgroundColor = 0xFFFFFFFF;
  LICE_pixel mEffectColor = 0xFFFFFFFF;
  int mBackgroundMode = 1;
  int mCombineMode = 0;
  float mCombineAlpha = 1.0f;
  int mFlags = 0;
  int mLineHeight = 0;
  int mLineSpacing = 0;
  LICE_GlyphCache mCache;
  LICE_HFONT mFont = nullptr;
};
