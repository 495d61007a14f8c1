#include "LICE_FillRect.h"

#include "LICE_Blend.h"

#include <cstddef>

namespace
{

template <class Op>
void ForEachPixel(LICE_pixel* row, ptrdiff_t span, int cols, int rows, Op op)
{
  for (int r = 0; r < rows; ++r, row += span)
    for (int c = 0; c < cols; ++c) row[c] = op(row[c]);
}

// Mode `Mode` with the colour's B, G, R and the weight itself as the alpha operand.
template <int Mode>
void FillWeighted(LICE_pixel* row, ptrdiff_t span, int cols, int rows, LICE_pixel color, int k)
{
  const int cB = LICE_GETB(color), cG = LICE_GETG(color), cR = LICE_GETR(color);
  ForEachPixel(row, span, cols, rows, [=](LICE_pixel d) { return LICE_BlendPixel(d, Mode, cB, cG, cR, k, k); });
}

}  // namespace

void LICE_FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel color, float alpha, int mode)
{
  if (mode & LICE_BLEND_USE_SOURCE_ALPHA) alpha = (float)(alpha * ((color >> 24) / 255.0));
  if (!dest || alpha == 0.0f) return;
  LICE_pixel* bits = dest->getBits();
  const ptrdiff_t span = dest->getRowSpan();
  if (!bits || span == 0) return;

  const int destW = dest->getWidth(), destH = dest->getHeight();
  if (x < 0)
  {
    w = (long long)w + x < -1 ? -1 : w + x;
    x = 0;
  }
  if (y < 0)
  {
    h = (long long)h + y < -1 ? -1 : h + y;
    y = 0;
  }
  if (w < 1 || h < 1 || x >= destW || y >= destH) return;
  if (w > destW - x) w = destW - x;
  if (h > destH - y) h = destH - y;

  const int firstStored = dest->isFlipped() ? destH - y - h : y;
  LICE_pixel* row = bits + (ptrdiff_t)firstStored * span + x;

  int k = LICE_AlphaToWeight(alpha);
  if (k > 256) k = 256;
  const int m = mode & LICE_BLEND_MODEMASK;

  if (m == LICE_BLEND_COPY)
  {
    const LICE_pixel c = color;
    switch (k)
    {
      case 256:
        ForEachPixel(row, span, w, h, [c](LICE_pixel) { return c; });
        return;
      case 128:
        ForEachPixel(row, span, w, h, [c](LICE_pixel d) { return ((c >> 1) & 0x7F7F7F7F) + ((d >> 1) & 0x7F7F7F7F); });
        return;
      case 64:
        ForEachPixel(row, span, w, h,
                     [c](LICE_pixel d)
                     { return ((d >> 1) & 0x7F7F7F7F) + ((c >> 2) & 0x3F3F3F3F) + ((d >> 2) & 0x3F3F3F3F); });
        return;
      case 192:
        ForEachPixel(row, span, w, h,
                     [c](LICE_pixel d)
                     { return ((c >> 2) & 0x3F3F3F3F) + ((d >> 2) & 0x3F3F3F3F) + ((c >> 1) & 0x7F7F7F7F); });
        return;
      default:
        break;
    }
  }
  if (k <= 0) return;

  switch (m)
  {
    case LICE_BLEND_COPY:
      FillWeighted<LICE_BLEND_COPY>(row, span, w, h, color, k);
      break;
    case LICE_BLEND_ADD:
      FillWeighted<LICE_BLEND_ADD>(row, span, w, h, color, k);
      break;
    case LICE_BLEND_DODGE:
      FillWeighted<LICE_BLEND_DODGE>(row, span, w, h, color, k);
      break;
    case LICE_BLEND_MULTIPLY:
      FillWeighted<LICE_BLEND_MULTIPLY>(row, span, w, h, color, k);
      break;
    case LICE_BLEND_SOFTLIGHT:
      FillWeighted<LICE_BLEND_SOFTLIGHT>(row, span, w, h, color, k);
      break;
    case LICE_BLEND_HSVADJUST:
      FillWeighted<LICE_BLEND_HSVADJUST>(row, span, w, h, color, k);
      break;
    default:
      break;
  }
}
