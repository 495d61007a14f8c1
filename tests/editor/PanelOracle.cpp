#include "PanelOracle.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "ResampleReference.h"

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

bool ReadTwice(const std::string& folder, const char* file, const PngImage& image, PngImage& image2x)
{
  return image2x.Read(Join(Join(folder, "2x"), file)) && image2x.width == 2 * image.width &&
         image2x.height == 2 * image.height;
}

PixelGrid Grid(const PngImage& image)
{
  PixelGrid grid(image.width, image.height);
  for (size_t i = 0; i < grid.pixels.size(); ++i)
  {
    const uint8_t* p = &image.rgba[i * 4];
    grid.pixels[i] = LICE_RGBA(p[0], p[1], p[2], p[3]);
  }
  return grid;
}

}  // namespace

bool PanelOracle::Load(const std::string& folder)
{
  if (!mBackground.Read(Join(folder, "BG.png")) || mBackground.width != kWidth || mBackground.height != kHeight ||
      !ReadTwice(folder, "BG.png", mBackground, mBackground2x))
    return false;
  for (int p = 0; p < kParams; ++p)
  {
    const Placement& place = kPlacements[p];
    PngImage& strip = mStrips[static_cast<size_t>(p)];
    if (!strip.Read(Join(folder, place.file)) || strip.height % place.frames != 0 ||
        !ReadTwice(folder, place.file, strip, mStrips2x[static_cast<size_t>(p)]))
      return false;
    if (place.x + strip.width > kWidth || place.y + strip.height / place.frames > kHeight) return false;
  }
  return true;
}

int PanelOracle::FrameIndex(int frames, double value)
{
  const int index = static_cast<int>((frames - 1) * value + 0.5);
  return std::max(0, std::min(index, frames - 1));
}

int PanelOracle::DeviceLength(int length, double scale)
{
  return static_cast<int>(std::floor(length * scale + 0.5));
}

std::vector<uint8_t> PanelOracle::Compose(const Values& values, double scale) const
{
  std::vector<uint8_t> out(static_cast<size_t>(DeviceLength(kWidth, scale)) * DeviceLength(kHeight, scale) * 4);
  DrawLayer(out, scale, mBackground, mBackground2x, 1, 0, 0, 0, true);
  for (int p = 0; p < kParams; ++p)
  {
    const Placement& place = kPlacements[p];
    const size_t i = static_cast<size_t>(p);
    DrawLayer(out, scale, mStrips[i], mStrips2x[i], place.frames, FrameIndex(place.frames, values[i]), place.x, place.y,
              false);
  }
  return out;
}

void PanelOracle::DrawLayer(std::vector<uint8_t>& out, double scale, const PngImage& image, const PngImage& image2x,
                            int frames, int frame, int x, int y, bool opaque) const
{
  const PngImage& source = scale > 1.0 ? image2x : image;
  const int frameW = source.width, frameH = source.height / frames;
  const int left = DeviceLength(x, scale), top = DeviceLength(y, scale);
  const int w = DeviceLength(image.width, scale), h = DeviceLength(image.height / frames, scale);
  const bool asItIs = w == frameW && h == frameH;
  PixelGrid resampled;
  if (!asItIs) resampled = ReferenceResample(Grid(source), 0, frame * frameH, frameW, frameH, w, h);
  const int outW = DeviceLength(kWidth, scale), outH = DeviceLength(kHeight, scale);
  for (int j = 0; j < h && top + j < outH; ++j)
    for (int i = 0; i < w && left + i < outW; ++i)
    {
      uint8_t s[4];
      if (asItIs)
        std::copy_n(&source.rgba[(static_cast<size_t>(frame * frameH + j) * frameW + i) * 4], 4, s);
      else
      {
        const LICE_pixel pixel = resampled.At(i, j);
        s[0] = LICE_GETR(pixel), s[1] = LICE_GETG(pixel), s[2] = LICE_GETB(pixel), s[3] = LICE_GETA(pixel);
      }
      uint8_t* d = &out[(static_cast<size_t>(top + j) * outW + left + i) * 4];
      if (opaque)
        std::copy_n(s, 4, d);
      else
        BlendPixel(s, d);
    }
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
