#pragma once

#include "GrowBuffer.h"

// One input channel of the plug-in base: whether the host feeds it, the slot
// of the input pointer array that the block routine reads it through, and
// its scratch buffer of one block of doubles.
struct InChannel
{
  bool connected = false;
  double** slot = nullptr;
  GrowBuffer scratch{GrowBuffer::kPageGranularity};

  double* Scratch() const { return static_cast<double*>(scratch.Get()); }
  int ScratchFrames() const { return scratch.GetSize() / static_cast<int>(sizeof(double)); }
};
