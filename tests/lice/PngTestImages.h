#pragma once

#include "PixelGrid.h"
#include "PngEncoder.h"

#include <cstddef>

// The PNG formats the decoder is tested with, and images in them whose decoded
// pixels are known.
struct PngFormat
{
  const char* name;
  int colorType;
  int bitDepth;
  bool interlaced;
  bool transparency;  // tRNS chunk
};

extern const PngFormat kPngFormats[];
extern const size_t kPngFormatCount;

// The entry of kPngFormats with this name (the first entry if there is none).
const PngFormat& FindPngFormat(const char* name);

// An image of the format with deterministic samples covering every level of low
// bit depths; with transparency, a palette gets alpha for its first half and a
// grey or RGB image makes the colour of pixel (0, 0) transparent.
PngImage MakeImage(const PngFormat& f, int w, int h);

// What the decoder must make of the image: 8-bit straight ARGB.
PixelGrid ExpectedPixels(const PngImage& img);
