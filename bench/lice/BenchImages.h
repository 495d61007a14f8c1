#pragma once

#include "PixelGrid.h"

// Synthetic images shaped like the editor's artwork, for the benchmarks.

// Knob frames stacked vertically: anti-aliased discs with a pointer on a
// transparent background, each frame frameHeight pixels high.
PixelGrid MakeKnobStrip(int width, int height, int frameHeight);

// Knobs of 60 pixels tiled over the area: mostly transparent or opaque pixels with
// anti-aliased edges, like a control layer over the background.
PixelGrid MakeControlLayer(int width, int height);

// Opaque, smoothly varying colours: a background.
PixelGrid MakeBackground(int width, int height);
