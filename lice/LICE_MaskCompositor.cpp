#include "LICE_MaskCompositor.h"

#include "LICE_BitmapRow.h"
#include "LICE_Blend.h"
#include "LICE_FillRect.h"
#include "LICE_IFont.h"

#include <algorithm>

namespace
{

LICE_pixel BlendWith(LICE_pixel d, int n, LICE_pixel c, int w)
{
  return LICE_BlendPixel(d, n, LICE_GETB(c), LICE_GETG(c), LICE_GETR(c), 255, w);
}

// Mono and effect masks: any non-zero byte is ink, 255 in the text colour and
// anything else in the effect colour.
void DrawSolid(LICE_IBitmap* dest, const unsigned char* mask, int stride, int x, int y, int cols, int rows,
               const LICE_MaskStyle& style, bool effect)
{
  const int n = style.mode & LICE_BLEND_MODEMASK;
  const bool replace = style.alpha == 1.0f && n == LICE_BLEND_COPY;
  const int k = std::min(LICE_AlphaToWeight(style.alpha), 256);
  if (!replace && k <= 0) return;
  for (int r = 0; r < rows; ++r)
  {
    const unsigned char* m = mask + (size_t)r * stride;
    LICE_pixel* d = LICE_BitmapRow(dest, y + r) + x;
    for (int i = 0; i < cols; ++i)
    {
      if (!m[i]) continue;
      const LICE_pixel c = (!effect || m[i] == 255) ? style.textColor : style.effectColor;
      d[i] = replace ? c : BlendWith(d[i], n, c, k);
    }
  }
}

void DrawCoverage(LICE_IBitmap* dest, const unsigned char* mask, int stride, int x, int y, int cols, int rows,
                  const LICE_MaskStyle& style)
{
  const int n = style.mode & LICE_BLEND_MODEMASK;
  const int k = LICE_AlphaToWeight(style.alpha);
  if (k <= 0 || n > LICE_BLEND_HSVADJUST) return;
  for (int r = 0; r < rows; ++r)
  {
    const unsigned char* m = mask + (size_t)r * stride;
    LICE_pixel* d = LICE_BitmapRow(dest, y + r) + x;
    for (int i = 0; i < cols; ++i)
    {
      const int a = m[i];
      if (!a) continue;
      int w;
      if (k == 256)
        w = a + 1;
      else if (k * a >= 65792)
        w = 256;
      else
        w = k * a / 256;
      d[i] = BlendWith(d[i], n, style.textColor, w);
    }
  }
}

// The style with alpha held to 0..1, NaN taken as 0: alpha above 1 draws as 1, and
// 0 draws nothing, the background fill included.
LICE_MaskStyle WithAlphaInRange(const LICE_MaskStyle& style)
{
  LICE_MaskStyle limited = style;
  if (!(style.alpha > 0.0f))
    limited.alpha = 0.0f;
  else if (style.alpha > 1.0f)
    limited.alpha = 1.0f;
  return limited;
}

}  // namespace

bool LICE_MaskCompositor::Draw(LICE_IBitmap* dest, const unsigned char* mask, int width, int height, int x, int y,
                               const LICE_Rect& clip, const LICE_MaskStyle& style)
{
  if (!dest || !mask || !dest->getBits()) return false;
  const int clipL = std::max(clip.left, 0);
  const int clipT = std::max(clip.top, 0);
  const int clipR = std::min(clip.right, dest->getWidth());
  const int clipB = std::min(clip.bottom, dest->getHeight());
  if (x >= clipR || y >= clipB || x + width <= clipL || y + height <= clipT) return false;

  int skipX = 0;
  int skipY = 0;
  if (x < clipL)
  {
    skipX = clipL - x;
    x = clipL;
  }
  if (y < clipT)
  {
    skipY = clipT - y;
    y = clipT;
  }
  const int cols = std::min(width - skipX, clipR - x);
  const int rows = std::min(height - skipY, clipB - y);
  if (cols < 1 || rows < 1) return false;

  const LICE_MaskStyle limited = WithAlphaInRange(style);
  if (limited.backgroundMode == 2)
    LICE_FillRect(dest, x, y, cols, rows, limited.backgroundColor, limited.alpha,
                  limited.mode & ~LICE_BLEND_USE_SOURCE_ALPHA);

  const unsigned char* start = mask + (size_t)skipY * width + skipX;
  if (limited.fontFlags & (LICE_FONT_SHADOW | LICE_FONT_OUTLINE))
    DrawSolid(dest, start, width, x, y, cols, rows, limited, true);
  else if (limited.fontFlags & LICE_FONT_MONO)
    DrawSolid(dest, start, width, x, y, cols, rows, limited, false);
  else
    DrawCoverage(dest, start, width, x, y, cols, rows, limited);
  return true;
}
