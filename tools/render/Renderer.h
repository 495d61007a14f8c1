#pragma once

#include "AudioSource.h"
#include "EffectEngine.h"
#include "LoudnessMeter.h"
#include "WavWriter.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

// Pulls blocks from a source, runs them through a prepared engine and appends
// the result to a writer (when given), feeding the input and the output to
// their loudness meters (when given). Shows a percentage on `progress` (when not null) and
// stops early, as a failure, when `*stop` becomes non-zero.
class Renderer
{
public:
  Renderer(EffectEngine& engine, int block);

  // Opened meters, or null.
  void Measure(LoudnessMeter* input, LoudnessMeter* output);

  bool Run(AudioSource& source, WavWriter* writer, std::FILE* progress, const volatile std::sig_atomic_t* stop,
           std::string& error);

private:
  EffectEngine& mEngine;
  int mBlock;
  LoudnessMeter* mInputMeter = nullptr;
  LoudnessMeter* mOutputMeter = nullptr;
};
