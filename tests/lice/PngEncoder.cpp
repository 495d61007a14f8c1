#include "PngEncoder.h"

#include <zlib.h>

#include <csetjmp>

namespace
{

void AppendBytes(png_structp png, png_bytep data, png_size_t n)
{
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

void FlushNothing(png_structp) {}

// libpng longjmps here on error; only plain pointers live in this frame.
bool WriteWithLibpng(const PngImage& image, png_bytep* rows, std::vector<unsigned char>* out)
{
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png)))
  {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, AppendBytes, FlushNothing);
  png_set_IHDR(png, info, (png_uint_32)image.width, (png_uint_32)image.height, image.bitDepth, image.colorType,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!image.palette.empty()) png_set_PLTE(png, info, image.palette.data(), (int)image.palette.size());
  if (!image.paletteAlpha.empty())
    png_set_tRNS(png, info, image.paletteAlpha.data(), (int)image.paletteAlpha.size(), nullptr);
  if (image.hasTransparentColor)
  {
    png_color_16 c = image.transparentColor;
    png_set_tRNS(png, info, nullptr, 0, &c);
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

uint32_t ReadBE32(const unsigned char* p)
{
  return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

}  // namespace

int PngImage::Channels() const
{
  switch (colorType)
  {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

int PngImage::Sample(int x, int y, int c) const
{
  const std::vector<unsigned char>& row = rows[(size_t)y];
  const int index = x * Channels() + c;
  if (bitDepth == 16) return row[(size_t)index * 2] << 8 | row[(size_t)index * 2 + 1];
  if (bitDepth == 8) return row[(size_t)index];
  const int bit = index * bitDepth;
  return (row[(size_t)bit / 8] >> (8 - bitDepth - bit % 8)) & ((1 << bitDepth) - 1);
}

void PngImage::SetSample(int x, int y, int c, int value)
{
  std::vector<unsigned char>& row = rows[(size_t)y];
  const int index = x * Channels() + c;
  if (bitDepth == 16)
  {
    row[(size_t)index * 2] = (unsigned char)(value >> 8);
    row[(size_t)index * 2 + 1] = (unsigned char)value;
  }
  else if (bitDepth == 8)
  {
    row[(size_t)index] = (unsigned char)value;
  }
  else
  {
    const int bit = index * bitDepth, shift = 8 - bitDepth - bit % 8, mask = (1 << bitDepth) - 1;
    unsigned char& b = row[(size_t)bit / 8];
    b = (unsigned char)((b & ~(mask << shift)) | (value & mask) << shift);
  }
}

void PngImage::AllocateRows()
{
  const size_t bytes = ((size_t)width * Channels() * bitDepth + 7) / 8;
  rows.assign((size_t)height, std::vector<unsigned char>(bytes, 0));
}

std::vector<unsigned char> EncodePng(const PngImage& image)
{
  std::vector<png_bytep> rowPointers;
  for (const auto& row : image.rows) rowPointers.push_back(const_cast<png_bytep>(row.data()));
  std::vector<unsigned char> out;
  if (!WriteWithLibpng(image, rowPointers.data(), &out)) out.clear();
  return out;
}

std::vector<PngChunk> ListChunks(const std::vector<unsigned char>& png)
{
  std::vector<PngChunk> chunks;
  size_t pos = 8;
  while (pos + 12 <= png.size())
  {
    PngChunk c;
    c.offset = pos;
    c.length = ReadBE32(&png[pos]);
    for (int i = 0; i < 4; ++i) c.type[i] = (char)png[pos + 4 + i];
    c.type[4] = 0;
    chunks.push_back(c);
    pos += 12 + (size_t)c.length;
  }
  return chunks;
}

void FixChunkCrc(std::vector<unsigned char>& png, const PngChunk& chunk)
{
  const unsigned char* start = &png[chunk.offset + 4];
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), start, (uInt)(4 + chunk.length));
  unsigned char* out = &png[chunk.offset + 8 + chunk.length];
  out[0] = (unsigned char)(crc >> 24);
  out[1] = (unsigned char)(crc >> 16);
  out[2] = (unsigned char)(crc >> 8);
  out[3] = (unsigned char)crc;
}
