#include "LICE_TextState.h"

#include <windows.h>

#include <new>

namespace
{

LICE_SysBitmap* gGlyphSurface = nullptr;
LICE_SysBitmap* gScratchSurface = nullptr;
int gWine = -1;
int gLiveFonts = 0;

}  // namespace

LICE_SysBitmap* LICE_TextState::GlyphSurface(int size)
{
  if (!gGlyphSurface) gGlyphSurface = new (std::nothrow) LICE_SysBitmap(0, 0);
  if (!gGlyphSurface) return nullptr;
  if (gGlyphSurface->getWidth() < size || gGlyphSurface->getHeight() < size)
  {
    gGlyphSurface->resize(size, size);
    HDC dc = gGlyphSurface->getDC();
    if (dc)
    {
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, RGB(0, 0, 0));
    }
  }
  return gGlyphSurface;
}

LICE_SysBitmap* LICE_TextState::ScratchSurface()
{
  if (!gScratchSurface) gScratchSurface = new (std::nothrow) LICE_SysBitmap(0, 0);
  if (!gScratchSurface) return nullptr;
  const int w = gScratchSurface->getWidth();
  const int h = gScratchSurface->getHeight();
  if (w < 4 || h < 4) gScratchSurface->resize(w < 4 ? 4 : w, h < 4 ? 4 : h);
  return gScratchSurface;
}

bool LICE_TextState::RunningUnderWine()
{
  if (gWine < 0)
  {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) == ERROR_SUCCESS)
    {
      gWine = 1;
      RegCloseKey(key);
    }
    else
    {
      gWine = 0;
    }
  }
  return gWine == 1;
}

void LICE_TextState::FontCreated()
{
  ++gLiveFonts;
}

void LICE_TextState::FontDestroyed()
{
  if (--gLiveFonts > 0) return;
  gLiveFonts = 0;
  delete gGlyphSurface;
  gGlyphSurface = nullptr;
  delete gScratchSurface;
  gScratchSurface = nullptr;
}

int LICE_TextState::LiveFonts()
{
  return gLiveFonts;
}

LICE_SysBitmap* LICE_TextState::ExistingGlyphSurface()
{
  return gGlyphSurface;
}
