#include "tools/vst3host/HostApplication.h"

namespace mero
{

using namespace Steinberg;

HostApplication::HostApplication(const std::string& name)
{
  SetName(name);
}

void HostApplication::SetName(const std::string& newName)
{
  mName = newName.substr(0, 127);
}

tresult PLUGIN_API HostApplication::getName(Vst::String128 out)
{
  if (!out) return kInvalidArgument;
  size_t i = 0;
  for (; i < mName.size(); ++i) out[i] = static_cast<Vst::TChar>(static_cast<unsigned char>(mName[i]));
  out[i] = 0;
  return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID /*cid*/, TUID /*iid*/, void** obj)
{
  if (obj) *obj = nullptr;
  return kResultFalse;
}

}  // namespace mero
