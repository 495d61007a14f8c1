#pragma once

#include "LICE_IBitmap.h"

#include <windows.h>

#include <string>

// GDI helpers for the text tests. Every font is Tahoma; under wine it is wine's own
// tahoma.ttf (fonts-wine), loaded privately into the process, so that neither the
// fonts of the wine prefix nor those fontconfig offers on the host decide what is
// drawn. Each font carries an explicit quality, so the system's smoothing setting
// plays no part either.
namespace TextTestFonts
{

// kGrey: ANTIALIASED_QUALITY. Upright, wine's Tahoma stays bi-level up to 16 pixels
// per em, where its gasp table asks for no grey; its synthesised italic is grey at
// every size while wine's AntialiasFakeBoldOrItalic is on, as in a new prefix.
// kNone: NONANTIALIASED_QUALITY, bi-level at every size.
enum class Smoothing
{
  kGrey,
  kNone
};

// A new GDI font of the given cell height; the caller owns it. Adds a test failure
// when the font is not the pinned face (see PinnedFaceProblem).
HFONT Create(int height, bool italic = false, Smoothing smoothing = Smoothing::kGrey);

// Empty when font draws with the pinned face: named Tahoma and, under wine, made
// of exactly the bytes of wine's tahoma.ttf; otherwise what is wrong.
std::string PinnedFaceProblem(HFONT font);

// Width and height GDI gives the text (DT_CALCRECT | DT_NOPREFIX | format).
SIZE Measure(HFONT font, const std::wstring& text, UINT format = DT_SINGLELINE);

// Draws the text with GDI at (x, y) into a bitmap that has a device context.
void Draw(LICE_IBitmap& bm, HFONT font, const std::wstring& text, int x, int y, COLORREF color,
          UINT format = DT_SINGLELINE | DT_NOCLIP);

// Whether the registry shows that this process runs under Wine.
bool UnderWine();

}  // namespace TextTestFonts
