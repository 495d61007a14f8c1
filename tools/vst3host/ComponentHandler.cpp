#include "tools/vst3host/ComponentHandler.h"

namespace mero
{

using namespace Steinberg;

tresult PLUGIN_API ComponentHandler::beginEdit(Vst::ParamID id)
{
  calls.push_back({Kind::Begin, id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::performEdit(Vst::ParamID id, Vst::ParamValue valueNormalized)
{
  calls.push_back({Kind::Perform, id, valueNormalized});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::endEdit(Vst::ParamID id)
{
  calls.push_back({Kind::End, id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags)
{
  calls.push_back({Kind::Restart, static_cast<Vst::ParamID>(flags), 0.0});
  return kResultOk;
}

}  // namespace mero
