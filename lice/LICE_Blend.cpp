#include "LICE_Blend.h"

namespace
{

// T(i) = floor(65536 / i) - 1 for i = 1..255, T(0) = 0.
struct InverseTable
{
  int t[256];
  constexpr InverseTable()
    : t()
  {
    for (int i = 1; i < 256; ++i) t[i] = 65536 / i - 1;
  }
};
constexpr InverseTable kInverse;

}  // namespace

LICE_pixel LICE_HSVAdjust(LICE_pixel d, int hR, int hG, int hB, int w, int alphaByte)
{
  const int R = LICE_GETR(d), G = LICE_GETG(d), B = LICE_GETB(d);

  // Hue runs 0..383 for a full turn, 64 per sixth.
  int maxc, base, numerator;
  if (G > R)
  {
    if (G > B)
    {
      maxc = G, base = 128, numerator = B - R;
    }
    else
    {
      maxc = B, base = 256, numerator = R - G;
    }
  }
  else if (R > B)
  {
    maxc = R, numerator = G - B, base = G < B ? 383 : 0;
  }
  else
  {
    maxc = B, base = 256, numerator = R - G;
  }
  const int minc = R < G ? (R < B ? R : B) : (G < B ? G : B);
  const int V = maxc;
  const int delta = V - minc;
  const int sat = kInverse.t[V] * delta / 256;
  const int hue = base + numerator * (kInverse.t[delta] + 1) / 1024;

  int h = hue + w * (hR + hR / 2 - 192) / 256;
  if (h < 0)
    h += 384;
  else if (h >= 384)
    h -= 384;
  const int s = LICE_Clamp255(sat + w * (hG - 128) / 128);
  const int v = LICE_Clamp255(V + w * (hB - 128) / 128);

  const int p = (256 - s) * v / 256;
  auto ramp = [s, v](int k) { return v * (16384 + s * k) / 16384; };

  int r, g, b;
  if (h < 64)
  {
    r = v, g = ramp(h - 64), b = p;
  }
  else if (h < 128)
  {
    r = ramp(64 - h), g = v, b = p;
  }
  else if (h < 192)
  {
    r = p, g = v, b = ramp(h - 192);
  }
  else if (h < 256)
  {
    r = p, g = ramp(192 - h), b = v;
  }
  else if (h < 320)
  {
    r = ramp(h - 320), g = p, b = v;
  }
  else
  {
    r = v, g = p, b = ramp(320 - h);
  }
  return LICE_RGBA(r, g, b, alphaByte);
}
