#pragma once

#include <string>
#include <vector>

// One parameter of the plug-in as the command line sees it: its name and its
// range in plain units; an integer parameter takes whole numbers only, and a
// list also the names of its positions (position i is the value min + i).
struct EffectParam
{
  std::string name;
  double min = 0.0;
  double max = 1.0;
  bool integer = false;
  std::vector<std::string> positionNames;
};

// The plug-in as mero-render drives it: set up the way a host does, given its
// parameters in plain units, then fed blocks of 32-bit float channels.
class EffectEngine
{
public:
  virtual ~EffectEngine() = default;

  // The plug-in's parameters; a parameter's position is its index.
  virtual const std::vector<EffectParam>& Params() const = 0;

  // Chooses the mono (1-1) or stereo (2-2) configuration, sets the sample rate
  // and sizes the buffers for blocks of up to maxBlock frames. The plug-in has
  // its default preset loaded by then.
  virtual bool Prepare(double sampleRate, int channels, int maxBlock, std::string& error) = 0;

  // Applies plain values (index, value) as a restored state does: each value is
  // set clamped into its range and the plug-in's change handler runs.
  virtual bool SetParams(const std::vector<std::pair<int, double>>& values, std::string& error) = 0;

  // Renders one block; in and out hold one buffer per prepared channel.
  virtual void Process(const float* const* in, float* const* out, int frames) = 0;
};
