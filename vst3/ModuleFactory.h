#pragma once

// The pieces of a module's GetPluginFactory that every product shares: the one factory
// of the module, created on the first request with the product's vendor and class
// information, the COM byte order of class IDs given as four words, and the
// process-wide lock under which instances are constructed one at a time.

#include "IMutex.h"
#include "vst3/CPluginFactory.h"

// The module's factory: on the first call a new CPluginFactory with info and the one
// class classInfo created by create (the caller receives its first reference); on every
// later call the same factory with one more reference. Null when it cannot be made.
Steinberg::IPluginFactory* ShareModuleFactory(const Steinberg::PFactoryInfo& info,
                                              const Steinberg::PClassInfo2& classInfo,
                                              Steinberg::CPluginFactory::CreateFunction create);

// The 16 bytes of a class ID given as four 32-bit words, laid out in COM byte order (what
// the SDK's FUID gives on Windows), so that the ID is the same on every platform.
void ClassIdFromWords(const Steinberg::uint32 words[4], Steinberg::TUID out);

// The process-wide lock that serialises the construction of instances.
IMutex& InstanceCreationLock();
