// The same render through the Linux and the Windows module. The Linux build writes its
// render next to its tests; the Windows build, whose tests run after it, compares its own
// render with that one.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "PluginHarness.h"
#include "TestSignals.h"

using namespace Steinberg::Vst;

namespace
{
const char kLinuxRenderName[] = "vst3-render-linux.f32";

// The largest difference the two platforms' maths libraries may make in the output:
// about -100 dB below full scale.
constexpr double kTolerance = 1e-5;

#ifdef _WIN32
// Wine maps the Unix root to drive Z.
std::string HostPath(std::string path)
{
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  return path;
}
#endif

std::vector<float> Render()
{
  PluginHarness harness;
  EXPECT_TRUE(harness.Prepare(2, 44100.0, 512));
  auto signal = TestSignals::Make<float>(2, 44100 * 2, 21);
  const double settings[][2] = {{0, 0.75}, {1, 0.0}, {2, 1.0}, {3, 0.6}, {5, 0.0}};
  for (auto& s : settings) harness.plugin.QueueParameter(static_cast<ParamID>(s[0]), s[1]);
  auto first = harness.Run(PluginHarness::Signal{signal[0], signal[1]}, {512});
  harness.plugin.QueueParameter(4, 1.0);
  harness.plugin.QueueParameter(6, 1.0);
  auto second = harness.Run(first, {333});
  std::vector<float> interleaved;
  for (size_t i = 0; i < second[0].size(); ++i)
  {
    interleaved.push_back(second[0][i]);
    interleaved.push_back(second[1][i]);
  }
  return interleaved;
}
}  // namespace

#ifdef _WIN32
TEST(CrossPlatform, RenderMatchesTheLinuxBuildWithinTolerance)
{
  const std::vector<float> own = Render();
  const std::string peerPath = HostPath(std::string(MERO_PEER_RENDER_DIR) + "/" + kLinuxRenderName);
  FILE* f = std::fopen(peerPath.c_str(), "rb");
  if (!f) GTEST_SKIP() << "no render of the Linux build at " << peerPath << " (run its tests first)";
  std::vector<float> peer(own.size() + 1);
  const size_t n = std::fread(peer.data(), sizeof(float), peer.size(), f);
  std::fclose(f);
  ASSERT_EQ(n, own.size());
  double worst = 0.0;
  for (size_t i = 0; i < own.size(); ++i) worst = std::max(worst, std::fabs(double(own[i]) - peer[i]));
  std::printf("largest difference to the Linux build's render: %.3g\n", worst);
  EXPECT_LE(worst, kTolerance);
}
#else
TEST(CrossPlatform, RenderIsWrittenForTheWindowsBuild)
{
  const std::vector<float> own = Render();
  double peak = 0.0;
  for (float v : own) peak = std::isfinite(v) ? std::max(peak, std::fabs(double(v))) : HUGE_VAL;
  EXPECT_GT(peak, 0.01);
  EXPECT_LT(peak, 16.0);
  const std::string path = std::string(MERO_RENDER_DIR) + "/" + kLinuxRenderName;
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  const size_t written = std::fwrite(own.data(), sizeof(float), own.size(), f);
  EXPECT_EQ(0, std::fclose(f));
  EXPECT_EQ(written, own.size());
}
#endif
