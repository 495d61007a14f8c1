#pragma once

// The context menu ComponentHandler hands to a plug-in: it has no items and refuses new
// ones; popup records its position in the handler and shows nothing. Its release is
// counted in the handler, so callers can see that every menu was given back.

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"

namespace mero
{

class ComponentHandler;

class HostContextMenu : public Steinberg::FObject, public Steinberg::Vst::IContextMenu
{
public:
  // A menu for the parameter id; holds a reference on the handler.
  HostContextMenu(ComponentHandler* handler, Steinberg::Vst::ParamID id);
  ~HostContextMenu() override;

  Steinberg::int32 PLUGIN_API getItemCount() SMTG_OVERRIDE { return 0; }
  Steinberg::tresult PLUGIN_API getItem(Steinberg::int32 index, Item& item,
                                        Steinberg::Vst::IContextMenuTarget** target) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API addItem(const Item& item, Steinberg::Vst::IContextMenuTarget* target) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API removeItem(const Item& item, Steinberg::Vst::IContextMenuTarget* target) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API popup(Steinberg::UCoord x, Steinberg::UCoord y) SMTG_OVERRIDE;

  OBJ_METHODS(HostContextMenu, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IContextMenu)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  Steinberg::IPtr<ComponentHandler> mHandler;
  Steinberg::Vst::ParamID mId;
};

}  // namespace mero
