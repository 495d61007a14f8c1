#pragma once

#include "LICE_pixel.h"

// Blend words and the per-channel arithmetic shared by LICE_Blit, LICE_FillRect and
// the text renderer. A blend word's low byte selects the mode; bit 16 asks LICE_Blit
// to weight each pixel by the source's alpha. Weights run 0..256 (256 = full); every
// division rounds toward zero, exactly as C++ integer division does.

enum
{
  LICE_BLEND_COPY = 0,
  LICE_BLEND_ADD = 1,
  LICE_BLEND_DODGE = 2,
  LICE_BLEND_MULTIPLY = 3,
  LICE_BLEND_SOFTLIGHT = 4,
  LICE_BLEND_HSVADJUST = 5,
  LICE_BLEND_CHANNELCOPY = 0xF0,  // 0xF0..0xFF, see LICE_BlendChannelCopy
  LICE_BLEND_MODEMASK = 0xFF,
  LICE_BLEND_USE_SOURCE_ALPHA = 0x10000
};

// Channel copy for LICE_Blit: destination byte dstByte := source byte srcByte
// (0 = blue, 1 = green, 2 = red, 3 = alpha).
constexpr int LICE_BlendChannelCopy(int dstByte, int srcByte)
{
  return LICE_BLEND_CHANNELCOPY | (dstByte & 3) << 2 | (srcByte & 3);
}

// The integer weight of a float alpha: alpha * 256 truncated toward zero. NaN gives
// 0 and the result is limited to -65536..65536 so that it always fits the formulas.
inline int LICE_AlphaToWeight(float alpha)
{
  const double w = (double)alpha * 256.0;
  if (!(w > -65536.0)) return w != w ? 0 : -65536;
  if (w > 65536.0) return 65536;
  return (int)w;
}

constexpr int LICE_Clamp255(int x)
{
  return x < 0 ? 0 : x > 255 ? 255 : x;
}

// Per-channel formulas: d is the destination channel, s the operand (0..255), w the
// weight. The results of the copy formula are meant to be stored as their low byte;
// the others are already in 0..255 for weights 0..256.

// s + (d - s) * keep / 256, where keep is the share of the destination kept.
constexpr int LICE_BlendCopyChannel(int d, int s, int keep)
{
  return s + (d - s) * keep / 256;
}

constexpr int LICE_BlendAddChannel(int d, int s, int w)
{
  return LICE_Clamp255(d + s * w / 256);
}

constexpr int LICE_BlendDodgeChannel(int d, int s, int w)
{
  const int q = 256 - s * w / 256;
  return q > 1 ? LICE_Clamp255(d * 256 / q) : LICE_Clamp255(d * 256);
}

constexpr int LICE_BlendMultiplyChannel(int d, int s, int w)
{
  return (d * (w * s + (256 - w) * 256)) >> 16;
}

constexpr int LICE_BlendSoftLightChannel(int d, int s, int w)
{
  const int s2 = s * w + (256 - w) * 128;
  return LICE_Clamp255(((32768 - s2) * d / 256 + s2) * d >> 15);
}

// HSV adjustment of one destination pixel: operand hR shifts the hue, hG the
// saturation and hB the value (128 = no change), scaled by weight w (0..256). The
// result's alpha byte is the low byte of alphaByte.
LICE_pixel LICE_HSVAdjust(LICE_pixel d, int hR, int hG, int hB, int w, int alphaByte);

// One of the modes LICE_BLEND_COPY..LICE_BLEND_HSVADJUST applied to all four channels
// of d with the operands cB, cG, cR, cA (cA may be any weight-sized value, e.g. 256)
// and weight w (0..256). Copy keeps (256 - w) / 256 of the destination. Other modes
// return d unchanged.
inline LICE_pixel LICE_BlendPixel(LICE_pixel d, int mode, int cB, int cG, int cR, int cA, int w)
{
  const int dB = LICE_GETB(d), dG = LICE_GETG(d), dR = LICE_GETR(d), dA = LICE_GETA(d);
  switch (mode)
  {
    case LICE_BLEND_COPY:
      return LICE_RGBA(LICE_BlendCopyChannel(dR, cR, 256 - w), LICE_BlendCopyChannel(dG, cG, 256 - w),
                       LICE_BlendCopyChannel(dB, cB, 256 - w), LICE_BlendCopyChannel(dA, cA, 256 - w));
    case LICE_BLEND_ADD:
      return LICE_RGBA(LICE_BlendAddChannel(dR, cR, w), LICE_BlendAddChannel(dG, cG, w),
                       LICE_BlendAddChannel(dB, cB, w), LICE_BlendAddChannel(dA, cA, w));
    case LICE_BLEND_DODGE:
      return LICE_RGBA(LICE_BlendDodgeChannel(dR, cR, w), LICE_BlendDodgeChannel(dG, cG, w),
                       LICE_BlendDodgeChannel(dB, cB, w), LICE_BlendDodgeChannel(dA, cA, w));
    case LICE_BLEND_MULTIPLY:
      return LICE_RGBA(LICE_BlendMultiplyChannel(dR, cR, w), LICE_BlendMultiplyChannel(dG, cG, w),
                       LICE_BlendMultiplyChannel(dB, cB, w), LICE_BlendMultiplyChannel(dA, cA, w));
    case LICE_BLEND_SOFTLIGHT:
      return LICE_RGBA(LICE_BlendSoftLightChannel(dR, cR, w), LICE_BlendSoftLightChannel(dG, cG, w),
                       LICE_BlendSoftLightChannel(dB, cB, w), LICE_BlendSoftLightChannel(dA, cA, w));
    case LICE_BLEND_HSVADJUST:
      return LICE_HSVAdjust(d, cR, cG, cB, w, cA);
    default:
      return d;
  }
}
