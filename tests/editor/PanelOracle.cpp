#include "PanelOracle.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace
{

struct Placement
{
  const char* file;
  int x, y;
  int frames;
};

// Parameter index order: Level, Low, High, Output, Mode, Gain, Pad, Phase, Bypas, Quality.
const Placement kPlacements[PanelOracle::kParams] = {
    {"LEVEL.png", 50, 381, 21}, {"LOW.png", 52, 163, 3},     {"HIGH.png", 137, 163, 4}, {"OUT.png", 89, 556, 61},
    {"MODE.png", 71, 285, 2},   {"GAIN.png", 96, 71, 2},     {"PAD.png", 110, 283, 2},  {"PHASE.png", 152, 283, 2},
    {"BY.png", 85, 13, 2},      {"QUALITY.png", 180, 94, 3},
};

// Source-alpha copy at full weight: alpha 0 leaves the pixel, 255 replaces it, anything
// between blends the colour by (255 - alpha) / 256 of the difference (toward zero) and
// adds the alpha up to 255.
void BlendPixel(const uint8_t* s, uint8_t* d)
{
  const int alpha = s[3];
  if (alpha == 0) return;
  if (alpha == 255)
  {
    std::copy(s, s + 4, d);
    return;
  }
  for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(s[c] + (d[c] - s[c]) * (255 - alpha) / 256);
  d[3] = static_cast<uint8_t>(std::min(d[3] + alpha, 255));
}

std::string Join(const std::string& folder, const char* file)
{
#ifdef _WIN32
  return folder + "\\" + file;
#else
  return folder + "/" + file;
#endif
}

}  // namespace

bool PanelOracle::Load(const std::string& folder)
{
  if (!mBackground.Read(Join(folder, "BG.png")) || mBackground.width != kWidth || mBackground.height != kHeight)
    return false;
  for (int p = 0; p < kParams; ++p)
  {
    const Placement& place = kPlacements[p];
    PngImage& strip = mStrips[static_cast<size_t>(p)];
    if (!strip.Read(Join(folder, place.file)) || strip.height % place.frames != 0) return false;
    if (place.x + strip.width > kWidth || place.y + strip.height / place.frames > kHeight) return false;
  }
  return true;
}

int PanelOracle::FrameIndex(int frames, double value)
{
  const int index = static_cast<int>((frames - 1) * value + 0.5);
  return std::max(0, std::min(index, frames - 1));
}

std::vector<uint8_t> PanelOracle::Compose(const Values& values) const
{
  std::vector<uint8_t> out = mBackground.rgba;
  for (int p = 0; p < kParams; ++p)
  {
    const Placement& place = kPlacements[p];
    const PngImage& strip = mStrips[static_cast<size_t>(p)];
    const int frameHeight = strip.height / place.frames;
    const int top = FrameIndex(place.frames, values[static_cast<size_t>(p)]) * frameHeight;
    for (int y = 0; y < frameHeight; ++y)
      for (int x = 0; x < strip.width; ++x)
      {
        const uint8_t* s = &strip.rgba[(static_cast<size_t>(top + y) * strip.width + x) * 4];
        uint8_t* d = &out[(static_cast<size_t>(place.y + y) * kWidth + place.x + x) * 4];
        BlendPixel(s, d);
      }
  }
  return out;
}

uint32_t PanelOracle::BorderColour() const
{
  std::map<uint32_t, int> counts;
  auto count = [&](int x, int y)
  {
    const uint8_t* p = &mBackground.rgba[(static_cast<size_t>(y) * kWidth + x) * 4];
    ++counts[static_cast<uint32_t>(p[0] << 16 | p[1] << 8 | p[2])];
  };
  for (int y = 0; y < kHeight; ++y) count(kWidth - 1, y);
  for (int x = 0; x < kWidth - 1; ++x) count(x, kHeight - 1);
  return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
}

PixelDifference PixelDifference::Between(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width)
{
  PixelDifference diff;
  const size_t n = std::min(a.size(), b.size()) / 4;
  for (size_t i = 0; i < n; ++i)
  {
    int delta = 0;
    for (int c = 0; c < 3; ++c) delta = std::max(delta, std::abs(a[i * 4 + c] - b[i * 4 + c]));
    if (delta == 0) continue;
    const int x = static_cast<int>(i % static_cast<size_t>(width));
    const int y = static_cast<int>(i / static_cast<size_t>(width));
    if (diff.count++ == 0)
    {
      diff.firstX = diff.left = diff.right = x;
      diff.firstY = diff.top = diff.bottom = y;
    }
    diff.left = std::min(diff.left, x);
    diff.right = std::max(diff.right, x);
    diff.top = std::min(diff.top, y);
    diff.bottom = std::max(diff.bottom, y);
    diff.maxChannelDelta = std::max(diff.maxChannelDelta, delta);
  }
  return diff;
}

std::string PixelDifference::Describe() const
{
  if (count == 0) return "identical";
  return std::to_string(count) + " pixels differ (first at " + std::to_string(firstX) + "," + std::to_string(firstY) +
         ", within " + std::to_string(left) + "," + std::to_string(top) + ".." + std::to_string(right) + "," +
         std::to_string(bottom) + ", largest channel difference " + std::to_string(maxChannelDelta) + ")";
}
