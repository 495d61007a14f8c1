#include "DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace
{

constexpr double kPi = 3.14159265358979323846;
constexpr double kChordSeconds = 3.5;
constexpr double kSweepSeconds = 2.5;

// xorshift32: platform-independent noise for the string excitation.
class Noise
{
public:
  double Next()
  {
    mState ^= mState << 13;
    mState ^= mState >> 17;
    mState ^= mState << 5;
    return static_cast<double>(mState) / 2147483648.0 - 1.0;
  }

private:
  uint32_t mState = 0x4D45524Fu;
};

}  // namespace

DemoSignal::DemoSignal(int sampleRate)
  : mRate(sampleRate)
{
  const int chordFrames = static_cast<int>(kChordSeconds * mRate);
  const int sweepFrames = static_cast<int>(kSweepSeconds * mRate);
  mSamples.assign(2 * static_cast<size_t>(chordFrames + sweepFrames), 0.0f);
  AddChord(chordFrames);
  AddSweep(chordFrames, sweepFrames);
}

void DemoSignal::AddChord(int frames)
{
  // E2 B2 E3 G3 B3 E4, strummed downwards 25 ms apart, spread from left to right.
  static const double kStrings[] = {82.41, 123.47, 164.81, 196.00, 246.94, 329.63};
  const int count = static_cast<int>(sizeof kStrings / sizeof kStrings[0]);
  std::vector<double> mix(2 * static_cast<size_t>(frames), 0.0);
  Noise noise;
  for (int s = 0; s < count; ++s)
  {
    const int period = std::max(2, static_cast<int>(std::lround(mRate / kStrings[s])));
    std::vector<double> line(static_cast<size_t>(period));
    for (double& v : line) v = noise.Next();
    const double pan = (s + 0.5) / count;
    const double gainL = std::cos(pan * kPi / 2), gainR = std::sin(pan * kPi / 2);
    const int onset = static_cast<int>(0.025 * s * mRate);
    double previous = 0.0;
    for (int i = onset, k = 0; i < frames; ++i, k = (k + 1) % period)
    {
      const double out = line[static_cast<size_t>(k)];
      line[static_cast<size_t>(k)] = 0.996 * 0.5 * (out + previous);
      previous = out;
      mix[2 * static_cast<size_t>(i)] += gainL * out;
      mix[2 * static_cast<size_t>(i) + 1] += gainR * out;
    }
  }
  double peak = 0.0;
  for (double v : mix) peak = std::max(peak, std::fabs(v));
  const double scale = peak > 0.0 ? 0.5 / peak : 0.0;
  const int fade = static_cast<int>(0.25 * mRate);
  for (int i = 0; i < frames; ++i)
  {
    const double release = frames - i < fade ? static_cast<double>(frames - i) / fade : 1.0;
    for (size_t c = 0; c < 2; ++c)
      mSamples[2 * static_cast<size_t>(i) + c] =
          static_cast<float>(mix[2 * static_cast<size_t>(i) + c] * scale * release);
  }
}

void DemoSignal::AddSweep(int start, int frames)
{
  const double f0 = 40.0;
  const double f1 = std::min(16000.0, 0.45 * mRate);
  const double seconds = static_cast<double>(frames) / mRate;
  const double k = std::log(f1 / f0);
  const int fade = static_cast<int>(0.01 * mRate);
  for (int i = 0; i < frames; ++i)
  {
    const double t = static_cast<double>(i) / mRate;
    const double phase = 2.0 * kPi * f0 * seconds / k * (std::exp(t / seconds * k) - 1.0);
    double envelope = 0.5;
    if (i < fade)
      envelope *= static_cast<double>(i) / fade;
    else if (frames - i < fade)
      envelope *= static_cast<double>(frames - i) / fade;
    const double v = envelope * std::sin(phase);
    const size_t frame = static_cast<size_t>(start + i);
    mSamples[2 * frame] = static_cast<float>(v);
    mSamples[2 * frame + 1] = static_cast<float>(0.5 * v);
  }
}

int64_t DemoSignal::Read(float* interleaved, int64_t frames)
{
  const int64_t left = Frames() - static_cast<int64_t>(mPos);
  const int64_t n = std::max<int64_t>(0, std::min(frames, left));
  std::memcpy(interleaved, mSamples.data() + 2 * mPos, static_cast<size_t>(n) * 2 * sizeof(float));
  mPos += static_cast<size_t>(n);
  return n;
}
