#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The integrated loudness (ITU-R BS.1770 with the EBU R 128 gates, in LUFS) of a
// stream of interleaved 32-bit float frames, fed block by block. Measured with
// libebur128 on Linux; the Windows build has no meter and Open says so.
class LoudnessMeter
{
public:
  LoudnessMeter();
  ~LoudnessMeter();
  LoudnessMeter(const LoudnessMeter&) = delete;
  LoudnessMeter& operator=(const LoudnessMeter&) = delete;

  bool Open(int sampleRate, int channels, std::string& error);
  bool Add(const float* interleaved, int64_t frames);
  // LUFS of everything added; -infinity when all of it lies below the absolute gate.
  double Integrated() const;

private:
  struct State;
  std::unique_ptr<State> mState;
};
