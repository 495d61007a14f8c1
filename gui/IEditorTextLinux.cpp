#include "IEditorText.h"

#include "IRectangle.h"
#include "ITextStyle.h"

// The raster library has no fonts on Linux: no style gets a font, and only an empty
// text can be measured (it needs none).

LICE_CachedFont* IEditorText::GetCachedFont(ITextStyle&)
{
  return nullptr;
}

bool IEditorText::MeasureText(ITextStyle&, const char* text, IRectangle&, LICE_IBitmap*)
{
  return text == nullptr || text[0] == '\0';
}
