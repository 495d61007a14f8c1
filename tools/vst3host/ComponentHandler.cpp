#include "tools/vst3host/ComponentHandler.h"

namespace mero
{

using namespace Steinberg;

tresult PLUGIN_API ComponentHandler::beginEdit(Vst::ParamID id)
{
  mCalls.push_back({Kind::kBegin, id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::performEdit(Vst::ParamID id, Vst::ParamValue valueNormalized)
{
  mCalls.push_back({Kind::kPerform, id, valueNormalized});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::endEdit(Vst::ParamID id)
{
  mCalls.push_back({Kind::kEnd, id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags)
{
  mCalls.push_back({Kind::kRestart, static_cast<Vst::ParamID>(flags), 0.0});
  return kResultOk;
}

}  // namespace mero
