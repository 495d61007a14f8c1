#pragma once

// One parameter's automation points for one block, kept in sample-offset order.
// Its capacity is fixed at construction, so filling it never allocates.

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace mero
{

class ParamValueQueue : public Steinberg::FObject, public Steinberg::Vst::IParamValueQueue
{
public:
  explicit ParamValueQueue(Steinberg::int32 capacity);

  void Reset(Steinberg::Vst::ParamID id);

  Steinberg::Vst::ParamID PLUGIN_API getParameterId() SMTG_OVERRIDE { return mId; }
  Steinberg::int32 PLUGIN_API getPointCount() SMTG_OVERRIDE { return mCount; }
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                         Steinberg::Vst::ParamValue& value) SMTG_OVERRIDE;
  // Inserts in offset order; a point at an offset already present replaces its value.
  // kResultFalse when the queue is full.
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value,
                                         Steinberg::int32& index) SMTG_OVERRIDE;

  OBJ_METHODS(ParamValueQueue, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IParamValueQueue)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  struct Point
  {
    Steinberg::int32 offset;
    Steinberg::Vst::ParamValue value;
  };
  Steinberg::Vst::ParamID mId = 0;
  Steinberg::int32 mCount = 0;
  std::vector<Point> mPoints;
};

}  // namespace mero
