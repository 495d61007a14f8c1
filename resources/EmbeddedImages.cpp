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

bool EmbeddedImages::FindImage(int id, const void*& data, int& size) const
{
  const EmbeddedImage* image = Find(id);
  if (!image || !image->data) return false;
  data = image->data;
  size = image->size;
  return true;
}

int EmbeddedImages::Count()
{
  return kEmbeddedImageCount;
}
