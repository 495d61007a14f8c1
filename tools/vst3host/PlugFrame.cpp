#include "tools/vst3host/PlugFrame.h"

namespace mero
{

using namespace Steinberg;

tresult PLUGIN_API PlugFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
  if (!view || !newSize) return kInvalidArgument;
  mResizes.push_back(*newSize);
  if (mResizeHandler) mResizeHandler(*newSize);
  view->onSize(newSize);
  return kResultTrue;
}

#if SMTG_OS_LINUX
tresult PLUGIN_API PlugFrame::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
  return mRunLoop.RegisterEventHandler(handler, fd);
}

tresult PLUGIN_API PlugFrame::unregisterEventHandler(Linux::IEventHandler* handler)
{
  return mRunLoop.UnregisterEventHandler(handler);
}

tresult PLUGIN_API PlugFrame::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds)
{
  return mRunLoop.RegisterTimer(handler, milliseconds);
}

tresult PLUGIN_API PlugFrame::unregisterTimer(Linux::ITimerHandler* handler)
{
  return mRunLoop.UnregisterTimer(handler);
}
#endif

}  // namespace mero
