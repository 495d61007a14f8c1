#include "MEROPresets.h"

#include "MERO.h"

namespace
{
// Output is set so that each preset measures the loudness of the unprocessed demo
// signal (tools/presets/level_presets.py prints these values).
// clang-format off
const MEROPresets::Preset kPresets[] = {
    // name                 Level Low High Mode Gain Pad Quality Output (dB)
    {"Gentle Warmth",       4,  1,  1,   0,   1,   0,  0, -1.20},
    {"Tape Glue",           7,  2,  0,   0,   1,   0,  0, -0.34},
    {"Warm Bass",           8,  2,  1,   1,   1,   0,  1, -2.28},
    {"Vocal Presence",      5,  0,  2,   0,   1,   0,  1, -3.55},
    {"Bright Air",          3,  0,  3,   0,   1,   0,  0, -6.12},
    {"Dark Velvet",         6,  2,  0,   1,   1,   0,  0, -0.72},
    {"Padded Bus",         10,  1,  1,   0,   1,   1,  1, -1.48},
    {"Soft Clip Master",    9,  1,  1,   1,   1,   1,  2, -1.89},
    {"Drum Crunch",        12,  1,  2,   0,   0,   0,  1,  3.05},
    {"Gritty Guitar",      14,  1,  2,   1,   0,   0,  1,  4.84},
    {"Synth Edge",         13,  0,  3,   0,   0,   1,  2, -6.04},
    {"Lo-Fi Radio",        16,  0,  0,   1,   0,   1,  0,  2.06},
    {"Heavy Drive",        15,  1,  2,   0,   0,   0,  2,  9.38},
    {"Fuzz Wall",          18,  2,  3,   1,   0,   0,  2,  8.87},
};
// clang-format on
}  // namespace

int MEROPresets::Count()
{
  return static_cast<int>(sizeof(kPresets) / sizeof(kPresets[0]));
}

const MEROPresets::Preset* MEROPresets::Get(int index)
{
  return index >= 0 && index < Count() ? &kPresets[index] : nullptr;
}

bool MEROPresets::AddTo(IPlugBase& plug)
{
  double values[MERO::kNumParams];
  for (const Preset& p : kPresets)
  {
    for (int i = 0; i < MERO::kNumParams; ++i) values[i] = plug.GetParamRecord(i)->GetDefault();
    values[MERO::kLevel] = p.level;
    values[MERO::kLow] = p.low;
    values[MERO::kHigh] = p.high;
    values[MERO::kOutput] = p.output;
    values[MERO::kMode] = p.mode;
    values[MERO::kGain] = p.gain;
    values[MERO::kPad] = p.pad;
    values[MERO::kQuality] = p.quality;
    if (!plug.AddPreset(p.name, values)) return false;
  }
  return true;
}
