// mero-vst3probe MODULE
// Loads the VST 3 module file MODULE (a Windows .vst3 DLL or a Linux .so) as a host does,
// finds its audio effect class, creates an instance and initialises it. Prints
//   factory: <vendor>
//   class: <name>
//   class id: <32 uppercase hex digits>
//   version: <class version>
//   initialize: ok
// and exits 0, or names the step that failed on stderr and exits 1 (2 for a bad command
// line). The class ID is written as VST 3 hosts write it in file names: the COM GUID
// fields (a 32-bit, two 16-bit and eight 8-bit ones) in hex. On Windows that is the SDK's
// FUID::toString; the project's modules keep COM byte order on Linux too, so there the
// fields are read from the bytes in that order.

#include <cstdio>
#include <cstring>
#include <string>

#include "pluginterfaces/base/funknown.h"
#include "tools/vst3host/HostApplication.h"
#include "tools/vst3host/Vst3Module.h"
#include "tools/vst3host/Vst3Plugin.h"

using namespace Steinberg;

namespace
{

constexpr const char* kEffectCategory = "Audio Module Class";

std::string ClassIdText(const TUID cid)
{
  char text[33] = {};
#ifdef _WIN32
  FUID::fromTUID(cid).toString(text);
#else
  const auto* b = reinterpret_cast<const unsigned char*>(cid);
  unsigned long data1 = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<unsigned long>(b[3]) << 24);
  snprintf(text, sizeof(text), "%08lX%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", data1, b[4] | (b[5] << 8),
           b[6] | (b[7] << 8), b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
#endif
  return text;
}

int Fail(const char* step)
{
  fprintf(stderr, "mero-vst3probe: %s\n", step);
  return 1;
}

// The index of the first audio effect class, or -1.
int32 FindEffectClass(IPluginFactory* factory)
{
  for (int32 i = 0; i < factory->countClasses(); ++i)
  {
    PClassInfo info;
    if (factory->getClassInfo(i, &info) == kResultOk && strcmp(info.category, kEffectCategory) == 0) return i;
  }
  return -1;
}

std::string ClassVersion(const mero::Vst3Module& module, int32 index)
{
  IPluginFactory2* factory2 = module.Factory2();
  if (!factory2) return "";
  PClassInfo2 info;
  std::string version;
  if (factory2->getClassInfo2(index, &info) == kResultOk) version = info.version;
  factory2->release();
  return version;
}

int Probe(const char* path)
{
  mero::Vst3Module module;
  if (!module.Open(path)) return Fail("the module did not load (library, GetPluginFactory or entry function)");
  PFactoryInfo factoryInfo;
  if (module.Factory()->getFactoryInfo(&factoryInfo) != kResultOk) return Fail("no factory information");
  printf("factory: %s\n", factoryInfo.vendor);
  int32 index = FindEffectClass(module.Factory());
  if (index < 0) return Fail("no audio effect class in the factory");
  PClassInfo info;
  module.Factory()->getClassInfo(index, &info);
  printf("class: %s\nclass id: %s\n", info.name, ClassIdText(info.cid).c_str());
  std::string version = ClassVersion(module, index);
  if (version.empty()) return Fail("no class version (IPluginFactory2)");
  printf("version: %s\n", version.c_str());
  mero::Vst3Plugin plugin;
  if (!plugin.Create(module, index))
    return Fail("no instance of the class (IComponent, IAudioProcessor, IEditController)");
  Steinberg::IPtr<mero::HostApplication> host(new mero::HostApplication("mero-vst3probe"), false);
  if (plugin.Initialize(host->unknownCast()) != kResultOk) return Fail("initialize failed");
  if (plugin.Terminate() != kResultOk) return Fail("terminate failed");
  printf("initialize: ok\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2)
  {
    fprintf(stderr, "usage: mero-vst3probe MODULE\n");
    return 2;
  }
  int status = Probe(argv[1]);
  fflush(stdout);
  return status;
}
