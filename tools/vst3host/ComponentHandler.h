#pragma once

// The host's IComponentHandler: records every edit notification and restart request a
// plug-in sends, in order, so that callers can inspect them.

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <vector>

namespace mero
{

class ComponentHandler : public Steinberg::FObject, public Steinberg::Vst::IComponentHandler
{
public:
  enum class Kind
  {
    kBegin,
    kPerform,
    kEnd,
    kRestart
  };
  struct Call
  {
    Kind kind;
    Steinberg::Vst::ParamID id;  // restart flags for kRestart
    Steinberg::Vst::ParamValue value;
  };

  const std::vector<Call>& Calls() const { return mCalls; }
  void ClearCalls() { mCalls.clear(); }

  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue valueNormalized) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) SMTG_OVERRIDE;

  OBJ_METHODS(ComponentHandler, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IComponentHandler)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  std::vector<Call> mCalls;
};

}  // namespace mero
