#pragma once

#include "AudioSource.h"

#include <string>

typedef struct sf_private_tag SNDFILE;

// A WAV file read through libsndfile: 16- or 24-bit PCM or 32-bit float, one or
// two channels. PCM samples arrive as floats scaled by 2^-15 or 2^-23 (exact).
// Open refuses anything else, and a file whose data chunk claims more bytes than
// the file holds (a cut-off copy), with a message naming the file.
class WavReader : public AudioSource
{
public:
  WavReader() = default;
  ~WavReader() override;
  WavReader(const WavReader&) = delete;
  WavReader& operator=(const WavReader&) = delete;

  bool Open(const std::string& path, std::string& error);

  int Channels() const override { return mChannels; }
  int SampleRate() const override { return mRate; }
  int64_t Frames() const override { return mFrames; }
  int64_t Read(float* interleaved, int64_t frames) override;

private:
  SNDFILE* mFile = nullptr;
  int mChannels = 0;
  int mRate = 0;
  int64_t mFrames = 0;
};
