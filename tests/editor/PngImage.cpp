#include "PngImage.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

namespace
{

struct FileCloser
{
  void operator()(FILE* file) const { fclose(file); }
};

// png_read_image after the expansions that give 8-bit RGBA for every colour type.
// No object with a destructor lives here: a libpng error jumps out of this function.
bool Decode(png_structp png, png_infop info, PngImage& image, std::vector<png_bytep>& rows)
{
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  image.width = static_cast<int>(png_get_image_width(png, info));
  image.height = static_cast<int>(png_get_image_height(png, info));
  if (png_get_rowbytes(png, info) != static_cast<size_t>(image.width) * 4) return false;
  image.rgba.assign(static_cast<size_t>(image.width) * image.height * 4, 0);
  rows.resize(static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y)
    rows[static_cast<size_t>(y)] = &image.rgba[static_cast<size_t>(y) * image.width * 4];
  png_read_image(png, rows.data());
  return true;
}

}  // namespace

bool PngImage::Read(const std::string& path)
{
  std::unique_ptr<FILE, FileCloser> file(fopen(path.c_str(), "rb"));
  if (!file) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<png_bytep> rows;
  volatile bool decoded = false;  // read after a libpng error jumps back
  if (info && setjmp(png_jmpbuf(png)) == 0)
  {
    png_init_io(png, file.get());
    decoded = Decode(png, info, *this, rows);
  }
  png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  return decoded;
}
