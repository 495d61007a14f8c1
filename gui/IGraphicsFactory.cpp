#include "IGraphicsFactory.h"

#ifdef _WIN32
#include "IGraphicsWin.h"
#else
#include "IGraphicsX11.h"
#endif

IGraphics* MakeGraphics(IPlugBase* plug, int width, int height, int frameRate, [[maybe_unused]] void* moduleHandle)
{
#ifdef _WIN32
  return new IGraphicsWin(plug, width, height, frameRate, moduleHandle);
#else
  return new IGraphicsX11(plug, width, height, frameRate);
#endif
}
