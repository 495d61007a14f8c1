#include "tools/vst3host/ParamValueQueue.h"

namespace mero
{

using namespace Steinberg;

ParamValueQueue::ParamValueQueue(int32 capacity)
  : points(static_cast<size_t>(capacity > 0 ? capacity : 1))
{
}

void ParamValueQueue::Reset(Vst::ParamID newId)
{
  id = newId;
  count = 0;
}

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value)
{
  if (index < 0 || index >= count) return kResultFalse;
  sampleOffset = points[static_cast<size_t>(index)].offset;
  value = points[static_cast<size_t>(index)].value;
  return kResultTrue;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index)
{
  int32 at = 0;
  while (at < count && points[static_cast<size_t>(at)].offset < sampleOffset) ++at;
  if (at < count && points[static_cast<size_t>(at)].offset == sampleOffset)
  {
    points[static_cast<size_t>(at)].value = value;
    index = at;
    return kResultTrue;
  }
  if (count == static_cast<int32>(points.size())) return kResultFalse;
  for (int32 i = count; i > at; --i) points[static_cast<size_t>(i)] = points[static_cast<size_t>(i - 1)];
  points[static_cast<size_t>(at)] = {sampleOffset, value};
  ++count;
  index = at;
  return kResultTrue;
}

}  // namespace mero
