#pragma once

#include "AudioSource.h"

#include <cstddef>
#include <vector>

// The built-in stereo test signal that mero-render uses without --in: a strummed
// E minor chord of plucked strings (Karplus-Strong, a fixed noise seed, each
// string panned) ringing for 3.5 s, then a 2.5 s logarithmic sine sweep from
// 40 Hz to 16 kHz (or 0.45 of the rate), peaks about -6 dBFS. The same rate
// always gives the same samples on one platform.
class DemoSignal : public AudioSource
{
public:
  explicit DemoSignal(int sampleRate);

  int Channels() const override { return 2; }
  int SampleRate() const override { return mRate; }
  int64_t Frames() const override { return static_cast<int64_t>(mSamples.size() / 2); }
  int64_t Read(float* interleaved, int64_t frames) override;

private:
  void AddChord(int frames);
  void AddSweep(int start, int frames);

  int mRate;
  std::vector<float> mSamples;  // interleaved left, right
  std::size_t mPos = 0;         // next frame to read
};
