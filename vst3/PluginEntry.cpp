// GetPluginFactory and the factory's data: the vendor information, the one class (the
// combined processor and controller MERO) and its creation function.

#include <cstring>
#include <mutex>

#include "IMutex.h"
#include "IMutexLock.h"
#include "MERO.h"
#include "vst3/CPluginFactory.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"

using namespace Steinberg;

namespace
{
// The class ID words: two of their own, then the manufacturer code 'Prvl' and the
// plug-in code 'Mer1'.
constexpr uint32 kClassIdWords[4] = {0xF2AEE70D, 0x00DE4F4E, 0x5072766C, 0x4D657231};

// The words laid out in COM byte order (what the SDK's FUID gives on Windows), so the
// class ID has the same 16 bytes on every platform.
void ClassIdBytes(TUID out)
{
  const uint32 first = kClassIdWords[0];
  const uint32 second = kClassIdWords[1];
  const unsigned char bytes[16] = {static_cast<unsigned char>(first),
                                   static_cast<unsigned char>(first >> 8),
                                   static_cast<unsigned char>(first >> 16),
                                   static_cast<unsigned char>(first >> 24),
                                   static_cast<unsigned char>(second >> 16),
                                   static_cast<unsigned char>(second >> 24),
                                   static_cast<unsigned char>(second),
                                   static_cast<unsigned char>(second >> 8),
                                   static_cast<unsigned char>(kClassIdWords[2] >> 24),
                                   static_cast<unsigned char>(kClassIdWords[2] >> 16),
                                   static_cast<unsigned char>(kClassIdWords[2] >> 8),
                                   static_cast<unsigned char>(kClassIdWords[2]),
                                   static_cast<unsigned char>(kClassIdWords[3] >> 24),
                                   static_cast<unsigned char>(kClassIdWords[3] >> 16),
                                   static_cast<unsigned char>(kClassIdWords[3] >> 8),
                                   static_cast<unsigned char>(kClassIdWords[3])};
  std::memcpy(out, bytes, sizeof(TUID));
}

IMutex& CreationLock()
{
  static IMutex lock;
  return lock;
}

// Constructs one instance at a time; the caller owns the one reference it starts with.
FUnknown* CreateMeroInstance(void*)
{
  IMutexLock lock(CreationLock());
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
    ClassIdBytes(cid);
    return PClassInfo2(cid, PClassInfo::kManyInstances, kVstAudioEffectClass, "MERO",
                       Vst::kSimpleModeSupported, Vst::PlugType::kFx, "", "1.0.0", "VST 3.6.12");
  }();
  return info;
}
}  // namespace

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
  static std::mutex factoryLock;
  std::lock_guard<std::mutex> lock(factoryLock);
  if (gPluginFactory)
  {
    gPluginFactory->addRef();
    return gPluginFactory;
  }
  try
  {
    auto* factory = new CPluginFactory(FactoryInfo());
    factory->registerClass(&ClassInfo(), CreateMeroInstance);
    gPluginFactory = factory;
  }
  catch (...)
  {
    gPluginFactory = nullptr;
  }
  return gPluginFactory;
}
