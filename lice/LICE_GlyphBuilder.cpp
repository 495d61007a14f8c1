#include "LICE_GlyphBuilder.h"

#include "LICE_BitmapRow.h"
#include "LICE_GlyphBlur.h"
#include "LICE_IFont.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace
{

void MarkEmpty(LICE_GlyphInfo& rec)
{
  rec = LICE_GlyphInfo{-1, 0, 0, 0, rec.code, 0};
}

}  // namespace

void LICE_GlyphBuilder::Build(LICE_GlyphCache& cache, LICE_GlyphInfo& rec, LICE_IBitmap* surface, int cellWidth,
                              int cellHeight, int inkWidth, int pad, int flags)
{
  int W = cellWidth;
  const int h = cellHeight;
  if (inkWidth < 1 || h < 1 || W < 1 || !surface || !surface->getBits() || W > surface->getWidth() ||
      h > surface->getHeight() || (long long)W * h > 0x7FFFFFFF)
  {
    MarkEmpty(rec);
    return;
  }
  rec.advance = inkWidth;
  if (flags & LICE_FONT_BLUR) LICE_GlyphBlur::Apply(surface, W, h);

  const int base = cache.MaskStoreSize();
  const int pos = cache.AllocMask(W * h);
  if (pos < 0)
  {
    MarkEmpty(rec);
    return;
  }

  unsigned char* mask = cache.Mask(pos);
  const int inkEnd = inkWidth + pad;
  int left = pad;
  int right = inkEnd;
  const bool invert = (flags & LICE_FONT_INVERT) != 0;
  for (int r = 0; r < h; ++r)
  {
    const LICE_pixel* row = LICE_BitmapRow(surface, r);
    unsigned char* out = mask + (size_t)r * W;
    for (int x = 0; x < W; ++x)
    {
      const int red = LICE_GETR(row[x]);
      out[x] = (unsigned char)(invert ? 255 - red : red);
      if (red)
      {
        if (x < left) left = x;
        if (x >= inkEnd && x + 1 > right) right = x + 1;
      }
    }
  }
  right = std::min(right, W);
  left = std::min(left, right);
  if (left >= right)
  {
    cache.TruncateMasks(base);
    MarkEmpty(rec);
    return;
  }

  if (left > 0 || right < W)
  {
    const int kept = right - left;
    for (int r = 0; r < h; ++r) std::memmove(mask + (size_t)r * kept, mask + (size_t)r * W + left, kept);
    W = kept;
    cache.TruncateMasks(base + W * h);
  }

  int mw = W;
  int mh = h;
  if (flags & LICE_FONT_VERTICAL)
  {
    std::unique_ptr<unsigned char[]> turned(new (std::nothrow) unsigned char[(size_t)W * h]);
    if (!turned)
    {
      cache.TruncateMasks(base);
      MarkEmpty(rec);
      return;
    }
    Rotate(mask, W, h, (flags & LICE_FONT_BOTTOMUP) != 0, turned.get());
    std::memcpy(mask, turned.get(), (size_t)W * h);
    mw = h;
    mh = W;
  }
  ApplyEffects(mask, mw, mh, flags);

  rec.pos = pos;
  rec.width = mw;
  rec.height = mh;
  rec.xoffset = pad - left;
}

void LICE_GlyphBuilder::Rotate(const unsigned char* in, int width, int height, bool bottomUp, unsigned char* out)
{
  // The result is height wide and width high.
  for (int r = 0; r < width; ++r)
  {
    unsigned char* dst = out + (size_t)r * height;
    for (int k = 0; k < height; ++k)
      dst[k] = bottomUp ? in[(size_t)k * width + (width - 1 - r)] : in[(size_t)(height - 1 - k) * width + r];
  }
}

void LICE_GlyphBuilder::ApplyEffects(unsigned char* mask, int width, int height, int flags)
{
  const bool edge = (flags & (LICE_FONT_SHADOW | LICE_FONT_OUTLINE)) != 0;
  if (!(flags & LICE_FONT_MONO) && !edge) return;

  const size_t n = (size_t)width * height;
  for (size_t i = 0; i < n; ++i) mask[i] = mask[i] > 130 ? 255 : 0;
  if (!edge) return;

  const bool shadow = (flags & LICE_FONT_SHADOW) != 0;
  auto ink = [&](int r, int k)
  { return r >= 0 && r < height && k >= 0 && k < width && mask[(size_t)r * width + k] == 255; };
  for (int r = 0; r < height; ++r)
  {
    for (int k = 0; k < width; ++k)
    {
      unsigned char& m = mask[(size_t)r * width + k];
      if (m) continue;
      const bool touched = shadow ? ink(r, k - 1) || ink(r - 1, k - 1) || ink(r - 1, k)
                                  : ink(r - 1, k) || ink(r + 1, k) || ink(r, k - 1) || ink(r, k + 1);
      if (touched) m = 128;
    }
  }
}
