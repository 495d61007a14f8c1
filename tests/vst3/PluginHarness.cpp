#include "PluginHarness.h"

#include "ModuleUnderTest.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

PluginHarness::PluginHarness(const std::string& hostName)
  : host(new mero::HostApplication(hostName), false)
{
  if (plugin.Create(ModuleUnderTest::Get())) plugin.Initialize(host->unknownCast());
}

bool PluginHarness::Prepare(int channelCount, double sampleRate, int maxBlock, int32 sampleSize)
{
  channels = channelCount;
  ProcessSetup setup{kRealtime, sampleSize, maxBlock, sampleRate};
  const SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
  return plugin.Prepare(setup, arrangement, arrangement);
}

namespace
{
template <typename Sample>
std::vector<std::vector<Sample>> RunBlocks(mero::Vst3Plugin& plugin, const std::vector<std::vector<Sample>>& input,
                                           const std::vector<int>& blockSizes)
{
  std::vector<std::vector<Sample>> output = input;
  const int total = static_cast<int>(input[0].size());
  const int channels = static_cast<int>(input.size());
  std::vector<Sample*> pointers(input.size());
  size_t nextSize = 0;
  for (int start = 0; start < total;)
  {
    const int frames = std::min(blockSizes[nextSize++ % blockSizes.size()], total - start);
    for (int c = 0; c < channels; ++c) pointers[c] = output[c].data() + start;
    plugin.Process(pointers.data(), pointers.data(), channels, frames);
    start += frames;
  }
  return output;
}
}  // namespace

PluginHarness::Signal PluginHarness::Run(const Signal& input, const std::vector<int>& blockSizes)
{
  return RunBlocks(plugin, input, blockSizes);
}

PluginHarness::Signal64 PluginHarness::Run(const Signal64& input, const std::vector<int>& blockSizes)
{
  return RunBlocks(plugin, input, blockSizes);
}

ParamValue PluginHarness::Normalized(ParamID tag) const
{
  return plugin.Controller() ? plugin.Controller()->getParamNormalized(tag) : -1.0;
}
