#include "DirectEngine.h"

#include "IMutexLock.h"

DirectEngine::DirectEngine()
{
  for (int c = 0; c < mPlug.NInChannels(); ++c)
    mPlug.SetInputConnected(c, true);
  for (int c = 0; c < mPlug.NOutChannels(); ++c)
    mPlug.SetOutputConnected(c, true);
  for (int i = 0; i < mPlug.NParams(); ++i) {
    const IParamRecord* record = mPlug.GetParamRecord(i);
    mParams.push_back({record->GetName(), record->GetMin(), record->GetMax(),
                       record->GetType() != IParamRecord::kTypeDouble});
  }
}

bool DirectEngine::Prepare(double sampleRate, int channels, int maxBlock, std::string& error)
{
  if (!mPlug.LoadPreset(0)) {
    error = "the plug-in did not load its default preset";
    return false;
  }
  // Bus arrangement: everything disconnected, then the legal pair checked.
  for (int c = 0; c < mPlug.NInChannels(); ++c) {
    mPlug.SetInputConnected(c, false);
    mPlug.PointInputAtScratch(c);
  }
  for (int c = 0; c < mPlug.NOutChannels(); ++c) {
    mPlug.SetOutputConnected(c, false);
    mPlug.PointOutputAtScratch(c);
  }
  if (!mPlug.LegalIO(channels, channels)) {
    error = "the plug-in does not take " + std::to_string(channels) + " channels";
    return false;
  }
  mChannels = channels;
  // Processing setup.
  mPlug.SetSampleRate(sampleRate);
  mPlug.SetBypassed(false);
  mPlug.ResizeBlockBuffers(maxBlock);
  mPlug.HandleReset();
  return true;
}

bool DirectEngine::SetParams(const std::vector<std::pair<int, double>>& values, std::string& error)
{
  for (const auto& entry : values) {
    IParamRecord* record = mPlug.GetParamRecord(entry.first);
    if (!record) {
      error = "the plug-in has no parameter " + std::to_string(entry.first);
      return false;
    }
    record->SetClamped(entry.second);
    mPlug.HandleParamChange(entry.first);
  }
  return true;
}

void DirectEngine::Process(const float* const* in, float* const* out, int frames)
{
  IMutexLock lock(mPlug.GetMutex());
  for (int c = 0; c < mPlug.NInChannels(); ++c) {
    const bool connected = c < mChannels;
    mPlug.SetInputConnected(c, connected);
    if (!connected)
      mPlug.PointInputAtScratch(c);
  }
  mPlug.ConnectInputs(0, mPlug.NInChannels(), const_cast<float* const*>(in), frames);
  for (int c = 0; c < mPlug.NOutChannels(); ++c) {
    mPlug.SetOutputConnected(c, c < mChannels);
    mPlug.PointOutputAtScratch(c);
    if (c < mChannels)
      mPlug.SetOutputDestination(c, out[c]);
  }
  if (mPlug.IsBypassed())
    mPlug.PassThroughAudio(frames);
  else
    mPlug.ProcessAudio(mPlug.GetInputPointers(), mPlug.GetOutputPointers(), frames);
  mPlug.WriteOutputs(frames);
}
