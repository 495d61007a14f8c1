#pragma once

// The parameter changes of one block: a queue per changed parameter, in the order the
// parameters were first changed. Queues are made at construction; Clear() empties the
// list for the next block without freeing them.

#include "tools/vst3host/ParamValueQueue.h"

#include <vector>

namespace mero
{

class ParameterChanges : public Steinberg::FObject, public Steinberg::Vst::IParameterChanges
{
public:
  ParameterChanges(Steinberg::int32 maxQueues = 64, Steinberg::int32 pointsPerQueue = 64);

  void Clear() { mUsed = 0; }
  // Adds one point to the parameter's queue (creating the queue); false when full.
  bool Add(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value, Steinberg::int32 sampleOffset = 0);

  Steinberg::int32 PLUGIN_API getParameterCount() SMTG_OVERRIDE { return mUsed; }
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) SMTG_OVERRIDE;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) SMTG_OVERRIDE;

  OBJ_METHODS(ParameterChanges, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IParameterChanges)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  std::vector<Steinberg::IPtr<ParamValueQueue>> mQueues;
  Steinberg::int32 mUsed = 0;
};

}  // namespace mero
