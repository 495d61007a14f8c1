#include "LICE_CachedFont.h"

#include "LICE_Blend.h"
#include "LICE_FillRect.h"
#include "LICE_GlyphBuilder.h"
#include "LICE_MaskCompositor.h"
#include "LICE_NativeText.h"
#include "LICE_TextState.h"
#include "LICE_Utf8Reader.h"

#include <windows.h>

#include <algorithm>

namespace
{

// Destinations that answer this extension query want text without GDI.
const int kQueryNoNativeText = 0x59555678;
// Font flags that only the cached glyphs can honour.
const int kCachedOnlyFlags = 0x1F7;

int glyphPad(int lineHeight)
{
  return lineHeight < 16 ? 2 : lineHeight / 16 + 2;
}

}  // namespace

LICE_CachedFont::LICE_CachedFont()
{
  LICE_TextState::fontCreated();
}

LICE_CachedFont::~LICE_CachedFont()
{
  if ((m_flags & LICE_FONT_OWNS_HANDLE) && m_font) DeleteObject(m_font);
  LICE_TextState::fontDestroyed();
}

void LICE_CachedFont::setFromFont(LICE_HFONT font, int flags)
{
  if ((m_flags & LICE_FONT_OWNS_HANDLE) && m_font && m_font != font) DeleteObject(m_font);
  m_flags = flags;
  m_font = font;

  if (font)
  {
    LICE_SysBitmap* surface = LICE_TextState::glyphSurface(256);
    HDC dc = surface ? surface->getDC() : nullptr;
    if (dc)
    {
      HGDIOBJ old = SelectObject(dc, font);
      TEXTMETRICA tm;
      if (GetTextMetricsA(dc, &tm)) m_lineHeight = tm.tmHeight;
      SelectObject(dc, old);
    }
  }

  m_cache.clear();
  if (flags & LICE_FONT_PRECACHE)
    for (int c = 0; c < 128; ++c) renderGlyph(c);
}

LICE_pixel LICE_CachedFont::setTextColor(LICE_pixel color)
{
  const LICE_pixel old = m_textColor;
  m_textColor = color;
  return old;
}

LICE_pixel LICE_CachedFont::setBackgroundColor(LICE_pixel color)
{
  const LICE_pixel old = m_backgroundColor;
  m_backgroundColor = color;
  return old;
}

LICE_pixel LICE_CachedFont::setEffectColor(LICE_pixel color)
{
  const LICE_pixel old = m_effectColor;
  m_effectColor = color;
  return old;
}

int LICE_CachedFont::setBackgroundMode(int mode)
{
  const int old = m_backgroundMode;
  m_backgroundMode = mode;
  return old;
}

void LICE_CachedFont::setCombineMode(int mode, float alpha)
{
  m_combineMode = mode;
  m_combineAlpha = alpha;
}

const LICE_GlyphInfo* LICE_CachedFont::findGlyph(int c)
{
  return m_cache.find(c);
}

const unsigned char* LICE_CachedFont::glyphMask(const LICE_GlyphInfo& rec)
{
  return m_cache.mask(rec.pos);
}

bool LICE_CachedFont::renderGlyph(int c)
{
  if (m_lineHeight >= 1024) return false;
  LICE_GlyphInfo* rec = m_cache.find(c);
  bool appended = false;
  if (!rec)
  {
    if (m_flags & LICE_FONT_PRECACHE) return false;
    rec = m_cache.append(c);
    if (!rec) return false;
    appended = true;
  }
  if (rec->pos != 0) return true;

  const int size = 2 * std::max(m_lineHeight, 1) + 8;
  LICE_SysBitmap* surface = LICE_TextState::glyphSurface(size);
  HDC dc = surface ? surface->getDC() : nullptr;
  bool rendered = false;
  if (dc && surface->getBits())
  {
    HGDIOBJ old = m_font ? SelectObject(dc, m_font) : nullptr;
    const int pad = glyphPad(m_lineHeight);
    const wchar_t ch = (wchar_t)c;
    RECT cell = {0, 0, 0, 0};
    DrawTextW(dc, &ch, 1, &cell, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    int inkWidth = cell.right;
    int h = cell.bottom;
    int W = inkWidth + 2 * pad;
    LICE_FillRect(surface, 0, 0, W, h, 0, 1.0f, LICE_BLEND_COPY);
    RECT where = {pad, 0, W, h};
    DrawTextW(dc, &ch, 1, &where, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
    GdiFlush();
    inkWidth = std::min(inkWidth, surface->getWidth());
    W = std::min(W, surface->getWidth());
    h = std::min(h, surface->getHeight());
    if (old) SelectObject(dc, old);

    LICE_GlyphBuilder::build(m_cache, *rec, surface, W, h, inkWidth, pad, m_flags);
    rendered = true;
  }
  if (appended && m_cache.listSize() > 1) m_cache.sortList();
  return rendered;
}

bool LICE_CachedFont::drawGlyph(LICE_IBitmap* dest, int c, int x, int y, const LICE_Rect& clip)
{
  const LICE_GlyphInfo* rec = m_cache.find(c);
  if (!rec || rec->pos < 1) return false;
  // The columns before the pen lie before it along the text's direction: left of
  // it, above it for downward text, below it for upward text.
  if (!vertical())
    x -= rec->xoffset;
  else if (m_flags & LICE_FONT_BOTTOMUP)
    y += rec->xoffset;
  else
    y -= rec->xoffset;

  const LICE_MaskStyle style = {m_textColor,    m_effectColor, m_backgroundColor, m_backgroundMode, m_combineMode,
                                m_combineAlpha, m_flags};
  return LICE_MaskCompositor::draw(dest, m_cache.mask(rec->pos), rec->width, rec->height, x, y, clip, style);
}

int LICE_CachedFont::drawText(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format)
{
  if (!rect || !text) return 0;
  if (!dest && !(format & DT_CALCRECT)) return 0;
  const bool noNative = (format & LICE_TEXT_NO_NATIVE) != 0;
  format &= ~LICE_TEXT_NO_NATIVE;

  if (useNative(dest, format, noNative))
  {
    const LICE_NativeText::Style style = {m_font,           m_textColor,  m_backgroundColor,
                                          m_backgroundMode, m_lineHeight, m_combineAlpha};
    return LICE_NativeText::draw(dest, text, count, rect, format, style);
  }
  return drawCached(dest, text, count, rect, format);
}

bool LICE_CachedFont::useNative(LICE_IBitmap* dest, unsigned int format, bool noNative)
{
  if (dest && dest->extendedQuery(kQueryNoNativeText, nullptr)) return false;
  if ((m_flags & LICE_FONT_ALLOW_NATIVE) && m_font && !noNative && !LICE_TextState::runningUnderWine() &&
      !(format & LICE_TEXT_USE_COLOR_ALPHA) && !(m_flags & kCachedOnlyFlags) &&
      (m_lineSpacing == 0 || (format & DT_SINGLELINE)))
    return true;
  return m_lineHeight >= 256;
}

bool LICE_CachedFont::cachedGlyph(int c, LICE_GlyphInfo& out)
{
  const LICE_GlyphInfo* rec = m_cache.find(c);
  if (!rec || rec->pos == 0)
  {
    if (!renderGlyph(c)) return false;
    rec = m_cache.find(c);
  }
  if (!rec || rec->pos < 1) return false;
  out = *rec;
  return true;
}

void LICE_CachedFont::measureCached(const char* text, int count, bool singleLine, int& width, int& height)
{
  const int lineStep = m_lineHeight + m_lineSpacing;
  int x = 0;
  int y = 0;
  width = 0;
  height = 0;
  LICE_Utf8Reader reader(text, count);
  int c;
  while (reader.next(c))
  {
    if (c == '\r') continue;
    if (c == '\n')
    {
      if (!singleLine)
      {
        if (vertical())
        {
          x += lineStep;
          y = 0;
        }
        else
        {
          y += lineStep;
          x = 0;
        }
        continue;
      }
      c = ' ';
    }
    LICE_GlyphInfo g;
    if (!cachedGlyph(c, g)) continue;
    if (vertical())
    {
      height = std::max({height, y + g.advance, y + g.height - g.xoffset});
      width = std::max(width, x + g.width);
      y += g.advance;
    }
    else
    {
      width = std::max({width, x + g.advance, x + g.width - g.xoffset});
      height = std::max(height, y + g.height);
      x += g.advance;
    }
  }
}

int LICE_CachedFont::drawCached(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format)
{
  if (format & DT_CALCRECT)
  {
    int w, h;
    measureCached(text, count, (format & DT_SINGLELINE) != 0, w, h);
    rect->right = rect->left + w;
    rect->bottom = rect->top + h;
    return vertical() ? w : h;
  }

  const float savedAlpha = m_combineAlpha;
  if (format & LICE_TEXT_USE_COLOR_ALPHA) m_combineAlpha *= (float)LICE_GETA(m_textColor) / 255.0f;
  const int result = drawGlyphs(dest, text, count, *rect, format);
  m_combineAlpha = savedAlpha;
  return result;
}

int LICE_CachedFont::drawGlyphs(LICE_IBitmap* dest, const char* text, int count, const LICE_Rect& rect,
                                unsigned int format)
{
  if (m_combineAlpha == 0.0f || !dest->getBits()) return 0;

  int startX = rect.left;
  int startY = rect.top;
  int mw = 0;
  int mh = 0;
  if ((format & 0xF) || bottomUp()) measureCached(text, count, (format & DT_SINGLELINE) != 0, mw, mh);
  if (format & DT_CENTER)
    startX += (rect.right - mw - rect.left) / 2;
  else if (format & DT_RIGHT)
    startX = rect.right - mw;
  if (format & DT_VCENTER)
    startY += (rect.bottom - mh - rect.top) / 2;
  else if (format & DT_BOTTOM)
    startY = rect.bottom - mh;
  if (bottomUp()) startY += mh;

  LICE_Rect clip = {0, 0, dest->getWidth(), dest->getHeight()};
  if (!(format & DT_NOCLIP))
    clip = LICE_Rect{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, clip.right),
                     std::min(rect.bottom, clip.bottom)};
  if (clip.right <= clip.left || clip.bottom <= clip.top) return 0;

  const bool singleLine = (format & DT_SINGLELINE) != 0;
  const int lineStep = m_lineHeight + m_lineSpacing;
  int x = startX;
  int y = startY;
  int extent = vertical() ? startX : startY;
  LICE_Utf8Reader reader(text, count);
  int c;
  while (reader.next(c))
  {
    if (c == '\r') continue;
    if (c == '\n')
    {
      if (!singleLine)
      {
        if (vertical())
        {
          x += lineStep;
          y = startY;
        }
        else
        {
          y += lineStep;
          x = startX;
        }
        continue;
      }
      c = ' ';
    }
    LICE_GlyphInfo g;
    if (!cachedGlyph(c, g)) continue;
    if (bottomUp()) y -= g.height;
    const bool drawn = drawGlyph(dest, c, x, y, clip);
    if (vertical())
    {
      y += bottomUp() ? g.height - g.advance : g.advance;
      if (drawn) extent = std::max(extent, x + g.width);
    }
    else
    {
      x += g.advance;
      if (drawn) extent = std::max(extent, y + g.height);
    }
  }
  return extent - (vertical() ? startX : startY);
}
