#include "LICE_NativeText.h"

#include "LICE_Blend.h"
#include "LICE_Blit.h"
#include "LICE_TextState.h"
#include "LICE_Utf8Reader.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>

namespace
{

COLORREF GdiColor(LICE_pixel c)
{
  return RGB(LICE_GETR(c), LICE_GETG(c), LICE_GETB(c));
}

// UTF-8 text with multi-byte sequences goes to GDI as UTF-16, anything else
// (or text that does not convert) as bytes.
int GdiDrawText(HDC dc, const char* text, int count, RECT* r, UINT format)
{
  if (LICE_Utf8Reader::HasMultiByteSequence(text, count))
  {
    const int needed = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, count, nullptr, 0);
    if (needed > 0)
    {
      wchar_t local[1024];
      std::unique_ptr<wchar_t[]> heap;
      wchar_t* buf = local;
      if (needed >= 1000)
      {
        heap.reset(new (std::nothrow) wchar_t[(size_t)needed + 32]);
        buf = heap.get();
      }
      const int len = buf ? MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, count, buf, needed) : 0;
      if (len > 0)
      {
        buf[len] = 0;
        return DrawTextW(dc, buf, -1, r, format);
      }
    }
  }
  return DrawTextA(dc, text, count, r, format);
}

void SetColors(HDC dc, const LICE_NativeText::Style& style)
{
  SetTextColor(dc, GdiColor(style.textColor));
  SetBkMode(dc, style.backgroundMode);
  if (style.backgroundMode == OPAQUE) SetBkColor(dc, GdiColor(style.backgroundColor));
}

// Selects a font into a DC for the lifetime of the object.
class FontSelection
{
public:
  FontSelection(HDC dc, LICE_HFONT font)
    : mDC(dc)
  {
    Select(font);
  }
  ~FontSelection() { Deselect(); }
  void Select(LICE_HFONT font)
  {
    if (font) mOld = SelectObject(mDC, font);
  }
  void Deselect()
  {
    if (mOld) SelectObject(mDC, mOld);
    mOld = nullptr;
  }

private:
  HDC mDC;
  HGDIOBJ mOld = nullptr;
};

int DrawIntoDc(HDC dc, const char* text, int count, LICE_Rect* rect, unsigned int format,
               const LICE_NativeText::Style& style)
{
  FontSelection font(dc, style.font);
  SetColors(dc, style);
  RECT r = {rect->left, rect->top, rect->right, rect->bottom};
  const int result = GdiDrawText(dc, text, count, &r, format | DT_NOPREFIX);
  GdiFlush();
  if (format & DT_CALCRECT) *rect = LICE_Rect{(int)r.left, (int)r.top, (int)r.right, (int)r.bottom};
  return result;
}

int DrawViaScratch(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format,
                   const LICE_NativeText::Style& style)
{
  LICE_SysBitmap* scratch = LICE_TextState::ScratchSurface();
  HDC dc = scratch ? scratch->getDC() : nullptr;
  if (!dc) return 0;

  FontSelection font(dc, style.font);
  const UINT plain = (format & ~0xFu) | DT_NOPREFIX;
  RECT measured = {0, 0, 0, 0};
  const int result = GdiDrawText(dc, text, count, &measured, plain | DT_CALCRECT);
  const int mw = measured.right;
  const int mh = measured.bottom;
  if (format & DT_CALCRECT)
  {
    rect->right = rect->left + mw;
    rect->bottom = rect->top + mh;
    return result;
  }

  int x = rect->left;
  if (format & DT_RIGHT)
    x = rect->right - mw;
  else if (format & DT_CENTER)
    x = (rect->right + rect->left - mw) / 2;
  int y = rect->top;
  if (format & DT_BOTTOM)
    y = rect->bottom - mh;
  else if (format & DT_VCENTER)
    y = (rect->bottom + rect->top - mh) / 2;

  int right = std::min(x + mw, dest->getWidth());
  int bottom = std::min(y + mh, dest->getHeight());
  int clipLeft = 0;
  int clipTop = 0;
  if (!(format & DT_NOCLIP))
  {
    right = std::min(right, rect->right);
    bottom = std::min(bottom, rect->bottom);
    clipLeft = std::max(rect->left, 0);
    clipTop = std::max(rect->top, 0);
  }
  int drawLeft = 0;
  int drawTop = 0;
  if (x < clipLeft)
  {
    drawLeft = x - clipLeft;
    x = clipLeft;
  }
  if (y < clipTop)
  {
    drawTop = y - clipTop;
    y = clipTop;
  }
  if (bottom <= y || right <= x) return result;

  // Room for ink that overhangs the start of the text, but never left of the clip.
  const int pad = std::min(style.lineHeight < 16 ? 2 : style.lineHeight / 16 + 2, x - clipLeft);
  x -= pad;
  const int w = right - x;
  const int h = bottom - y;
  if (scratch->getWidth() < w || scratch->getHeight() < h)
  {
    font.Deselect();
    scratch->resize(std::max(scratch->getWidth(), w), std::max(scratch->getHeight(), h));
    font.Select(style.font);
    if (!scratch->getBits() || scratch->getWidth() < w || scratch->getHeight() < h) return 0;
  }

  const LICE_Rect area = {x, y, right, bottom};
  LICE_Blit(scratch, dest, 0, 0, &area, 1.0f, LICE_BLEND_COPY);
  SetColors(dc, style);
  RECT where = {drawLeft + pad, drawTop, w, h};
  const int drawn = GdiDrawText(dc, text, count, &where, plain);
  GdiFlush();
  font.Deselect();
  const LICE_Rect back = {0, 0, w, h};
  LICE_Blit(dest, scratch, x, y, &back, style.alpha, LICE_BLEND_COPY);
  return drawn;
}

}  // namespace

int LICE_NativeText::Draw(LICE_IBitmap* dest, const char* text, int count, LICE_Rect* rect, unsigned int format,
                          const Style& style)
{
  if (!text || !rect || (!dest && !(format & DT_CALCRECT))) return 0;
  HDC dc = dest ? dest->getDC() : nullptr;
  if (dc) return DrawIntoDc(dc, text, count, rect, format, style);
  return DrawViaScratch(dest, text, count, rect, format, style);
}
