#include "PngTestImages.h"

#include <cstring>

namespace
{

// Deterministic samples that cover every level of low bit depths.
int PatternSample(int x, int y, int c, int maxValue)
{
  return (x * 7 + y * 13 + c * 29 + x * y) % (maxValue + 1);
}

// Scales a stored sample to 8 bits the way the decoder must: low depths repeat
// their bits, 16-bit samples keep the high byte.
int To8(int v, int depth)
{
  switch (depth)
  {
    case 1:
      return v * 255;
    case 2:
      return v * 85;
    case 4:
      return v * 17;
    case 16:
      return v >> 8;
    default:
      return v;
  }
}

}  // namespace

const PngFormat kPngFormats[] = {
    {"Grey1", PNG_COLOR_TYPE_GRAY, 1, false, false},
    {"Grey2", PNG_COLOR_TYPE_GRAY, 2, false, false},
    {"Grey4", PNG_COLOR_TYPE_GRAY, 4, false, false},
    {"Grey8", PNG_COLOR_TYPE_GRAY, 8, false, false},
    {"Grey16", PNG_COLOR_TYPE_GRAY, 16, false, false},
    {"Grey2Transparent", PNG_COLOR_TYPE_GRAY, 2, false, true},
    {"Grey8Transparent", PNG_COLOR_TYPE_GRAY, 8, false, true},
    {"Grey16Transparent", PNG_COLOR_TYPE_GRAY, 16, false, true},
    {"GreyAlpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
    {"GreyAlpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, false},
    {"RGB8", PNG_COLOR_TYPE_RGB, 8, false, false},
    {"RGB16", PNG_COLOR_TYPE_RGB, 16, false, false},
    {"RGB8Transparent", PNG_COLOR_TYPE_RGB, 8, false, true},
    {"RGBA8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false},
    {"RGBA16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false},
    {"Palette1", PNG_COLOR_TYPE_PALETTE, 1, false, false},
    {"Palette2", PNG_COLOR_TYPE_PALETTE, 2, false, false},
    {"Palette4", PNG_COLOR_TYPE_PALETTE, 4, false, false},
    {"Palette8", PNG_COLOR_TYPE_PALETTE, 8, false, false},
    {"Palette4Transparent", PNG_COLOR_TYPE_PALETTE, 4, false, true},
    {"Palette8Transparent", PNG_COLOR_TYPE_PALETTE, 8, false, true},
    {"Grey1Interlaced", PNG_COLOR_TYPE_GRAY, 1, true, false},
    {"Grey16Interlaced", PNG_COLOR_TYPE_GRAY, 16, true, false},
    {"RGBA8Interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false},
    {"Palette2TransparentInterlaced", PNG_COLOR_TYPE_PALETTE, 2, true, true},
};

const size_t kPngFormatCount = sizeof kPngFormats / sizeof kPngFormats[0];

const PngFormat& FindPngFormat(const char* name)
{
  for (size_t i = 0; i < kPngFormatCount; ++i)
    if (strcmp(kPngFormats[i].name, name) == 0) return kPngFormats[i];
  return kPngFormats[0];
}

PngImage MakeImage(const PngFormat& f, int w, int h)
{
  PngImage img;
  img.width = w;
  img.height = h;
  img.colorType = f.colorType;
  img.bitDepth = f.bitDepth;
  img.interlaced = f.interlaced;
  const int maxValue = (1 << f.bitDepth) - 1;
  if (f.colorType == PNG_COLOR_TYPE_PALETTE)
  {
    for (int i = 0; i <= maxValue; ++i)
      img.palette.push_back(png_color{(png_byte)(i * 37), (png_byte)(255 - i * 11), (png_byte)(i * 91 + 5)});
    if (f.transparency)  // fewer entries than the palette: the rest stays opaque
      for (int i = 0; i < (maxValue + 1) / 2 + 1 && i <= maxValue; ++i) img.paletteAlpha.push_back((png_byte)(i * 53));
  }
  img.AllocateRows();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < img.Channels(); ++c) img.SetSample(x, y, c, PatternSample(x, y, c, maxValue));
  if (f.transparency && f.colorType != PNG_COLOR_TYPE_PALETTE)
  {
    // Make the first pixel's colour the transparent one; other pixels share it too.
    img.hasTransparentColor = true;
    if (f.colorType == PNG_COLOR_TYPE_GRAY)
    {
      img.transparentColor.gray = (png_uint_16)img.Sample(0, 0, 0);
    }
    else
    {
      img.transparentColor.red = (png_uint_16)img.Sample(0, 0, 0);
      img.transparentColor.green = (png_uint_16)img.Sample(0, 0, 1);
      img.transparentColor.blue = (png_uint_16)img.Sample(0, 0, 2);
    }
  }
  return img;
}

PixelGrid ExpectedPixels(const PngImage& img)
{
  PixelGrid g(img.width, img.height);
  const int d = img.bitDepth;
  for (int y = 0; y < img.height; ++y)
  {
    for (int x = 0; x < img.width; ++x)
    {
      int r, gr, b, a = 255;
      switch (img.colorType)
      {
        case PNG_COLOR_TYPE_GRAY:
          r = gr = b = To8(img.Sample(x, y, 0), d);
          if (img.hasTransparentColor && img.Sample(x, y, 0) == img.transparentColor.gray) a = 0;
          break;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
          r = gr = b = To8(img.Sample(x, y, 0), d);
          a = To8(img.Sample(x, y, 1), d);
          break;
        case PNG_COLOR_TYPE_PALETTE:
        {
          const int i = img.Sample(x, y, 0);
          r = img.palette[(size_t)i].red, gr = img.palette[(size_t)i].green, b = img.palette[(size_t)i].blue;
          if ((size_t)i < img.paletteAlpha.size()) a = img.paletteAlpha[(size_t)i];
          break;
        }
        default:
          r = To8(img.Sample(x, y, 0), d), gr = To8(img.Sample(x, y, 1), d), b = To8(img.Sample(x, y, 2), d);
          if (img.colorType == PNG_COLOR_TYPE_RGB_ALPHA) a = To8(img.Sample(x, y, 3), d);
          if (img.hasTransparentColor && img.Sample(x, y, 0) == img.transparentColor.red &&
              img.Sample(x, y, 1) == img.transparentColor.green && img.Sample(x, y, 2) == img.transparentColor.blue)
            a = 0;
      }
      g.At(x, y) = LICE_RGBA(r, gr, b, a);
    }
  }
  return g;
}
