#pragma once

// The host context passed to a plug-in's initialize: IHostApplication with a name the
// caller chooses (plug-ins identify their host by it). Creates no host objects.

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <string>

namespace mero
{

class HostApplication : public Steinberg::FObject, public Steinberg::Vst::IHostApplication
{
public:
  explicit HostApplication(const std::string& name = "MERO test host");

  // Name as 8-bit text; each byte becomes one UTF-16 unit (at most 127).
  void SetName(const std::string& name);

  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;

  OBJ_METHODS(HostApplication, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IHostApplication)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  std::string mName;
};

}  // namespace mero
