#include "MEROImages.h"

#include "EmbeddedImages.h"

const IImageSource& MEROImages()
{
  static const EmbeddedImages images;
  return images;
}
