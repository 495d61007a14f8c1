#include "TextTestFonts.h"

namespace TextTestFonts {

HFONT create(int height, bool italic)
{
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

SIZE measure(HFONT font, const std::wstring& text, UINT format)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r = {0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), (int)text.size(), &r, format | DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteDC(dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void draw(LICE_IBitmap& bm, HFONT font, const std::wstring& text, int x, int y, COLORREF color, UINT format)
{
  HDC dc = bm.getDC();
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  RECT r = {x, y, bm.getWidth(), bm.getHeight()};
  DrawTextW(dc, text.c_str(), (int)text.size(), &r, format | DT_NOPREFIX);
  GdiFlush();
  SelectObject(dc, old);
}

bool underWine()
{
  HKEY key;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace TextTestFonts
