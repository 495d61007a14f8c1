#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "IEditorText.h"
#include "IFontCache.h"
#include "IRectangle.h"
#include "ITextStyle.h"
#include "LICE_CachedFont.h"

namespace
{
DWORD GdiQuality(int quality)
{
  switch (quality)
  {
    case ITextStyle::kQualityDefault:
      return DEFAULT_QUALITY;
    case ITextStyle::kQualityAntiAliased:
      return ANTIALIASED_QUALITY;
    case ITextStyle::kQualityClearType:
      return CLEARTYPE_QUALITY;
    default:
      return NONANTIALIASED_QUALITY;
  }
}

HFONT CreateStyleFont(const ITextStyle& style)
{
  // A face that fills its field has no terminator; GDI is given a terminated copy.
  char face[IFontCache::kFaceBytes] = {};
  std::strncpy(face, style.face, IFontCache::kFaceChars);
  const int escapement = style.orientation * 10;
  return CreateFontA(style.size, 0, escapement, escapement, style.style == ITextStyle::kStyleBold ? FW_BOLD : FW_NORMAL,
                     style.style == ITextStyle::kStyleItalic, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     GdiQuality(style.quality), DEFAULT_PITCH, face);
}

unsigned int MeasureFormat(const ITextStyle& style)
{
  unsigned int format = DT_NOCLIP | DT_CALCRECT;
  if (style.align == ITextStyle::kAlignCenter)
    format |= DT_CENTER;
  else if (style.align != ITextStyle::kAlignLeft)
    format |= DT_RIGHT;
  if (style.color.A != 255) format |= LICE_TEXT_USE_COLOR_ALPHA;
  return format;
}

void FitRect(int align, int w, int h, IRectangle& r)
{
  r.B = r.T + h;
  if (align == ITextStyle::kAlignLeft)
  {
    r.R = r.L + w;
  }
  else if (align == ITextStyle::kAlignCenter)
  {
    r.L = static_cast<int>((static_cast<double>(r.L) + r.R) * 0.5) - w / 2;  // the sum may exceed int
    r.R = r.L + w;
  }
  else
  {
    r.L = r.R - w;
  }
}
}  // namespace

LICE_CachedFont* IEditorText::GetCachedFont(ITextStyle& style)
{
  IFontCache& cache = IFontCache::Instance();
  LICE_CachedFont* found = cache.Find(style.size, style.orientation, style.style, style.face);
  if (!found)
  {
    std::unique_ptr<LICE_CachedFont> font(new (std::nothrow) LICE_CachedFont);
    if (!font) return nullptr;
    HFONT handle = CreateStyleFont(style);
    if (!handle) return nullptr;
    font->setFromFont(handle, LICE_FONT_OWNS_HANDLE | LICE_FONT_ALLOW_NATIVE);
    found = cache.Add(style.size, style.orientation, style.style, style.face, font.release());
    if (!found) return nullptr;
  }
  style.cachedFont = found;
  return found;
}

bool IEditorText::MeasureText(ITextStyle& style, const char* text, IRectangle& r, LICE_IBitmap* measureInto)
{
  if (!text || !text[0]) return true;
  LICE_CachedFont* font = style.cachedFont ? style.cachedFont : GetCachedFont(style);
  if (!font) return false;
  font->setTextColor(style.color.Packed());
  LICE_Rect extent = {0, 0, 0, 0};
  font->drawText(measureInto, text, -1, &extent, MeasureFormat(style));
  FitRect(style.align, extent.right, extent.bottom, r);
  return true;
}
