// The factory presets on mero-render's demo signal, rendered through the built module
// and measured by its loudness meter: each within 1 LU of the unprocessed demo.

#include "RenderFixture.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace
{

using PresetLoudnessTest = RenderFixture;

// The number in a "what: N LUFS" line of the output; NaN when there is none.
double Lufs(const std::string& output, const std::string& what)
{
  const std::string::size_type at = output.find(what + ": ");
  if (at == std::string::npos) return std::nan("");
  return std::strtod(output.c_str() + at + what.size() + 2, nullptr);
}

TEST_F(PresetLoudnessTest, EveryFactoryPresetIsWithinOneLUOfTheDryDemo)
{
  // The meter itself: a 1 kHz sine of amplitude 0.1 in both channels measures
  // 10 log10 (2 * 0.1^2 / 2) = -20 LUFS (K-weighting gives 1 kHz its offset back).
  TestWav sine;
  sine.subtype = SF_FORMAT_FLOAT;
  for (int i = 0; i < 5 * 48000; ++i)
    for (int c = 0; c < 2; ++c)
      sine.samples.push_back(static_cast<float>(0.1 * std::sin(2 * M_PI * 1000.0 * i / 48000)));
  ASSERT_EQ(Render({"--in", Input("sine.wav", sine), "--loudness-in", "--set", "Bypas=1"}), 0) << Output();
  EXPECT_NEAR(Lufs(Output(), "input"), -20.0, 0.05) << Output();

  ASSERT_EQ(Render({"--list-presets"}), 0) << Output();
  std::istringstream lines(Output());
  std::string number, name;
  int presets = 0;
  while (std::getline(lines, number, '\t') && std::getline(lines, name))
  {
    ++presets;
    if (number == "0") continue;  // the defaults, as they always were
    ASSERT_EQ(Render({"--preset", number, "--loudness", "--loudness-in"}), 0) << Output();
    const double dry = Lufs(Output(), "input");
    const double wet = Lufs(Output(), "output");
    std::printf("%-20s %+.2f LU\n", name.c_str(), wet - dry);
    EXPECT_NEAR(wet, dry, 1.0) << name;
  }
  EXPECT_GE(presets, 13);
}

}  // namespace
