#pragma once

#include "IArgbColor.h"

class LICE_CachedFont;

// How a control's text is drawn and entered. The defaults are those every control
// starts with.
struct ITextStyle
{
  enum Style
  {
    kStyleNormal = 0,
    kStyleBold = 1,
    kStyleItalic = 2
  };
  enum Align
  {
    kAlignLeft = 0,
    kAlignCenter = 1,
    kAlignRight = 2
  };
  enum Quality
  {
    kQualityDefault = 0,
    kQualityNonAntiAliased = 1,
    kQualityAntiAliased = 2,
    kQualityClearType = 3
  };
  static constexpr int kFaceSize = 32;

  char face[kFaceSize] = "Verdana";
  int size = 12;  // font height in pixels
  IArgbColor color{255, 0, 0, 0};
  IArgbColor entryBackground{255, 255, 255, 255};
  IArgbColor entryForeground{255, 0, 0, 0};
  int style = kStyleNormal;
  int align = kAlignCenter;
  int orientation = 0;  // degrees
  int quality = kQualityDefault;
  LICE_CachedFont* cachedFont = nullptr;  // not owned; filled by IEditorText::GetCachedFont
};
