#include <gtest/gtest.h>

#include "EditorSession.h"
#include "NativePath.h"

#include <cmath>
#include <cstdio>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{

// The pictures of a failed comparison, as PPM files next to the test program's results.
void SavePicture(const std::string& name, const std::vector<uint8_t>& rgba, int width, int height)
{
  FILE* file = fopen(NativePath(std::string(MERO_TEST_OUTPUT_DIR) + "/" + name).c_str(), "wb");
  if (!file) return;
  fprintf(file, "P6\n%d %d\n255\n", width, height);
  for (size_t i = 0; i + 3 < rgba.size(); i += 4) fwrite(&rgba[i], 1, 3, file);
  fclose(file);
}

}  // namespace

mero::Vst3Module& EditorSession::Module()
{
  static mero::Vst3Module module;
  if (!module.IsOpen()) module.Open(NativePath(MERO_MODULE_PATH));
  return module;
}

std::string EditorSession::ImageFolder()
{
  return NativePath(MERO_IMAGE_DIR);
}

bool EditorSession::Create()
{
  if (!plugin.Create(Module()) || plugin.Initialize(host->unknownCast()) != kResultOk) return false;
  if (plugin.Controller()->setComponentHandler(handler) != kResultOk) return false;
  ProcessSetup setup{kRealtime, kSample32, kBlock, 44100.0};
  return plugin.Prepare(setup, SpeakerArr::kStereo, SpeakerArr::kStereo);
}

bool EditorSession::OpenEditor(int x, int y)
{
  return window.Open(plugin.Controller(), x, y);
}

PanelOracle::Values EditorSession::Values() const
{
  PanelOracle::Values values{};
  for (int p = 0; p < PanelOracle::kParams; ++p)
    values[static_cast<size_t>(p)] = plugin.Controller()->getParamNormalized(static_cast<ParamID>(p));
  return values;
}

EditorSession::Block EditorSession::Process(const Block& input)
{
  Block output = input;
  float* in[2] = {const_cast<float*>(input[0].data()), const_cast<float*>(input[1].data())};
  float* out[2] = {output[0].data(), output[1].data()};
  EXPECT_EQ(plugin.Process(in, out, 2, kBlock), kResultOk);
  return output;
}

void EditorSession::Click(int x, int y, Keys keys)
{
  window.Press(Button::kLeft, x, y, keys);
  window.Release(Button::kLeft, x, y, keys);
}

void EditorSession::Drag(int x, int y, int dy, int moves, Keys keys)
{
  window.Press(Button::kLeft, x, y, keys);
  for (int i = 1; i <= moves; ++i) window.Move(x, y + i * dy, keys);
  window.Release(Button::kLeft, x, y + moves * dy, keys);
}

void EditorSession::DoubleClick(int x, int y)
{
  window.DoubleClick(x, y);
}

void EditorSession::RightClick(int x, int y)
{
  window.Press(Button::kRight, x, y);
  window.Release(Button::kRight, x, y);
}

void EditorSession::WaitForRedraw()
{
  window.Pump(60);
}

::testing::AssertionResult EditorSession::ShowsPanel(const PanelOracle& oracle, const PanelOracle::Values& values,
                                                     double scale)
{
  return ShowsPanel(window, oracle, values, scale);
}

::testing::AssertionResult EditorSession::ShowsPanel(const mero::EditorWindow& shownIn, const PanelOracle& oracle,
                                                     const PanelOracle::Values& values, double scale)
{
  std::vector<uint8_t> shown;
  int width = 0;
  int height = 0;
  if (!shownIn.Capture(shown, width, height)) return ::testing::AssertionFailure() << "no capture of the window";
  if (width != PanelOracle::DeviceLength(PanelOracle::kWidth, scale) ||
      height != PanelOracle::DeviceLength(PanelOracle::kHeight, scale))
    return ::testing::AssertionFailure() << "the window's client area is " << width << " x " << height;
  const std::vector<uint8_t> expected = oracle.Compose(values, scale);
  const PixelDifference diff = PixelDifference::Between(shown, expected, width);
  if (diff.count == 0) return ::testing::AssertionSuccess();
  const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  SavePicture(name + "-shown.ppm", shown, width, height);
  SavePicture(name + "-expected.ppm", expected, width, height);
  return ::testing::AssertionFailure() << diff.Describe() << "; pictures saved as " << name << "-*.ppm";
}

EditorSession::Block SineBlock(int start)
{
  EditorSession::Block block(2, std::vector<float>(EditorSession::kBlock));
  for (int i = 0; i < EditorSession::kBlock; ++i)
  {
    const float sample = static_cast<float>(0.5 * std::sin(2.0 * 3.141592653589793 * 440.0 * (start + i) / 44100.0));
    block[0][static_cast<size_t>(i)] = sample;
    block[1][static_cast<size_t>(i)] = sample;
  }
  return block;
}
