#pragma once

#include <vector>

#include "LiteralMERO.h"

// The reference for audio through the module: the literal block routine driven directly
// through the plug-in base, with the binding's conversions written out (float to double
// in, double to float out) and the host's bypass as a plain copy.
class OracleRunner
{
public:
  OracleRunner(double sampleRate, int channels);

  // A parameter set from a normalised value, as host automation sets it.
  void Set(int index, double normalized);
  void SetBypass(bool bypassed) { mBypassed = bypassed; }

  // Renders the block in place; a mono signal feeds silence into the right input.
  void Process(std::vector<float*>& channels, int frames);
  void Process(std::vector<double*>& channels, int frames);

  LiteralMERO& Plug() { return mPlug; }

private:
  LiteralMERO mPlug;
  int mChannels;
  bool mBypassed = false;
  std::vector<double> mIn[2];
  std::vector<double> mOut[2];
};
