#pragma once

// The host's IPlugFrame: records every resizeView a view asks for and, as a host that
// grants it, resizes its window (the window's resize handler, when set) and answers with
// the view's onSize (newSize) inside the call. On Linux it is
// also the host's Steinberg::Linux::IRunLoop, which views ask the frame for: the calls go
// to the HostRunLoop of the thread that made the frame.

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"

#include <functional>
#include <vector>

#if SMTG_OS_LINUX
#include "tools/vst3host/HostRunLoop.h"
#endif

namespace mero
{

class PlugFrame : public Steinberg::FObject,
                  public Steinberg::IPlugFrame
#if SMTG_OS_LINUX
  ,
                  public Steinberg::Linux::IRunLoop
#endif
{
public:
  const std::vector<Steinberg::ViewRect>& Resizes() const { return mResizes; }
  // Called with every granted size before the view's onSize.
  void SetResizeHandler(std::function<void(const Steinberg::ViewRect&)> handler) { mResizeHandler = handler; }

  // kInvalidArgument without a view or a size; otherwise the view's onSize and kResultTrue.
  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) SMTG_OVERRIDE;

#if SMTG_OS_LINUX
  HostRunLoop& RunLoop() const
  {
    return mRunLoop;
  }

  Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                     Steinberg::Linux::FileDescriptor fd) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                              Steinberg::Linux::TimerInterval milliseconds) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) SMTG_OVERRIDE;
#endif

  OBJ_METHODS(PlugFrame, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IPlugFrame)
#if SMTG_OS_LINUX
  DEF_INTERFACE(Steinberg::Linux::IRunLoop)
#endif
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  std::vector<Steinberg::ViewRect> mResizes;
  std::function<void(const Steinberg::ViewRect&)> mResizeHandler;
#if SMTG_OS_LINUX
  HostRunLoop& mRunLoop = HostRunLoop::ForThisThread();
#endif
};

}  // namespace mero
