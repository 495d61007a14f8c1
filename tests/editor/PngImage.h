#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A PNG file decoded by libpng into 8-bit RGBA rows, row 0 at the top (images without
// alpha get 255). The test's own reading of the panel images, independent of the product's.
struct PngImage
{
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;

  // False when the file cannot be opened or decoded.
  bool Read(const std::string& path);
};
