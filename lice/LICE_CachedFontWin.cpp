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

int GlyphPad(int lineHeight)
{
  return lineHeight < 16 ? 2 : lineHeight / 16 + 2;
}

}  // namespace

LICE_CachedFont::LICE_CachedFont()
{
  LICE_TextState::FontCreated();
}

LICE_CachedFont::~LICE_CachedFont()
{
  if ((mFlags & LICE_FONT_OWNS_HANDLE) && mFont) DeleteObject(mFont);
  LICE_TextState::FontDestroyed();
}

void LICE_CachedFont::setFromFont(LICE_HFONT font, int flags)
{
  if ((mFlags & LICE_FONT_OWNS_HANDLE) && mFont && mFont != font) DeleteObject(mFont);
  mFlags = flags;
  mFont = font;

  if (font)
  {
    LICE_SysBitmap* surface = LICE_TextState::GlyphSurface(256);
    HDC dc = surface ? surface->getDC() : nullptr;
    if (dc)
    {
      HGDIOBJ old = SelectObject(dc, font);
      TEXTMETRICA tm;
      if (GetTextMetricsA(dc, &tm)) mLineHeight = tm.tmHeight;
      SelectObject(dc, old);
    }
  }

  mCache.Clear();
  if (flags & LICE_FONT_PRECACHE)
    for (int c = 0; c < 128; ++c) RenderGlyph(c);
}

LICE_pixel LICE_CachedFont::setTextColor(LICE_pixel color)
{
  const LICE_pixel old = mTextColor;
  mTextColor = color;
  return old;
}

LICE_pixel LICE_CachedFont::setBackgroundColor(LICE_pixel color)
{
  const LICE_pixel old = mBackgroundColor;
  mBackgroundColor = color;
  return old;
}

LICE_pixel LICE_CachedFont::setEffectColor(LICE_pixel color)
{
  const LICE_pixel old = mEffectColor;
  mEffectColor = color;
  return old;
}

int LICE_CachedFont::setBackgroundMode(int mode)
{
  const int old = mBackgroundMode;
  mBackgroundMode = mode;
  return old;
}

void LICE_CachedFont::setCombineMode(int mode, float alpha)
{
  mCombineMode = mode;
  mCombineAlpha = alpha;
}

const LICE_GlyphInfo* LICE_CachedFont::FindGlyph(int c)
{
  return mCache.Find(c);
}

const unsigned char* LICE_CachedFont::GlyphMask(const LICE_GlyphInfo& rec)
{
  return mCache.Mask(rec.pos);
}

bool LICE_CachedFont::RenderGlyph(int c)
{
  if (mLineHeight >= 1024) return false;
  LICE_GlyphInfo* rec = mCache.Find(c);
  bool appended = false;
  if (!rec)
  {
    if (mFlags & LICE_FONT_PRECACHE) return false;
    rec = mCache.Append(c);
    if (!rec) return false;
    appended = true;
  }
  if (rec->pos != 0) return true;

  const int size = 2 * std::max(mLineHeight, 1) + 8;
  LICE_SysBitmap* surface = LICE_TextState::GlyphSurface(size);
  HDC dc = surface ? surface->getDC() : nullptr;
  bool rendered = false;
  if (dc && surface->getBits())
  {
    HGDIOBJ old = mFont ? SelectObject(dc, mFont) : nullptr;
    const int pad = GlyphPad(mLineHeight);
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

    LICE_GlyphBuilder::Build(mCache, *rec, surface, W, h, inkWidth, pad, mFlags);
    rendered = true;
  }
  if (appended && mCache.ListSize() > 1) mCache.SortList();
  return rendered;
}

bool LICE_CachedFont::drawGlyph(LICE_IBitmap* dest, int c, int x, int y, const LICE_Rect& clip)
{
  const LICE_GlyphInfo* rec = mCache.Find(c);
  if (!rec || rec->pos < 1) return false;
  // The columns before the pen lie before it along the text's direction: left of
  // it, above it for downward text, below it for upward text.
  if (!Vertical())
    x -= rec->xoffset;
  else if (mFlags & LICE_FONT_BOTTOMUP)
    y += rec->xoffset;
  else
    y -= rec->xoffset;

  const LICE_MaskStyle style = {mTextColor,    mEffectColor, mBackgroundColor, mBackgroundMode, mCombineMode,
                                mCombineAlpha, mFlags};
  return LICE_MaskCompositor::Draw(dest, mCache.Mask(rec->pos), rec->width, rec->height, x, y, clip, style);
}

int LICE_CachedFont::drawText(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format)
{
  if (!rect || !text) return 0;
  if (!dest && !(format & DT_CALCRECT)) return 0;
  const bool noNative = (format & LICE_TEXT_NO_NATIVE) != 0;
  format &= ~LICE_TEXT_NO_NATIVE;

  if (UseNative(dest, format, noNative))
  {
    const LICE_NativeText::Style style = {mFont,           mTextColor,  mBackgroundColor,
                                          mBackgroundMode, mLineHeight, mCombineAlpha};
    return LICE_NativeText::Draw(dest, text, count, rect, format, style);
  }
  return DrawCached(dest, text, count, rect, format);
}

bool LICE_CachedFont::UseNative(LICE_IBitmap* dest, unsigned int format, bool noNative)
{
  if (dest && dest->extendedQuery(kQueryNoNativeText, nullptr)) return false;
  if ((mFlags & LICE_FONT_ALLOW_NATIVE) && mFont && !noNative && !LICE_TextState::RunningUnderWine() &&
      !(format & LICE_TEXT_USE_COLOR_ALPHA) && !(mFlags & kCachedOnlyFlags) &&
      (mLineSpacing == 0 || (format & DT_SINGLELINE)))
    return true;
  return mLineHeight >= 256;
}

bool LICE_CachedFont::CachedGlyph(int c, LICE_GlyphInfo& out)
{
  const LICE_GlyphInfo* rec = mCache.Find(c);
  if (!rec || rec->pos == 0)
  {
    if (!RenderGlyph(c)) return false;
    rec = mCache.Find(c);
  }
  if (!rec || rec->pos < 1) return false;
  out = *rec;
  return true;
}

void LICE_CachedFont::MeasureCached(const char* text, int count, bool singleLine, int& width, int& height)
{
  const int lineStep = mLineHeight + mLineSpacing;
  int x = 0;
  int y = 0;
  width = 0;
  height = 0;
  LICE_Utf8Reader reader(text, count);
  int c;
  while (reader.Next(c))
  {
    if (c == '\r') continue;
    if (c == '\n')
    {
      if (!singleLine)
      {
        if (Vertical())
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
    if (!CachedGlyph(c, g)) continue;
    if (Vertical())
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

int LICE_CachedFont::DrawCached(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format)
{
  if (format & DT_CALCRECT)
  {
    int w, h;
    MeasureCached(text, count, (format & DT_SINGLELINE) != 0, w, h);
    rect->right = rect->left + w;
    rect->bottom = rect->top + h;
    return Vertical() ? w : h;
  }

  const float savedAlpha = mCombineAlpha;
  if (format & LICE_TEXT_USE_COLOR_ALPHA) mCombineAlpha *= (float)LICE_GETA(mTextColor) / 255.0f;
  const int result = DrawGlyphs(dest, text, count, *rect, format);
  mCombineAlpha = savedAlpha;
  return result;
}

int LICE_CachedFont::DrawGlyphs(LICE_IBitmap* dest, const char* text, int count, const LICE_Rect& rect,
                                unsigned int format)
{
  if (mCombineAlpha == 0.0f || !dest->getBits()) return 0;

  int startX = rect.left;
  int startY = rect.top;
  int mw = 0;
  int mh = 0;
  if ((format & 0xF) || BottomUp()) MeasureCached(text, count, (format & DT_SINGLELINE) != 0, mw, mh);
  if (format & DT_CENTER)
    startX += (rect.right - mw - rect.left) / 2;
  else if (format & DT_RIGHT)
    startX = rect.right - mw;
  if (format & DT_VCENTER)
    startY += (rect.bottom - mh - rect.top) / 2;
  else if (format & DT_BOTTOM)
    startY = rect.bottom - mh;
  if (BottomUp()) startY += mh;

  LICE_Rect clip = {0, 0, dest->getWidth(), dest->getHeight()};
  if (!(format & DT_NOCLIP))
    clip = LICE_Rect{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, clip.right),
                     std::min(rect.bottom, clip.bottom)};
  if (clip.right <= clip.left || clip.bottom <= clip.top) return 0;

  const bool singleLine = (format & DT_SINGLELINE) != 0;
  const int lineStep = mLineHeight + mLineSpacing;
  int x = startX;
  int y = startY;
  int extent = Vertical() ? startX : startY;
  LICE_Utf8Reader reader(text, count);
  int c;
  while (reader.Next(c))
  {
    if (c == '\r') continue;
    if (c == '\n')
    {
      if (!singleLine)
      {
        if (Vertical())
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
    if (!CachedGlyph(c, g)) continue;
    if (BottomUp()) y -= g.height;
    const bool drawn = drawGlyph(dest, c, x, y, clip);
    if (Vertical())
    {
      y += BottomUp() ? g.height - g.advance : g.advance;
      if (drawn) extent = std::max(extent, x + g.width);
    }
    else
    {
      x += g.advance;
      if (drawn) extent = std::max(extent, y + g.height);
    }
  }
  return extent - (Vertical() ? startX : startY);
}
