#pragma once

#include <png.h>

#include <cstdint>
#include <vector>

// A PNG image as stored: IHDR fields, optional palette and transparency, and the
// packed rows exactly as libpng writes them (samples of 16 bits big-endian,
// samples below 8 bits packed from the most significant bit).
struct PngImage
{
  int width = 0;
  int height = 0;
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<unsigned char> paletteAlpha;  // tRNS of a palette image
  bool hasTransparentColor = false;         // tRNS of a grey or RGB image
  png_color_16 transparentColor = {};
  std::vector<std::vector<unsigned char>> rows;

  int Channels() const;
  // Sample c of pixel (x, y) at the stored bit depth.
  int Sample(int x, int y, int c) const;
  void SetSample(int x, int y, int c, int value);
  // Allocates zeroed rows for the current size, type and depth.
  void AllocateRows();
};

// Writes the image with libpng; an empty result means libpng refused it.
std::vector<unsigned char> EncodePng(const PngImage& image);

// Offsets of the chunks of an encoded PNG, in stream order.
struct PngChunk
{
  size_t offset;  // of the length field
  uint32_t length;
  char type[5];
};
std::vector<PngChunk> ListChunks(const std::vector<unsigned char>& png);

// Recomputes the CRC of the chunk at `offset` after its type or data was edited.
void FixChunkCrc(std::vector<unsigned char>& png, const PngChunk& chunk);
