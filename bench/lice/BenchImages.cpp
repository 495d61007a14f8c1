#include "BenchImages.h"

#include <algorithm>
#include <cmath>

namespace
{

// Draws one knob into g with its top-left corner at (x0, y0); angle in radians.
void DrawKnob(PixelGrid& g, int x0, int y0, int size, double angle)
{
  const double c = (size - 1) / 2.0, radius = size * 0.42;
  for (int y = 0; y < size && y0 + y < g.height; ++y)
  {
    for (int x = 0; x < size && x0 + x < g.width; ++x)
    {
      const double dx = x - c, dy = y - c, dist = std::sqrt(dx * dx + dy * dy);
      const double coverage = std::clamp(radius - dist + 0.5, 0.0, 1.0);
      if (coverage <= 0.0) continue;
      // Pointer: distance from the ray at `angle`.
      const double along = dx * std::cos(angle) + dy * std::sin(angle);
      const double across = std::fabs(-dx * std::sin(angle) + dy * std::cos(angle));
      const double pointer = along > 0 ? std::clamp(2.0 - across, 0.0, 1.0) : 0.0;
      const double shade = 0.55 + 0.45 * (1.0 - dist / radius);
      const int grey = (int)(shade * 200), hi = (int)(grey + (255 - grey) * pointer);
      g.At(x0 + x, y0 + y) = LICE_RGBA(hi, (int)(grey * 0.9 + 40 * pointer), (int)(grey * 0.8), (int)(coverage * 255));
    }
  }
}

}  // namespace

PixelGrid MakeKnobStrip(int width, int height, int frameHeight)
{
  PixelGrid g(width, height, 0);
  const int frames = height / frameHeight;
  for (int f = 0; f < frames; ++f)
    DrawKnob(g, (width - frameHeight) / 2, f * frameHeight, std::min(width, frameHeight),
             -2.4 + 4.8 * f / std::max(frames - 1, 1));
  return g;
}

PixelGrid MakeControlLayer(int width, int height)
{
  PixelGrid g(width, height, 0);
  int n = 0;
  for (int y = 0; y + 60 <= height; y += 64)
    for (int x = 0; x + 60 <= width; x += 64) DrawKnob(g, x, y, 60, 0.3 * n++);
  return g;
}

PixelGrid MakeBackground(int width, int height)
{
  PixelGrid g(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) g.At(x, y) = LICE_RGBA(40 + x / 4, 30 + y / 6, 60 + (x ^ y) % 32, 255);
  return g;
}
