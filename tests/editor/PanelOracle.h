#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "PngImage.h"

// What MERO's editor must show, made from the panel images alone: the background copied
// as it is, then for each of the ten parameters the frame of its control's strip that
// matches the control's normalised value, blended over it with the source-alpha copy of
// the raster library (straight integer arithmetic, written out here). Shares no code with
// the product; the layout is restated here.
//
// At a scale s each layer is placed at (round(x s), round(y s)) with its frame
// round(w s) x round(h s) (halves up): at 1 and 2 the frame of the 1x or 2x image as it
// is, otherwise the 1x (below 1) or 2x (above 1) frame resampled by the tests' reference
// model of area averaging (ResampleReference.h).
class PanelOracle
{
public:
  static constexpr int kWidth = 255;
  static constexpr int kHeight = 658;
  static constexpr int kParams = 10;
  using Values = std::array<double, kParams>;

  // Reads the eleven images from the folder and their 2x images from its "2x" folder;
  // false when one is missing or not the size the layout needs.
  bool Load(const std::string& folder);

  // A logical length at scale, in device pixels.
  static int DeviceLength(int length, double scale);
  // DeviceLength(kWidth) x DeviceLength(kHeight) RGBA pixels for the controls' values
  // (index = parameter).
  std::vector<uint8_t> Compose(const Values& values, double scale = 1.0) const;

  // The colour met most often along the background's right column and bottom row, as
  // 0xRRGGBB: what a window larger than the panel shows beyond it.
  uint32_t BorderColour() const;

  // The frame a strip of n frames shows for value v (0-based).
  static int FrameIndex(int frames, double value);

private:
  // One layer: frame `frame` of `frames` of the image (1x, and 2x), placed at (x, y).
  void DrawLayer(std::vector<uint8_t>& out, double scale, const PngImage& image, const PngImage& image2x, int frames,
                 int frame, int x, int y, bool opaque) const;

  PngImage mBackground;
  PngImage mBackground2x;
  std::array<PngImage, kParams> mStrips;
  std::array<PngImage, kParams> mStrips2x;
};

// Where two RGBA pictures of the same size differ in their colour channels.
struct PixelDifference
{
  int count = 0;  // pixels whose R, G or B differ
  int firstX = -1, firstY = -1;
  int left = 0, top = 0, right = 0, bottom = 0;  // bounding box of the differing pixels
  int maxChannelDelta = 0;

  static PixelDifference Between(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width);
  std::string Describe() const;
};
