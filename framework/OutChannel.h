#pragma once

#include "GrowBuffer.h"

// One output channel of the plug-in base: whether the host takes it, the
// slot of the output pointer array that the block routine writes it through,
// the host's 32-bit destination of the current block and its scratch buffer
// of one block of doubles.
struct OutChannel
{
  bool connected = false;
  double** slot = nullptr;
  float* destination = nullptr;
  GrowBuffer scratch{GrowBuffer::kPageGranularity};

  double* Scratch() const { return static_cast<double*>(scratch.Get()); }
  int ScratchFrames() const { return scratch.GetSize() / static_cast<int>(sizeof(double)); }
};
