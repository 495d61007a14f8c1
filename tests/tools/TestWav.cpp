#include "TestWav.h"

#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstring>

TestWav TestWav::Make(int rate, int channels, int subtype, size_t frames, double amplitude)
{
  TestWav wav;
  wav.rate = rate;
  wav.channels = channels;
  wav.subtype = subtype;
  wav.samples.resize(frames * static_cast<size_t>(channels));
  const double grid = subtype == SF_FORMAT_PCM_16 ? 32768.0 : subtype == SF_FORMAT_PCM_24 ? 8388608.0 : 0.0;
  uint32_t noise = 12345;
  for (size_t i = 0; i < frames; ++i)
  {
    for (int c = 0; c < channels; ++c)
    {
      noise = noise * 1664525u + 1013904223u;
      const double n = (static_cast<double>(noise >> 8) / 16777216.0 - 0.5) * 0.05;
      double v = amplitude * (std::sin(2.0 * 3.141592653589793 * (220.0 + 110.0 * c) * i / rate) + n);
      if (grid > 0.0) v = std::round(v * grid) / grid;
      wav.samples[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] = static_cast<float>(v);
    }
  }
  return wav;
}

bool TestWav::Save(const std::string& path) const
{
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  info.samplerate = rate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | subtype;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  sf_count_t written;
  if (subtype == SF_FORMAT_FLOAT)
  {
    written = sf_writef_float(file, samples.data(), static_cast<sf_count_t>(Frames()));
  }
  else
  {
    // Exact integers, left-aligned in 32 bits (libsndfile drops the low bits).
    std::vector<int> ints(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
      ints[i] = static_cast<int>(std::lrint(std::fmin(static_cast<double>(samples[i]) * 2147483648.0, 2147483647.0)));
    written = sf_writef_int(file, ints.data(), static_cast<sf_count_t>(Frames()));
  }
  return sf_close(file) == 0 && written == static_cast<sf_count_t>(Frames());
}

bool TestWav::Load(const std::string& path, TestWav& out)
{
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return false;
  out.rate = info.samplerate;
  out.channels = info.channels;
  out.subtype = info.format & SF_FORMAT_SUBMASK;
  out.samples.assign(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels), 0.0f);
  const sf_count_t got = sf_readf_float(file, out.samples.data(), info.frames);
  sf_close(file);
  return got == info.frames;
}
