#pragma once

#include "LICE_GrowBlock.h"

// One cached glyph. pos is 1 + the byte offset of its mask in the mask store,
// 0 while not rendered and -1 when rendered to nothing.
struct LICE_GlyphInfo
{
  int pos;
  int width;
  int height;
  int advance;
  int code;
  int xoffset;  // columns of the mask that lie before the pen position
};

// The glyph records and coverage masks of one font: a direct table for code points
// below 128, a list sorted by code point for the others, and one byte store that
// holds all masks back to back (width x height bytes each, 0 = no ink, 255 = ink).
class LICE_GlyphCache
{
public:
  LICE_GlyphCache();

  // Direct entry for c < 128 (always there), otherwise a binary search of the
  // list; null when c has no record.
  LICE_GlyphInfo* Find(int c);
  // Appends a zeroed record for c >= 128 without sorting; null when the list
  // cannot grow. Record pointers are invalid after Append and SortList.
  LICE_GlyphInfo* Append(int c);
  void SortList();
  int ListSize() const { return mList.Size() / (int)sizeof(LICE_GlyphInfo); }

  // Grows the mask store by `bytes` and returns the new mask's position, or -1.
  int AllocMask(int bytes);
  // Gives back the end of the store so that it is `size` bytes long.
  void TruncateMasks(int size);
  int MaskStoreSize() const { return mMasks.Size(); }
  // Mask bytes of a position returned by AllocMask, null for a bad position.
  unsigned char* Mask(int pos);

  // Forgets every record and releases the mask store.
  void Clear();

private:
  LICE_GlyphInfo* List() { return reinterpret_cast<LICE_GlyphInfo*>(mList.Data()); }

  LICE_GlyphInfo mDirect[128];
  LICE_GrowBlock mList;
  LICE_GrowBlock mMasks;
};
