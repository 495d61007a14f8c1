#include "WavWriter.h"

#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{

// A name beside `target` that does not exist yet: ".NAME.partXXXXXXXX".
std::string TemporaryNameFor(const fs::path& target)
{
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                  reinterpret_cast<uintptr_t>(&target);
  for (int attempt = 0; attempt < 100; ++attempt)
  {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".part%08x", static_cast<unsigned>(seed >> 32));
    const fs::path candidate = folder / ("." + target.filename().string() + suffix);
    std::error_code ec;
    if (!fs::exists(candidate, ec) && !ec) return candidate.string();
  }
  return {};
}

}  // namespace

WavWriter::~WavWriter()
{
  Discard();
}

void WavWriter::Discard()
{
  if (mFile)
  {
    sf_close(mFile);
    mFile = nullptr;
  }
  if (!mTempPath.empty())
  {
    std::error_code ec;
    fs::remove(mTempPath, ec);
    mTempPath.clear();
  }
}

bool WavWriter::Open(const std::string& path, int sampleRate, int channels, RenderOptions::Format format,
                     std::string& error)
{
  Discard();
  std::error_code ec;
  if (fs::is_directory(path, ec))
  {
    error = "output '" + path + "' is a folder";
    return false;
  }
  mTempPath = TemporaryNameFor(path);
  if (mTempPath.empty())
  {
    error = "no temporary file name is free beside '" + path + "'";
    return false;
  }

  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV;
  switch (format)
  {
    case RenderOptions::Format::kFloat:
      info.format |= SF_FORMAT_FLOAT;
      mPcmBits = 0;
      break;
    case RenderOptions::Format::kPcm16:
      info.format |= SF_FORMAT_PCM_16;
      mPcmBits = 16;
      break;
    case RenderOptions::Format::kPcm24:
      info.format |= SF_FORMAT_PCM_24;
      mPcmBits = 24;
      break;
  }
  mFile = sf_open(mTempPath.c_str(), SFM_WRITE, &info);
  if (!mFile)
  {
    error = "output '" + path + "' cannot be created: " + sf_strerror(nullptr);
    mTempPath.clear();  // sf_open created nothing
    return false;
  }
  // No PEAK chunk: it carries a time stamp, and equal renders should give equal files.
  sf_command(mFile, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
  mPath = path;
  mChannels = channels;
  return true;
}

bool WavWriter::Write(const float* interleaved, int64_t frames, std::string& error)
{
  if (!mFile)
  {
    error = "output is not open";
    return false;
  }
  sf_count_t written;
  if (mPcmBits == 0)
  {
    written = sf_writef_float(mFile, interleaved, frames);
  }
  else
  {
    // libsndfile takes int samples left-aligned in 32 bits and drops the low bits.
    const double scale = mPcmBits == 16 ? 32768.0 : 8388608.0;
    const int shift = 32 - mPcmBits;
    const size_t count = static_cast<size_t>(frames) * static_cast<size_t>(mChannels);
    mPcm.resize(count);
    for (size_t i = 0; i < count; ++i)
    {
      double v = static_cast<double>(interleaved[i]) * scale;
      if (std::isnan(v)) v = 0.0;
      v = std::fmin(std::fmax(v, -scale), scale - 1.0);
      mPcm[i] = static_cast<int>(static_cast<uint32_t>(static_cast<int>(std::lrint(v))) << shift);
    }
    written = sf_writef_int(mFile, mPcm.data(), frames);
  }
  if (written != frames)
  {
    error = "writing '" + mPath + "' failed: " + sf_strerror(mFile);
    return false;
  }
  return true;
}

bool WavWriter::Commit(std::string& error)
{
  if (!mFile)
  {
    error = "output is not open";
    return false;
  }
  const int closed = sf_close(mFile);
  mFile = nullptr;
  if (closed != 0)
  {
    error = "writing '" + mPath + "' failed: " + sf_error_number(closed);
    Discard();
    return false;
  }
  std::error_code ec;
  fs::rename(mTempPath, mPath, ec);
  if (ec)
  {
    error = "output '" + mPath + "' cannot be replaced: " + ec.message();
    Discard();
    return false;
  }
  mTempPath.clear();
  return true;
}
