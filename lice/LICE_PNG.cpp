#include "LICE_PNG.h"

#include "LICE_FileOpen.h"
#include "LICE_ImageLoader.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

// libpng reports errors by longjmp back into decode(). Everything that lives across
// that jump is a plain pointer (volatile where it changes after setjmp) and is
// released by hand, so no destructor can be skipped.

namespace
{

const char kPngVersion[] = "1.6.19";

struct MemoryReader
{
  const unsigned char* cursor;
  int left;
};

// Copies the next n bytes. A request that runs past the end gets zero bytes for the
// missing part and ends the decode through libpng's error return: the stream is
// truncated or a chunk length points beyond it, and nothing useful can follow
// (reading on would only feed libpng up to 2 GiB of zeros).
void ReadFromMemory(png_structp png, png_bytep out, png_size_t n)
{
  MemoryReader* reader = (MemoryReader*)png_get_io_ptr(png);
  const size_t take = n < (size_t)reader->left ? n : (size_t)reader->left;
  memcpy(out, reader->cursor, take);
  memset(out + take, 0, n - take);
  reader->cursor += take;
  reader->left -= (int)take;
  if (take < n) png_error(png, "Read past the end of the data");
}

// Asks libpng for 8-bit A, R, G, B rows whatever the stored format.
void RequestArgb(png_structp png, png_infop info, int bitDepth, int colorType)
{
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS))
  {
    png_set_tRNS_to_alpha(png);
    colorType |= PNG_COLOR_MASK_ALPHA;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (colorType & PNG_COLOR_MASK_ALPHA)
    png_set_swap_alpha(png);
  else
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
}

// Rewrites a row of decoded A, R, G, B bytes as pixels 0xAARRGGBB.
void ArgbToPixels(LICE_pixel* row, int width)
{
  for (int x = 0; x < width; ++x)
  {
    const unsigned char* b = (const unsigned char*)(row + x);
    row[x] = (LICE_pixel)b[0] << 24 | (LICE_pixel)b[1] << 16 | (LICE_pixel)b[2] << 8 | (LICE_pixel)b[3];
  }
}

void Release(png_structp png, png_infop info, FILE* file)
{
  png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  if (file) fclose(file);
}

// Decodes the image whose stream libpng is set up to read, into target or, without
// one, into a new LICE_MemBitmap. Destroys the libpng structures and closes file
// (when given) on every path.
LICE_IBitmap* Decode(png_structp png, png_infop info, LICE_IBitmap* target, FILE* file)
{
  LICE_MemBitmap* volatile created = nullptr;
  png_bytep* volatile rows = nullptr;

  if (setjmp(png_jmpbuf(png)))
  {
    Release(png, info, file);
    delete created;
    free(rows);
    return nullptr;
  }

  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  RequestArgb(png, info, bitDepth, colorType);

  LICE_IBitmap* bmp = target;
  if (target)
  {
    target->resize((int)width, (int)height);
  }
  else
  {
    created = new (std::nothrow) LICE_MemBitmap;
    bmp = created;
    if (created && width >= 1 && height >= 1) created->resize((int)width, (int)height);
  }
  LICE_pixel* bits = bmp ? bmp->getBits() : nullptr;
  if (bits) rows = (png_bytep*)malloc(sizeof(png_bytep) * height);
  if (!bits || !rows || bmp->getWidth() != (int)width || bmp->getHeight() != (int)height)
  {
    Release(png, info, file);
    delete created;
    free(rows);
    return nullptr;
  }

  const ptrdiff_t span = bmp->getRowSpan();
  const bool flipped = bmp->isFlipped();
  for (png_uint_32 i = 0; i < height; ++i)
    rows[i] = (png_bytep)(bits + (ptrdiff_t)(flipped ? height - 1 - i : i) * span);
  png_read_image(png, rows);
  Release(png, info, file);

  for (png_uint_32 i = 0; i < height; ++i) ArgbToPixels((LICE_pixel*)rows[i], (int)width);
  free(rows);
  return bmp;
}

// Creates the libpng structures; on failure releases what exists and closes file.
bool CreateReader(png_structp* png, png_infop* info, FILE* file)
{
  *png = png_create_read_struct(kPngVersion, nullptr, nullptr, nullptr);
  *info = *png ? png_create_info_struct(*png) : nullptr;
  if (*info) return true;
  if (*png) png_destroy_read_struct(png, nullptr, nullptr);
  if (file) fclose(file);
  return false;
}

bool HasPngExtension(const char* path)
{
  const char* p = path + strlen(path);
  while (p > path && p[-1] != '.' && p[-1] != '/' && p[-1] != '\\') --p;
  if (p == path || p[-1] != '.') return false;
  const char* ext = ".png";
  for (--p; *p && *ext; ++p, ++ext)
  {
    const char c = (*p >= 'A' && *p <= 'Z') ? (char)(*p - 'A' + 'a') : *p;
    if (c != *ext) return false;
  }
  return !*p && !*ext;
}

LICE_IBitmap* LoadWithExtensionCheck(const char* path, bool checkExtension, LICE_IBitmap* target)
{
  if (!path || (checkExtension && !HasPngExtension(path))) return nullptr;
  return LICE_LoadPNGFile(path, target);
}

const char* PngExtensions()
{
  return "PNG files (*.PNG)\0*.PNG\0";
}

LICE_ImageLoaderEntry gPngLoader = {LoadWithExtensionCheck, PngExtensions, nullptr};

struct PngLoaderRegistration
{
  PngLoaderRegistration() { LICE_RegisterImageLoader(&gPngLoader); }
} gPngLoaderRegistration;

}  // namespace

LICE_MemBitmap* LICE_LoadPNGFromMemory(const void* data, int length)
{
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (!data || length < 8 || memcmp(data, kSignature, 8) != 0) return nullptr;

  png_structp png;
  png_infop info;
  if (!CreateReader(&png, &info, nullptr)) return nullptr;
  MemoryReader reader = {(const unsigned char*)data, length};
  png_set_read_fn(png, &reader, ReadFromMemory);
  return static_cast<LICE_MemBitmap*>(Decode(png, info, nullptr, nullptr));
}

LICE_IBitmap* LICE_LoadPNGFile(const char* path, LICE_IBitmap* target)
{
  FILE* file = LICE_OpenFileUTF8(path, "rb");
  if (!file) return nullptr;
  png_structp png;
  png_infop info;
  if (!CreateReader(&png, &info, file)) return nullptr;
  png_init_io(png, file);
  return Decode(png, info, target, file);
}
