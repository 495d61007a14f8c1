#include "MEROImages.h"

#include "WinResourceImages.h"
#include "vst3/ModuleHandle.h"

const IImageSource& MEROImages()
{
  // Made on first use, when the module entry has recorded the handle.
  static const WinResourceImages images(gModuleHandle);
  return images;
}
