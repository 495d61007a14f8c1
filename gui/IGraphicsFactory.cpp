#include "IGraphicsFactory.h"

#ifdef _WIN32
#include "IGraphicsWin.h"
#endif

IGraphics* MakeGraphics(IPlugBase* plug, int width, int height, int frameRate)
{
#ifdef _WIN32
  return new IGraphicsWin(plug, width, height, frameRate);
#else
  (void)plug;
  (void)width;
  (void)height;
  (void)frameRate;
  return nullptr;
#endif
}
