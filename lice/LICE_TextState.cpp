#include "LICE_TextState.h"

#include <windows.h>

#include <new>

namespace
{

LICE_SysBitmap* s_glyphSurface = nullptr;
LICE_SysBitmap* s_scratchSurface = nullptr;
int s_wine = -1;
int s_liveFonts = 0;

}  // namespace

LICE_SysBitmap* LICE_TextState::glyphSurface(int size)
{
  if (!s_glyphSurface) s_glyphSurface = new (std::nothrow) LICE_SysBitmap(0, 0);
  if (!s_glyphSurface) return nullptr;
  if (s_glyphSurface->getWidth() < size || s_glyphSurface->getHeight() < size)
  {
    s_glyphSurface->resize(size, size);
    HDC dc = s_glyphSurface->getDC();
    if (dc)
    {
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, RGB(0, 0, 0));
    }
  }
  return s_glyphSurface;
}

LICE_SysBitmap* LICE_TextState::scratchSurface()
{
  if (!s_scratchSurface) s_scratchSurface = new (std::nothrow) LICE_SysBitmap(0, 0);
  if (!s_scratchSurface) return nullptr;
  const int w = s_scratchSurface->getWidth();
  const int h = s_scratchSurface->getHeight();
  if (w < 4 || h < 4) s_scratchSurface->resize(w < 4 ? 4 : w, h < 4 ? 4 : h);
  return s_scratchSurface;
}

bool LICE_TextState::runningUnderWine()
{
  if (s_wine < 0)
  {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) == ERROR_SUCCESS)
    {
      s_wine = 1;
      RegCloseKey(key);
    }
    else
    {
      s_wine = 0;
    }
  }
  return s_wine == 1;
}

void LICE_TextState::fontCreated()
{
  ++s_liveFonts;
}

void LICE_TextState::fontDestroyed()
{
  if (--s_liveFonts > 0) return;
  s_liveFonts = 0;
  delete s_glyphSurface;
  s_glyphSurface = nullptr;
  delete s_scratchSurface;
  s_scratchSurface = nullptr;
}

int LICE_TextState::liveFonts()
{
  return s_liveFonts;
}

LICE_SysBitmap* LICE_TextState::existingGlyphSurface()
{
  return s_glyphSurface;
}
