#pragma once

#include "LICE_IBitmap.h"

#include <windows.h>

#include <string>

// GDI helpers for the text tests. Fonts are Tahoma, which wine always provides.
namespace TextTestFonts {

// A new GDI font of the given cell height; the caller owns it.
HFONT create(int height, bool italic = false);

// Width and height GDI gives the text (DT_CALCRECT | DT_NOPREFIX | format).
SIZE measure(HFONT font, const std::wstring& text, UINT format = DT_SINGLELINE);

// Draws the text with GDI at (x, y) into a bitmap that has a device context.
void draw(LICE_IBitmap& bm, HFONT font, const std::wstring& text, int x, int y, COLORREF color,
          UINT format = DT_SINGLELINE | DT_NOCLIP);

// Whether the registry shows that this process runs under Wine.
bool underWine();

}  // namespace TextTestFonts
