#include "OracleRunner.h"

OracleRunner::OracleRunner(double sampleRate, int channels)
  : mChannels(channels)
{
  mPlug.LoadPreset(0);
  mPlug.SetSampleRate(sampleRate);
}

void OracleRunner::Set(int index, double normalized)
{
  mPlug.GetParamRecord(index)->SetFromNormalized(normalized);
  mPlug.HandleParamChange(index);
}

void OracleRunner::Process(std::vector<double*>& channels, int frames)
{
  for (int c = 0; c < 2; ++c)
  {
    mIn[c].assign(static_cast<size_t>(frames), 0.0);
    mOut[c].assign(static_cast<size_t>(frames), 0.0);
    if (c < mChannels)
      for (int i = 0; i < frames; ++i) mIn[c][i] = channels[c][i];
  }
  double* in[2] = {mIn[0].data(), mIn[1].data()};
  double* out[2] = {mOut[0].data(), mOut[1].data()};
  if (mBypassed)
    for (int c = 0; c < 2; ++c) mOut[c] = mIn[c];
  else
    mPlug.ProcessAudio(in, out, frames);
  for (int c = 0; c < mChannels; ++c)
    for (int i = 0; i < frames; ++i) channels[c][i] = mOut[c][i];
}

void OracleRunner::Process(std::vector<float*>& channels, int frames)
{
  std::vector<std::vector<double>> wide(static_cast<size_t>(mChannels));
  std::vector<double*> pointers;
  for (int c = 0; c < mChannels; ++c)
  {
    wide[c].assign(channels[c], channels[c] + frames);
    pointers.push_back(wide[c].data());
  }
  Process(pointers, frames);
  for (int c = 0; c < mChannels; ++c)
    for (int i = 0; i < frames; ++i) channels[c][i] = static_cast<float>(wide[c][i]);
}
