#include "tools/vst3host/ParameterChanges.h"

namespace mero
{

using namespace Steinberg;

ParameterChanges::ParameterChanges(int32 maxQueues, int32 pointsPerQueue)
{
  for (int32 i = 0; i < maxQueues; ++i) mQueues.emplace_back(new ParamValueQueue(pointsPerQueue), false);
}

bool ParameterChanges::Add(Vst::ParamID id, Vst::ParamValue value, int32 sampleOffset)
{
  int32 index = 0;
  Vst::IParamValueQueue* queue = addParameterData(id, index);
  return queue && queue->addPoint(sampleOffset, value, index) == kResultTrue;
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index)
{
  if (index < 0 || index >= mUsed) return nullptr;
  return mQueues[static_cast<size_t>(index)];
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const Vst::ParamID& id, int32& index)
{
  for (int32 i = 0; i < mUsed; ++i)
  {
    if (mQueues[static_cast<size_t>(i)]->getParameterId() == id)
    {
      index = i;
      return mQueues[static_cast<size_t>(i)];
    }
  }
  if (mUsed == static_cast<int32>(mQueues.size())) return nullptr;
  index = mUsed++;
  mQueues[static_cast<size_t>(index)]->Reset(id);
  return mQueues[static_cast<size_t>(index)];
}

}  // namespace mero
