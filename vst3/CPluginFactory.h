#pragma once

// The plug-in factory a module hands to its host: vendor information, the classes it
// offers (each with a creation function) and instance creation by class ID.

#include "pluginterfaces/base/ipluginbase.h"

#include <vector>

namespace Steinberg
{

class CPluginFactory : public IPluginFactory3
{
public:
  using CreateFunction = FUnknown* (*)(void* context);

  explicit CPluginFactory(const PFactoryInfo& info);
  virtual ~CPluginFactory();

  // Adds a class; false when a class with the same ID is already registered.
  bool registerClass(const PClassInfo2* info, CreateFunction createFunc, void* context = nullptr);

  tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) SMTG_OVERRIDE;
  int32 PLUGIN_API countClasses() SMTG_OVERRIDE;
  tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) SMTG_OVERRIDE;
  tresult PLUGIN_API createInstance(FIDString cid, FIDString iid, void** obj) SMTG_OVERRIDE;
  tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) SMTG_OVERRIDE;
  tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) SMTG_OVERRIDE;
  tresult PLUGIN_API setHostContext(FUnknown* context) SMTG_OVERRIDE;

  DECLARE_FUNKNOWN_METHODS

private:
  struct ClassEntry
  {
    PClassInfo2 info;
    CreateFunction createFunc;
    void* context;
  };
  const ClassEntry* entryAt(int32 index) const;
  const ClassEntry* entryFor(const char* cid) const;

  PFactoryInfo factoryInfo;
  std::vector<ClassEntry> classes;
};

// The module's factory; cleared when that factory is destroyed.
extern IPluginFactory* gPluginFactory;

}  // namespace Steinberg
