#include "tools/vst3host/ComponentHandler.h"

#include "tools/vst3host/HostContextMenu.h"

namespace mero
{

using namespace Steinberg;

std::vector<ComponentHandler::Call> ComponentHandler::CallsOf(Kind kind) const
{
  std::vector<Call> found;
  for (const Call& call : mCalls)
    if (call.kind == kind) found.push_back(call);
  return found;
}

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

Vst::IContextMenu* PLUGIN_API ComponentHandler::createContextMenu(IPlugView* plugView, const Vst::ParamID* paramID)
{
  Call call{Kind::kContextMenu, paramID ? *paramID : 0, 0.0};
  call.view = plugView;
  call.hasParam = paramID != nullptr;
  mCalls.push_back(call);
  if (!mOfferMenus) return nullptr;
  ++mLiveMenus;
  return new HostContextMenu(this, call.id);
}

void ComponentHandler::MenuPoppedUp(Vst::ParamID id, UCoord x, UCoord y)
{
  Call call{Kind::kMenuPopup, id, 0.0};
  call.x = x;
  call.y = y;
  mCalls.push_back(call);
}

}  // namespace mero
