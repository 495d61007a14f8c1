#pragma once

// A rectangle of the raster library in pixels; right and bottom are exclusive.
struct LICE_Rect
{
  int left;
  int top;
  int right;
  int bottom;
};
