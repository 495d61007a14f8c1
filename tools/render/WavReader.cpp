#include "WavReader.h"

#include <sndfile.h>

#include <cstdint>
#include <cstring>
#include <fstream>

namespace
{

uint32_t LittleEndian32(const unsigned char* p)
{
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Walks the RIFF chunks up to "data" and checks that the data chunk fits in the
// file. libsndfile silently shortens such a file; a renderer must not. A size of
// 0 or 0xFFFFFFFF is what streaming writers leave behind and means "to the end".
bool CheckRiffLayout(const std::string& path, std::string& problem)
{
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file)
  {
    problem = "cannot be opened";
    return false;
  }
  const uint64_t size = static_cast<uint64_t>(file.tellg());
  file.seekg(0);
  unsigned char header[12];
  if (!file.read(reinterpret_cast<char*>(header), sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
      std::memcmp(header + 8, "WAVE", 4) != 0)
  {
    problem = "is not a WAV file";
    return false;
  }
  uint64_t pos = 12;
  while (pos + 8 <= size)
  {
    unsigned char chunk[8];
    file.seekg(static_cast<std::streamoff>(pos));
    if (!file.read(reinterpret_cast<char*>(chunk), sizeof chunk)) break;
    const uint64_t length = LittleEndian32(chunk + 4);
    if (std::memcmp(chunk, "data", 4) == 0)
    {
      const uint64_t available = size - (pos + 8);
      if (length != 0 && length != 0xFFFFFFFFu && length > available)
      {
        problem = "is truncated: its data chunk declares " + std::to_string(length) + " bytes but only " +
                  std::to_string(available) + " follow";
        return false;
      }
      return true;
    }
    pos += 8 + length + (length & 1);
  }
  problem = "is damaged: no complete data chunk";
  return false;
}

}  // namespace

WavReader::~WavReader()
{
  if (mFile) sf_close(mFile);
}

bool WavReader::Open(const std::string& path, std::string& error)
{
  std::string problem;
  if (!CheckRiffLayout(path, problem))
  {
    error = "input '" + path + "' " + problem;
    return false;
  }
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  mFile = sf_open(path.c_str(), SFM_READ, &info);
  if (!mFile)
  {
    error = "input '" + path + "' cannot be read: " + sf_strerror(nullptr);
    return false;
  }
  const int major = info.format & SF_FORMAT_TYPEMASK;
  const int subtype = info.format & SF_FORMAT_SUBMASK;
  if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX)
  {
    error = "input '" + path + "' is not a WAV file";
    return false;
  }
  if (subtype != SF_FORMAT_PCM_16 && subtype != SF_FORMAT_PCM_24 && subtype != SF_FORMAT_FLOAT)
  {
    error = "input '" + path + "' has an unsupported sample format (16- or 24-bit PCM or 32-bit float only)";
    return false;
  }
  if (info.channels != 1 && info.channels != 2)
  {
    error = "input '" + path + "' has " + std::to_string(info.channels) + " channels (mono or stereo only)";
    return false;
  }
  if (info.samplerate <= 0)
  {
    error = "input '" + path + "' has no valid sample rate";
    return false;
  }
  mChannels = info.channels;
  mRate = info.samplerate;
  mFrames = info.frames;
  return true;
}

int64_t WavReader::Read(float* interleaved, int64_t frames)
{
  if (!mFile) return -1;
  const sf_count_t got = sf_readf_float(mFile, interleaved, frames);
  if (got < 0 || sf_error(mFile) != SF_ERR_NO_ERROR) return -1;
  return got;
}
