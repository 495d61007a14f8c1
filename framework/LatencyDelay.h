#pragma once

#include <vector>

// The delay line of the pass-through: one ring per channel with room for a
// capacity of samples, a length of at most the capacity and a shared write
// position. A length of 0 passes samples straight through.
class LatencyDelay
{
public:
  // Gives one ring per channel room for capacity samples (at least the
  // length; negative counts as 0) and clears them. Allocates; not for the
  // audio thread.
  void Prepare(int channels, int capacity);
  // Sets the length (negative counts as 0) and clears the rings. Within the
  // capacity nothing is allocated; a longer length first grows the rings.
  void SetLength(int length);

  int GetLength() const { return mLength; }
  int GetCapacity() const { return mCapacity; }
  int GetChannels() const { return static_cast<int>(mRings.size()); }

  // For every output i below both counts, outputs[i] receives inputs[i]
  // delayed by the length (channels beyond the rings are not delayed); every
  // further output is zero-filled. An output may be its input. Null
  // pointers are skipped.
  void Process(double* const* inputs, int nInputs, double* const* outputs, int nOutputs, int frames);

private:
  std::vector<std::vector<double>> mRings;
  int mCapacity = 0;
  int mLength = 0;
  int mWritePos = 0;
};
