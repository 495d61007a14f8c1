#pragma once

#include <string>
#include <vector>

#include "base/source/fobject.h"
#include "tools/vst3host/HostApplication.h"
#include "tools/vst3host/Vst3Plugin.h"

// One MERO instance from the module, created and initialised the way a DAW does it, with
// helpers that run whole signals through it in blocks.
class PluginHarness
{
public:
  using Signal = std::vector<std::vector<float>>;
  using Signal64 = std::vector<std::vector<double>>;

  explicit PluginHarness(const std::string& hostName = "MERO test host");

  // Arrangement for `channels` in and out, setup, activation; false when refused.
  bool Prepare(int channels, double sampleRate = 44100.0, int maxBlock = 512,
               Steinberg::int32 sampleSize = Steinberg::Vst::kSample32);

  // Processes the whole signal in blocks of the given sizes (cycled), in place of a copy.
  Signal Run(const Signal& input, const std::vector<int>& blockSizes);
  Signal64 Run(const Signal64& input, const std::vector<int>& blockSizes);

  Steinberg::Vst::ParamValue Normalized(Steinberg::Vst::ParamID tag) const;

  mero::Vst3Plugin plugin;
  Steinberg::IPtr<mero::HostApplication> host;
  int channels = 2;
};
