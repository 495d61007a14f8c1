#include "vst3/ModuleFactory.h"

#include <cstring>
#include <mutex>

using namespace Steinberg;

IPluginFactory* ShareModuleFactory(const PFactoryInfo& info, const PClassInfo2& classInfo,
                                   CPluginFactory::CreateFunction create)
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
    auto* factory = new CPluginFactory(info);
    factory->registerClass(&classInfo, create);
    gPluginFactory = factory;
  }
  catch (...)
  {
    gPluginFactory = nullptr;
  }
  return gPluginFactory;
}

void ClassIdFromWords(const uint32 words[4], TUID out)
{
  const uint32 first = words[0];
  const uint32 second = words[1];
  const unsigned char bytes[16] = {
      static_cast<unsigned char>(first),          static_cast<unsigned char>(first >> 8),
      static_cast<unsigned char>(first >> 16),    static_cast<unsigned char>(first >> 24),
      static_cast<unsigned char>(second >> 16),   static_cast<unsigned char>(second >> 24),
      static_cast<unsigned char>(second),         static_cast<unsigned char>(second >> 8),
      static_cast<unsigned char>(words[2] >> 24), static_cast<unsigned char>(words[2] >> 16),
      static_cast<unsigned char>(words[2] >> 8),  static_cast<unsigned char>(words[2]),
      static_cast<unsigned char>(words[3] >> 24), static_cast<unsigned char>(words[3] >> 16),
      static_cast<unsigned char>(words[3] >> 8),  static_cast<unsigned char>(words[3])};
  std::memcpy(out, bytes, sizeof(TUID));
}

IMutex& InstanceCreationLock()
{
  static IMutex lock;
  return lock;
}
