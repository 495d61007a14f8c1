#pragma once

// The host's IComponentHandler and IComponentHandler3: records every edit notification,
// restart request and context-menu request a plug-in sends, in order, so that callers can
// inspect them. A context-menu request gets a HostContextMenu (empty; its popup is recorded
// here as well), or null after OfferMenus (false).

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <vector>

namespace mero
{

class ComponentHandler : public Steinberg::FObject,
                         public Steinberg::Vst::IComponentHandler,
                         public Steinberg::Vst::IComponentHandler3
{
public:
  enum class Kind
  {
    kBegin,
    kPerform,
    kEnd,
    kRestart,
    kContextMenu,
    kMenuPopup
  };
  struct Call
  {
    Kind kind;
    Steinberg::Vst::ParamID id;  // restart flags for kRestart; the menu's parameter for kMenuPopup
    Steinberg::Vst::ParamValue value;
    Steinberg::IPlugView* view = nullptr;  // kContextMenu
    bool hasParam = false;                 // kContextMenu: a parameter ID was given
    Steinberg::UCoord x = 0, y = 0;        // kMenuPopup
  };

  const std::vector<Call>& Calls() const { return mCalls; }
  void ClearCalls() { mCalls.clear(); }
  // The calls of one kind, in order.
  std::vector<Call> CallsOf(Kind kind) const;
  void OfferMenus(bool offer) { mOfferMenus = offer; }
  // Menus handed out and not yet released.
  int LiveMenus() const { return mLiveMenus; }

  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue valueNormalized) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) SMTG_OVERRIDE;
  // A new menu with one reference for the caller, or null when menus are not offered.
  Steinberg::Vst::IContextMenu* PLUGIN_API createContextMenu(Steinberg::IPlugView* plugView,
                                                             const Steinberg::Vst::ParamID* paramID) SMTG_OVERRIDE;

  OBJ_METHODS(ComponentHandler, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IComponentHandler)
  DEF_INTERFACE(IComponentHandler3)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  friend class HostContextMenu;
  void MenuPoppedUp(Steinberg::Vst::ParamID id, Steinberg::UCoord x, Steinberg::UCoord y);
  void MenuReleased() { --mLiveMenus; }

  std::vector<Call> mCalls;
  bool mOfferMenus = true;
  int mLiveMenus = 0;
};

}  // namespace mero
