#pragma once

class LICE_CachedFont;
class LICE_IBitmap;
struct ITextStyle;
struct IRectangle;

// The editor's text: fonts of the raster library chosen by a text style through a
// process-wide font cache, and the measuring behind IGraphics::MeasureText. Fonts exist
// only where the raster library has them (Windows); elsewhere no font can be had.
class IEditorText
{
public:
  // The cached font for the style (created on first use and stored in the style), or
  // null when the font cannot be created.
  static LICE_CachedFont* GetCachedFont(ITextStyle& style);

  // Fits r to text drawn in style: its bottom to the text height and, by the style's
  // alignment, its left and right to the text width. True and r unchanged for an empty
  // or missing text; false when no font can be had. measureInto is the bitmap the
  // measurement is made against (the editor's draw bitmap).
  static bool MeasureText(ITextStyle& style, const char* text, IRectangle& r, LICE_IBitmap* measureInto);
};
