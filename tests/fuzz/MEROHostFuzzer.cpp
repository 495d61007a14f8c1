// libFuzzer entry point: the fuzz input is a sequence of host calls (HostScript.h) made
// on a new MERO instance from the module's factory; after every call a normal block must
// still come out finite, every parameter must hold a value in its range and on its step,
// every latency change must have been told to the host, and the binding's answers must
// keep their promises (FuzzHost).

#include <cstddef>
#include <cstdint>

#include "ByteReader.h"
#include "FuzzHost.h"

extern "C" Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory();

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static Steinberg::IPluginFactory* factory = GetPluginFactory();
  constexpr int kMaxSteps = 48;
  ByteReader in(data, size);
  FuzzHost host(factory);
  for (int step = 0; step < kMaxSteps && !in.Empty(); ++step)
  {
    host.Step(in);
    host.CheckNormalBlock();
    host.CheckValues();
    host.CheckLatency();
  }
  return 0;
}
