#pragma once

#include "StateChunk.h"

// One preset: whether it holds a state yet, its name and the state itself.
struct PresetSlot
{
  static constexpr int kNameSize = 256;

  bool initialized = false;
  char name[kNameSize] = "empty";
  StateChunk state;
};
