#pragma once

#include "LICE_IBitmap.h"

// Address of row r (0 = top) of a bitmap with bits, honouring isFlipped.
inline LICE_pixel* LICE_BitmapRow(LICE_IBitmap* bm, int r)
{
  const int stored = bm->isFlipped() ? bm->getHeight() - 1 - r : r;
  return bm->getBits() + (intptr_t)stored * bm->getRowSpan();
}
