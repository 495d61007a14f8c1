#pragma once

// The host's IPlugFrame: records every resizeView a view asks for and, as a host that
// grants it, answers with the view's onSize (newSize) inside the call.

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"

#include <vector>

namespace mero
{

class PlugFrame : public Steinberg::FObject, public Steinberg::IPlugFrame
{
public:
  const std::vector<Steinberg::ViewRect>& Resizes() const { return mResizes; }

  // kInvalidArgument without a view or a size; otherwise the view's onSize and kResultTrue.
  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) SMTG_OVERRIDE;

  OBJ_METHODS(PlugFrame, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IPlugFrame)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  std::vector<Steinberg::ViewRect> mResizes;
};

}  // namespace mero
