#pragma once

// The host's run loop on Linux, where VST 3 defines no global event loop: plug-in views
// register file descriptors and timers (through the frame's Steinberg::Linux::IRunLoop),
// and the host's UI thread calls them from Pump. One run loop serves every editor of a
// thread, as a DAW has one UI thread.
//
// Handlers are held by reference (addRef at registration, release at unregistration).
// A handler may unregister itself or any other handler, or register new ones, while it is
// being called: a handler unregistered during a dispatch is not called afterwards in that
// dispatch, one registered during it is called from the next round on, and no handler is
// destroyed while it is being called.

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace mero
{

class HostRunLoop
{
public:
  // The run loop of the calling thread.
  static HostRunLoop& ForThisThread();

  // kInvalidArgument without a handler or with a negative descriptor; kResultFalse when
  // this handler already watches this descriptor. A handler may watch several descriptors.
  Steinberg::tresult RegisterEventHandler(Steinberg::Linux::IEventHandler* handler, int fd);
  // Stops every watch of the handler; kResultFalse when it had none.
  Steinberg::tresult UnregisterEventHandler(Steinberg::Linux::IEventHandler* handler);
  // kInvalidArgument without a handler or with a zero interval; kResultFalse when the
  // handler already has a timer.
  Steinberg::tresult RegisterTimer(Steinberg::Linux::ITimerHandler* handler, uint64_t milliseconds);
  // kResultFalse when the handler had no timer.
  Steinberg::tresult UnregisterTimer(Steinberg::Linux::ITimerHandler* handler);

  // Waits with poll for the given time, calling onFDIsSet for every readable descriptor
  // (or one whose connection broke) and onTimer for every timer that is due, as they
  // become so; then dispatches whatever is still ready without waiting. A timer fires at
  // most once per round and is never more than one interval behind.
  void Pump(int milliseconds);

  size_t EventHandlerCount() const { return mWatches.size(); }
  size_t TimerCount() const { return mTimers.size(); }

private:
  using Clock = std::chrono::steady_clock;
  struct Watch
  {
    Steinberg::IPtr<Steinberg::Linux::IEventHandler> handler;
    int fd;
    uint64_t serial;
  };
  struct Timer
  {
    Steinberg::IPtr<Steinberg::Linux::ITimerHandler> handler;
    Clock::duration interval;
    Clock::time_point due;
    uint64_t serial;
  };

  // One poll with the timeout, then the ready descriptors and the due timers; true when
  // anything was called.
  bool DispatchRound(int timeoutMilliseconds);
  bool DispatchReady(const std::vector<Watch>& watches, const std::vector<short>& events);
  bool DispatchDueTimers();
  bool WatchLive(uint64_t serial) const;
  bool TimerLive(uint64_t serial) const;
  // Milliseconds until the earliest timer is due, at most `limit`, at least 0.
  int UntilNextTimer(int limit) const;

  std::vector<Watch> mWatches;
  std::vector<Timer> mTimers;
  uint64_t mNextSerial = 1;
};

}  // namespace mero
