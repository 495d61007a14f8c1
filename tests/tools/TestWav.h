#pragma once

#include <string>
#include <vector>

// A WAV file's contents for the render tests: rate, channels, libsndfile
// subtype and the samples as interleaved floats (exact for 16/24-bit PCM).
struct TestWav
{
  int rate = 48000;
  int channels = 2;
  int subtype = 0;  // SF_FORMAT_PCM_16, SF_FORMAT_PCM_24 or SF_FORMAT_FLOAT
  std::vector<float> samples;

  size_t Frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
  float At(size_t frame, int channel) const
  {
    return samples[frame * static_cast<size_t>(channels) + static_cast<size_t>(channel)];
  }

  // A test signal: per channel a sine (different frequency per channel) plus a
  // little deterministic noise, at `amplitude`, quantised to the subtype's grid.
  static TestWav Make(int rate, int channels, int subtype, size_t frames, double amplitude = 0.5);

  bool Save(const std::string& path) const;
  static bool Load(const std::string& path, TestWav& out);
};
