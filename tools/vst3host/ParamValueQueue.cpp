#include "tools/vst3host/ParamValueQueue.h"

namespace mero
{

using namespace Steinberg;

ParamValueQueue::ParamValueQueue(int32 capacity)
  : mPoints(static_cast<size_t>(capacity > 0 ? capacity : 1))
{
}

void ParamValueQueue::Reset(Vst::ParamID newId)
{
  mId = newId;
  mCount = 0;
}

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value)
{
  if (index < 0 || index >= mCount) return kResultFalse;
  sampleOffset = mPoints[static_cast<size_t>(index)].offset;
  value = mPoints[static_cast<size_t>(index)].value;
  return kResultTrue;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index)
{
  int32 at = 0;
  while (at < mCount && mPoints[static_cast<size_t>(at)].offset < sampleOffset) ++at;
  if (at < mCount && mPoints[static_cast<size_t>(at)].offset == sampleOffset)
  {
    mPoints[static_cast<size_t>(at)].value = value;
    index = at;
    return kResultTrue;
  }
  if (mCount == static_cast<int32>(mPoints.size())) return kResultFalse;
  for (int32 i = mCount; i > at; --i) mPoints[static_cast<size_t>(i)] = mPoints[static_cast<size_t>(i - 1)];
  mPoints[static_cast<size_t>(at)] = {sampleOffset, value};
  ++mCount;
  index = at;
  return kResultTrue;
}

}  // namespace mero
