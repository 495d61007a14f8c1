#include "tools/vst3host/PlugFrame.h"

namespace mero
{

using namespace Steinberg;

tresult PLUGIN_API PlugFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
  if (!view || !newSize) return kInvalidArgument;
  mResizes.push_back(*newSize);
  view->onSize(newSize);
  return kResultTrue;
}

}  // namespace mero
