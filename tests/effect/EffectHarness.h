#pragma once

#include <vector>

#include "IPlugBase.h"

// Drives the effect (MERO or its reference LiteralMERO) the way a host does: preset 0 loaded (so every parameter's change
// handler has run), a sample rate, then blocks of double samples.
class EffectHarness
{
public:
  struct Stereo
  {
    std::vector<double> left;
    std::vector<double> right;
  };

  static void Initialise(IPlugBase& plug, double sampleRate)
  {
    plug.LoadPreset(0);
    plug.SetSampleRate(sampleRate);
  }

  // Sets a parameter to a plain value and runs its change handler.
  static void Set(IPlugBase& plug, int index, double value)
  {
    plug.GetParamRecord(index)->SetClamped(value);
    plug.HandleParamChange(index);
  }

  // Runs in through the plug-in in blocks of blockSize frames, appending to out.
  static void Render(IPlugBase& plug, const Stereo& in, Stereo& out, int blockSize)
  {
    const int n = static_cast<int>(in.left.size());
    std::vector<double> inL(blockSize);
    std::vector<double> inR(blockSize);
    std::vector<double> outL(blockSize);
    std::vector<double> outR(blockSize);
    for (int start = 0; start < n; start += blockSize)
    {
      const int frames = n - start < blockSize ? n - start : blockSize;
      for (int i = 0; i < frames; ++i)
      {
        inL[i] = in.left[start + i];
        inR[i] = in.right[start + i];
      }
      double* inputs[2] = {inL.data(), inR.data()};
      double* outputs[2] = {outL.data(), outR.data()};
      plug.ProcessAudio(inputs, outputs, frames);
      out.left.insert(out.left.end(), outL.begin(), outL.begin() + frames);
      out.right.insert(out.right.end(), outR.begin(), outR.begin() + frames);
    }
  }

  static Stereo Render(IPlugBase& plug, const Stereo& in, int blockSize)
  {
    Stereo out;
    Render(plug, in, out, blockSize);
    return out;
  }
};
