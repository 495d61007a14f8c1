#pragma once

// How a control's bitmap is drawn: the method and a weight 0..1. IGraphics::DrawBitmap
// turns the method into a raster blend word.
struct IBlend
{
  enum Method
  {
    kNormal = 0,      // copy honouring the source alpha
    kOpaqueCopy = 1,  // copy ignoring the source alpha
    kAdd = 2,         // additive, honouring the source alpha
    kDodge = 3        // colour dodge, honouring the source alpha
  };

  int method = kNormal;
  float weight = 1.0f;
};
