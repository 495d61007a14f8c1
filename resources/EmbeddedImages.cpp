#include "EmbeddedImages.h"

// Defined by the generated table.
extern const EmbeddedImage kEmbeddedImageTable[];
extern const int kEmbeddedImageCount;

const EmbeddedImage* EmbeddedImages::Find(int id)
{
  for (int i = 0; i < kEmbeddedImageCount; ++i)
    if (kEmbeddedImageTable[i].id == id) return &kEmbeddedImageTable[i];
  return nullptr;
}

int EmbeddedImages::Count()
{
  return kEmbeddedImageCount;
}
