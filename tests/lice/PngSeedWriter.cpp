// Writes one small PNG of every tested format into the folder given as the only
// argument (created if missing): the starting corpus of the PNG decoder fuzzer.
#include "PngEncoder.h"
#include "PngTestImages.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
  if (argc != 2)
  {
    fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(argv[1], ec);
  for (size_t i = 0; i < kPngFormatCount; ++i)
  {
    const std::vector<unsigned char> png = EncodePng(MakeImage(kPngFormats[i], 7 + (int)i % 5, 5 + (int)i % 3));
    const std::string path = std::string(argv[1]) + "/" + kPngFormats[i].name + ".png";
    FILE* f = fopen(path.c_str(), "wb");
    if (!f || fwrite(png.data(), 1, png.size(), f) != png.size())
    {
      fprintf(stderr, "cannot write %s\n", path.c_str());
      if (f) fclose(f);
      return 1;
    }
    fclose(f);
  }
  return 0;
}
