#pragma once

#include <vector>

// The delay line of the pass-through: one ring of a fixed number of samples
// per channel and a shared write position. A length of 0 passes samples
// straight through.
class LatencyDelay
{
public:
  // Sizes one ring per channel to length samples (negative counts as 0) and
  // clears them. Allocates; not for the audio thread.
  void Reset(int channels, int length);

  int GetLength() const { return mLength; }
  int GetChannels() const { return static_cast<int>(mRings.size()); }

  // For every output i below both counts, outputs[i] receives inputs[i]
  // delayed by the length (channels beyond the rings are not delayed); every
  // further output is zero-filled. An output may be its input. Null
  // pointers are skipped.
  void Process(double* const* inputs, int nInputs, double* const* outputs, int nOutputs, int frames);

private:
  std::vector<std::vector<double>> mRings;
  int mLength = 0;
  int mWritePos = 0;
};
