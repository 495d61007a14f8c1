#pragma once

#include "IImageSource.h"

// The front panel's PNG files compiled into the module where the platform has no
// module resources (Linux): the bytes of every image MERO.rc lists, under the same
// resource IDs, in a table generated at build time (cmake/EmbedImages.cmake).
struct EmbeddedImage
{
  int id;
  const unsigned char* data;
  int size;
};

// As an image source, the table is what the editor loads its images from.
class EmbeddedImages : public IImageSource
{
public:
  bool FindImage(int id, const void*& data, int& size) const override;

  // The image embedded under id, or null.
  static const EmbeddedImage* Find(int id);
  // Images embedded.
  static int Count();
};
