// MERO's module factory: the vendor information, the one class (the combined processor
// and controller MERO) with its class ID, and the function that creates an instance.

#include "IMutexLock.h"
#include "MERO.h"
#include "MEROVersion.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "vst3/ModuleFactory.h"

using namespace Steinberg;

namespace
{
// The class ID words: two of their own, then the manufacturer code 'Prvl' and the
// plug-in code 'Mer1'.
constexpr uint32 kClassIdWords[4] = {0xF2AEE70D, 0x00DE4F4E, 0x5072766C, 0x4D657231};

// Constructs one instance at a time; the caller owns the one reference it starts with.
FUnknown* CreateMeroInstance(void*)
{
  IMutexLock lock(InstanceCreationLock());
  try
  {
    return static_cast<Vst::IAudioProcessor*>(new MERO);
  }
  catch (...)
  {
    return nullptr;
  }
}

const PFactoryInfo& FactoryInfo()
{
  static const PFactoryInfo info("Parvolen", "https://parvolen.example/", "mailto:support@parvolen.example",
                                 PFactoryInfo::kUnicode);
  return info;
}

const PClassInfo2& ClassInfo()
{
  static const PClassInfo2 info = []
  {
    TUID cid;
    ClassIdFromWords(kClassIdWords, cid);
    return PClassInfo2(cid, PClassInfo::kManyInstances, kVstAudioEffectClass, "MERO", Vst::kSimpleModeSupported,
                       Vst::PlugType::kFx, "", kMeroVersionText, "VST 3.6.12");
  }();
  return info;
}
}  // namespace

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
  return ShareModuleFactory(FactoryInfo(), ClassInfo(), CreateMeroInstance);
}
