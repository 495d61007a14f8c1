#include "tools/vst3host/HostContextMenu.h"

#include "tools/vst3host/ComponentHandler.h"

namespace mero
{

using namespace Steinberg;

HostContextMenu::HostContextMenu(ComponentHandler* handler, Vst::ParamID id)
  : mHandler(handler)
  , mId(id)
{
}

HostContextMenu::~HostContextMenu()
{
  mHandler->MenuReleased();
}

tresult PLUGIN_API HostContextMenu::getItem(int32 /*index*/, Item& /*item*/, Vst::IContextMenuTarget** target)
{
  if (target) *target = nullptr;
  return kResultFalse;
}

tresult PLUGIN_API HostContextMenu::addItem(const Item& /*item*/, Vst::IContextMenuTarget* /*target*/)
{
  return kResultFalse;
}

tresult PLUGIN_API HostContextMenu::removeItem(const Item& /*item*/, Vst::IContextMenuTarget* /*target*/)
{
  return kResultFalse;
}

tresult PLUGIN_API HostContextMenu::popup(UCoord x, UCoord y)
{
  mHandler->MenuPoppedUp(mId, x, y);
  return kResultOk;
}

}  // namespace mero
