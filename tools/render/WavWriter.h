#pragma once

#include "RenderOptions.h"

#include <cstdint>
#include <string>
#include <vector>

typedef struct sf_private_tag SNDFILE;

// Writes a WAV file so that the destination only ever holds a complete file:
// samples go to a hidden temporary file in the destination folder, and Commit
// renames it over the destination. Until then (and if Commit fails) the
// destructor deletes the temporary file.
//
// PCM output is scaled by 2^15 or 2^23, rounded to nearest and clipped, so a
// PCM input read through WavReader and written in the same format is unchanged.
class WavWriter
{
public:
  WavWriter() = default;
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  bool Open(const std::string& path, int sampleRate, int channels, RenderOptions::Format format, std::string& error);
  bool Write(const float* interleaved, int64_t frames, std::string& error);
  bool Commit(std::string& error);

private:
  void Discard();

  SNDFILE* mFile = nullptr;
  std::string mPath;
  std::string mTempPath;
  int mChannels = 0;
  int mPcmBits = 0;  // 0 for float output
  std::vector<int> mPcm;
};
