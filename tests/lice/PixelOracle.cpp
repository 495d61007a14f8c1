#include "PixelOracle.h"

#include <algorithm>

namespace
{

struct Channels
{
  int c[4];  // blue, green, red, alpha
};

Channels Split(LICE_pixel p)
{
  Channels ch;
  for (int i = 0; i < 4; ++i) ch.c[i] = (int)((p >> (8 * i)) & 0xFF);
  return ch;
}

LICE_pixel Join(const Channels& ch)
{
  LICE_pixel p = 0;
  for (int i = 0; i < 4; ++i) p |= (LICE_pixel)(ch.c[i] & 0xFF) << (8 * i);
  return p;
}

int Clamp(int x)
{
  return std::min(255, std::max(0, x));
}

int WeightOf(float alpha)
{
  return (int)((double)alpha * 256.0);
}

int Add(int d, int s, int w)
{
  return Clamp(d + s * w / 256);
}

int Dodge(int d, int s, int w)
{
  const int q = 256 - s * w / 256;
  if (q > 1) return Clamp(d * 256 / q);
  return Clamp(d * 256);
}

int Multiply(int d, int s, int w)
{
  return (d * (w * s + (256 - w) * 256)) >> 16;
}

int SoftLight(int d, int s, int w)
{
  const int s2 = s * w + (256 - w) * 128;
  return Clamp(((32768 - s2) * d / 256 + s2) * d >> 15);
}

// Modes 1..4 on all four channels with operands op and weight w.
LICE_pixel Arithmetic(int mode, LICE_pixel dest, const int op[4], int w)
{
  Channels d = Split(dest);
  for (int i = 0; i < 4; ++i)
  {
    switch (mode)
    {
      case 1:
        d.c[i] = Add(d.c[i], op[i], w);
        break;
      case 2:
        d.c[i] = Dodge(d.c[i], op[i], w);
        break;
      case 3:
        d.c[i] = Multiply(d.c[i], op[i], w);
        break;
      case 4:
        d.c[i] = SoftLight(d.c[i], op[i], w);
        break;
    }
  }
  return Join(d);
}

LICE_pixel BlendBlitPixel(LICE_pixel dest, LICE_pixel source, int m, int w)
{
  const Channels s = Split(source);
  const int sA = s.c[3];
  Channels d = Split(dest);
  switch (m)
  {
    case 0:
      if (w <= 0) return dest;
      if (w == 256) return source;
      for (int i = 0; i < 4; ++i) d.c[i] = s.c[i] + (d.c[i] - s.c[i]) * (256 - w) / 256;
      return Join(d);
    case 1:
    case 2:
    case 3:
    case 4:
      return Arithmetic(m, dest, s.c, w);
    case 5:
      return OracleHsv(dest, s.c[2], s.c[1], s.c[0], w, sA);
    case 0x10000:
      if (sA == 0) return dest;
      if (w == 256)
      {
        if (sA == 255) return source;
        for (int i = 0; i < 3; ++i) d.c[i] = s.c[i] + (d.c[i] - s.c[i]) * (255 - sA) / 256;
        d.c[3] = std::min(d.c[3] + sA, 255);
      }
      else
      {
        const int a = w * (sA + 1) / 256;
        d.c[3] = std::min(d.c[3] + a, 255);
        for (int i = 0; i < 3; ++i) d.c[i] = s.c[i] + (d.c[i] - s.c[i]) * (256 - a) / 256;
      }
      return Join(d);
    case 0x10001:
      if (sA == 0) return dest;
      return Arithmetic(1, dest, s.c, (sA + 1) * w / 256);
    case 0x10002:
      return Arithmetic(2, dest, s.c, (sA + 1) * w / 256);
    case 0x10003:
      if (sA == 0) return dest;
      return Arithmetic(3, dest, s.c, (sA + 1) * w / 256);
    case 0x10004:
      return Arithmetic(4, dest, s.c, w * (sA + 1) / 256);
    case 0x10005:
      return OracleHsv(dest, s.c[2], s.c[1], s.c[0], w * (sA + 1) / 256, sA);
    default:
      return dest;
  }
}

}  // namespace

LICE_pixel OracleHsv(LICE_pixel d, int hR, int hG, int hB, int w, int alphaByte)
{
  auto T = [](int i) { return i == 0 ? 0 : 65536 / i - 1; };
  const Channels ch = Split(d);
  const int R = ch.c[2], G = ch.c[1], B = ch.c[0];
  int V, base, num;
  if (G > R)
  {
    if (G > B)
      V = G, base = 128, num = B - R;
    else
      V = B, base = 256, num = R - G;
  }
  else
  {
    if (R > B)
      V = R, num = G - B, base = (G < B) ? 383 : 0;
    else
      V = B, base = 256, num = R - G;
  }
  const int delta = V - std::min({R, G, B});
  const int sat = (T(V) * delta) / 256;
  const int hue = base + (num * (T(delta) + 1)) / 1024;

  int h2 = hue + (w * (hR + hR / 2 - 192)) / 256;
  if (h2 < 0)
    h2 += 384;
  else if (h2 >= 384)
    h2 -= 384;
  const int s2 = Clamp(sat + (w * (hG - 128)) / 128);
  const int v2 = Clamp(V + (w * (hB - 128)) / 128);
  const int P = ((256 - s2) * v2) / 256;
  auto ramp = [&](int k) { return (v2 * (16384 + s2 * k)) / 16384; };

  int r, g, b;
  if (h2 <= 63)
    r = v2, g = ramp(h2 - 64), b = P;
  else if (h2 <= 127)
    r = ramp(64 - h2), g = v2, b = P;
  else if (h2 <= 191)
    r = P, g = v2, b = ramp(h2 - 192);
  else if (h2 <= 255)
    r = P, g = ramp(192 - h2), b = v2;
  else if (h2 <= 319)
    r = ramp(h2 - 320), g = P, b = v2;
  else
    r = v2, g = P, b = ramp(320 - h2);
  Channels out;
  out.c[0] = b, out.c[1] = g, out.c[2] = r, out.c[3] = alphaByte;
  return Join(out);
}

void OracleBlit(PixelGrid& dest, const PixelGrid& src, int dstx, int dsty, const LICE_Rect* srcRect, float alpha,
                int mode)
{
  if (alpha == 0.0f) return;
  // Destination pixel (X, Y) shows source pixel (X - dstx + left, Y - dsty + top),
  // where the source must lie inside both the rectangle and the source bitmap.
  const int left = srcRect ? srcRect->left : 0, top = srcRect ? srcRect->top : 0;
  const int sx0 = std::max(left, 0), sy0 = std::max(top, 0);
  const int sx1 = srcRect ? std::min(srcRect->right, src.width) : src.width;
  const int sy1 = srcRect ? std::min(srcRect->bottom, src.height) : src.height;

  const int low = mode & 0xFF;
  const int m = mode & 0x100FF;
  const int w = WeightOf(alpha);
  for (int Y = 0; Y < dest.height; ++Y)
  {
    for (int X = 0; X < dest.width; ++X)
    {
      const long long sx = (long long)X - dstx + left, sy = (long long)Y - dsty + top;
      if (sx < sx0 || sx >= sx1 || sy < sy0 || sy >= sy1) continue;
      const LICE_pixel s = src.At((int)sx, (int)sy);
      LICE_pixel& d = dest.At(X, Y);
      if (low >= 0xF0)
      {
        Channels dc = Split(d);
        dc.c[(mode >> 2) & 3] = Split(s).c[mode & 3];
        d = Join(dc);
      }
      else if (m == 0 && alpha == 1.0f)
      {
        d = s;
      }
      else if (m == 0 && alpha == 0.5f)
      {
        d = ((s >> 1) & 0x7F7F7F7F) + ((d >> 1) & 0x7F7F7F7F);
      }
      else if (w != 0)
      {
        d = BlendBlitPixel(d, s, m, w);
      }
    }
  }
}

void OracleFillRect(PixelGrid& dest, int x, int y, int w, int h, LICE_pixel color, float alpha, int mode)
{
  if (mode & 0x10000) alpha = (float)(alpha * ((color >> 24) / 255.0));
  if (alpha == 0.0f) return;
  const int k = WeightOf(alpha);
  const int low = mode & 0xFF;
  const int op[4] = {(int)(color & 0xFF), (int)((color >> 8) & 0xFF), (int)((color >> 16) & 0xFF), k};
  for (int Y = std::max(y, 0); Y < std::min((long long)y + h, (long long)dest.height); ++Y)
  {
    for (int X = std::max(x, 0); X < std::min((long long)x + w, (long long)dest.width); ++X)
    {
      LICE_pixel& d = dest.At(X, Y);
      if (low == 0 && k == 256)
        d = color;
      else if (low == 0 && k == 128)
        d = ((color >> 1) & 0x7F7F7F7F) + ((d >> 1) & 0x7F7F7F7F);
      else if (low == 0 && k == 64)
        d = ((d >> 1) & 0x7F7F7F7F) + ((color >> 2) & 0x3F3F3F3F) + ((d >> 2) & 0x3F3F3F3F);
      else if (low == 0 && k == 192)
        d = ((color >> 2) & 0x3F3F3F3F) + ((d >> 2) & 0x3F3F3F3F) + ((color >> 1) & 0x7F7F7F7F);
      else if (k == 0)
        continue;
      else if (low == 0)
      {
        if (k <= 0) continue;
        Channels dc = Split(d);
        for (int i = 0; i < 3; ++i) dc.c[i] = op[i] + (dc.c[i] - op[i]) * (256 - k) / 256;
        dc.c[3] = k + (dc.c[3] - k) * (256 - k) / 256;
        d = Join(dc);
      }
      else if (low >= 1 && low <= 4)
      {
        d = Arithmetic(low, d, op, k);
      }
      else if (low == 5)
      {
        d = OracleHsv(d, op[2], op[1], op[0], k, k % 256);
      }
    }
  }
}
