// The same render through the Linux and the Windows module: each build writes its render
// next to its tests and, when the other platform's build has left one, compares them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "PluginHarness.h"
#include "TestSignal.h"

using namespace Steinberg::Vst;

namespace
{
#ifdef _WIN32
const char kOwnName[] = "vst3-render-windows.f32";
const char kPeerName[] = "vst3-render-linux.f32";
#else
const char kOwnName[] = "vst3-render-linux.f32";
const char kPeerName[] = "vst3-render-windows.f32";
#endif

// The largest difference the two platforms' maths libraries may make in the output:
// about -100 dB below full scale.
constexpr double kTolerance = 1e-5;

std::string HostPath(std::string path)
{
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
  return path;
}

std::vector<float> Render()
{
  PluginHarness harness;
  EXPECT_TRUE(harness.Prepare(2, 44100.0, 512));
  auto signal = TestSignal::Make<float>(2, 44100 * 2, 21);
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

TEST(CrossPlatform, RenderMatchesTheOtherPlatformsBuildWithinTolerance)
{
  const std::vector<float> own = Render();
  const std::string ownPath = HostPath(std::string(MERO_RENDER_DIR) + "/" + kOwnName);
  if (FILE* f = std::fopen(ownPath.c_str(), "wb"))
  {
    std::fwrite(own.data(), sizeof(float), own.size(), f);
    std::fclose(f);
  }

  const std::string peerPath = HostPath(std::string(MERO_PEER_RENDER_DIR) + "/" + kPeerName);
  FILE* f = std::fopen(peerPath.c_str(), "rb");
  if (!f) GTEST_SKIP() << "no render of the other platform's build at " << peerPath;
  std::vector<float> peer(own.size() + 1);
  const size_t n = std::fread(peer.data(), sizeof(float), peer.size(), f);
  std::fclose(f);
  ASSERT_EQ(n, own.size());
  double worst = 0.0;
  for (size_t i = 0; i < own.size(); ++i) worst = std::max(worst, std::fabs(double(own[i]) - peer[i]));
  std::printf("largest difference to the other platform's render: %.3g\n", worst);
  EXPECT_LE(worst, kTolerance);
}
