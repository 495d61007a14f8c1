#pragma once

#include "IMutex.h"
#include "ITextStyle.h"
#include "PtrList.h"

class LICE_CachedFont;

// The process-wide store of the editor's fonts, shared by every editor of every
// plug-in instance: an append-only list of (size, orientation, style, face name,
// font) that owns its fonts and frees them only when the module is unloaded. Its
// own lock is held only while searching or appending, never while a font is made.
class IFontCache
{
public:
  static constexpr int kFaceBytes = 36;
  // The longest face name: a style's whole face field. A face is read up to its
  // NUL or this many characters, so a full field needs no terminator.
  static constexpr int kFaceChars = ITextStyle::kFaceSize;
  static_assert(kFaceChars < kFaceBytes, "a stored face name keeps its terminator");

  static IFontCache& Instance();

  // The font of the first entry with exactly these keys (the face compared
  // case-sensitively), or null when there is none.
  LICE_CachedFont* Find(int size, int orientation, int style, const char* face);
  // Appends the entry, taking ownership of font. Returns the font of the first
  // entry with these keys afterwards (font itself, unless another editor stored
  // the same font first), or null when font is null.
  LICE_CachedFont* Add(int size, int orientation, int style, const char* face, LICE_CachedFont* font);

  IFontCache(const IFontCache&) = delete;
  IFontCache& operator=(const IFontCache&) = delete;

private:
  struct Entry;

  IFontCache();
  ~IFontCache();
  LICE_CachedFont* FindLocked(int size, int orientation, int style, const char* face) const;

  IMutex mMutex;
  PtrList<Entry> mEntries;
};
