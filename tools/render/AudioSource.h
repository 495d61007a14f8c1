#pragma once

#include <cstdint>

// A stream of interleaved 32-bit float frames that the renderer pulls block by
// block: a WAV file or the built-in demo signal.
class AudioSource
{
public:
  virtual ~AudioSource() = default;

  virtual int Channels() const = 0;
  virtual int SampleRate() const = 0;
  // Total number of frames the source delivers.
  virtual int64_t Frames() const = 0;

  // Reads up to `frames` frames into `interleaved` (Channels() floats per frame).
  // Returns the number of frames read, which is less than asked only at the end,
  // or -1 when the data cannot be read.
  virtual int64_t Read(float* interleaved, int64_t frames) = 0;
};
