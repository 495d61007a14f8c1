#include "tools/vst3host/HostRunLoop.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace mero
{

using namespace Steinberg;
using namespace Steinberg::Linux;

namespace
{

// Rounds after the waiting time in which ready handlers are still called: enough to drain
// what a handler's own work makes ready, bounded for handlers that are always ready.
const int kDrainRounds = 64;

int CeilMilliseconds(std::chrono::steady_clock::duration d)
{
  if (d <= std::chrono::steady_clock::duration::zero()) return 0;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(d).count());
}

}  // namespace

HostRunLoop& HostRunLoop::ForThisThread()
{
  static thread_local HostRunLoop loop;
  return loop;
}

tresult HostRunLoop::RegisterEventHandler(IEventHandler* handler, int fd)
{
  if (!handler || fd < 0) return kInvalidArgument;
  for (const Watch& watch : mWatches)
    if (watch.handler == handler && watch.fd == fd) return kResultFalse;
  mWatches.push_back(Watch{IPtr<IEventHandler>(handler), fd, mNextSerial++});
  return kResultTrue;
}

tresult HostRunLoop::UnregisterEventHandler(IEventHandler* handler)
{
  // Moved out before release: a handler's destructor may call back into the loop.
  std::vector<Watch> removed;
  for (auto it = mWatches.begin(); it != mWatches.end();)
  {
    if (it->handler == handler)
    {
      removed.push_back(std::move(*it));
      it = mWatches.erase(it);
    }
    else
      ++it;
  }
  return removed.empty() ? kResultFalse : kResultTrue;
}

tresult HostRunLoop::RegisterTimer(ITimerHandler* handler, uint64_t milliseconds)
{
  if (!handler || milliseconds == 0) return kInvalidArgument;
  for (const Timer& timer : mTimers)
    if (timer.handler == handler) return kResultFalse;
  const Clock::duration interval = std::chrono::milliseconds(milliseconds);
  mTimers.push_back(Timer{IPtr<ITimerHandler>(handler), interval, Clock::now() + interval, mNextSerial++});
  return kResultTrue;
}

tresult HostRunLoop::UnregisterTimer(ITimerHandler* handler)
{
  auto it = std::find_if(mTimers.begin(), mTimers.end(), [handler](const Timer& t) { return t.handler == handler; });
  if (it == mTimers.end()) return kResultFalse;
  Timer removed = std::move(*it);
  mTimers.erase(it);
  return kResultTrue;
}

void HostRunLoop::Pump(int milliseconds)
{
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
  for (int remaining = CeilMilliseconds(deadline - Clock::now()); remaining > 0;
       remaining = CeilMilliseconds(deadline - Clock::now()))
    DispatchRound(UntilNextTimer(remaining));
  for (int round = 0; round < kDrainRounds && DispatchRound(0); ++round)
  {
  }
}

bool HostRunLoop::DispatchRound(int timeoutMilliseconds)
{
  // Copies: the handlers stay referenced while they are called, whatever they unregister.
  const std::vector<Watch> watches = mWatches;
  std::vector<pollfd> fds(watches.size());
  for (size_t i = 0; i < watches.size(); ++i) fds[i] = pollfd{watches[i].fd, POLLIN, 0};
  int ready = poll(fds.data(), fds.size(), timeoutMilliseconds);
  if (ready < 0 && errno != EINTR) ready = 0;
  std::vector<short> events(fds.size(), 0);
  for (size_t i = 0; i < fds.size() && ready > 0; ++i) events[i] = fds[i].revents;
  const bool called = DispatchReady(watches, events);
  return DispatchDueTimers() || called;
}

bool HostRunLoop::DispatchReady(const std::vector<Watch>& watches, const std::vector<short>& events)
{
  bool called = false;
  for (size_t i = 0; i < watches.size(); ++i)
  {
    // An invalid descriptor has nothing to read; a hang-up or error is for the handler to see.
    if (!(events[i] & (POLLIN | POLLHUP | POLLERR)) || !WatchLive(watches[i].serial)) continue;
    watches[i].handler->onFDIsSet(watches[i].fd);
    called = true;
  }
  return called;
}

bool HostRunLoop::DispatchDueTimers()
{
  const std::vector<Timer> timers = mTimers;
  bool called = false;
  for (const Timer& timer : timers)
  {
    const Clock::time_point now = Clock::now();
    if (timer.due > now || !TimerLive(timer.serial)) continue;
    Clock::time_point next = timer.due + timer.interval;
    if (next <= now) next = now + timer.interval;  // missed periods are skipped, not caught up
    for (Timer& live : mTimers)
      if (live.serial == timer.serial) live.due = next;
    timer.handler->onTimer();
    called = true;
  }
  return called;
}

bool HostRunLoop::WatchLive(uint64_t serial) const
{
  return std::any_of(mWatches.begin(), mWatches.end(), [serial](const Watch& w) { return w.serial == serial; });
}

bool HostRunLoop::TimerLive(uint64_t serial) const
{
  return std::any_of(mTimers.begin(), mTimers.end(), [serial](const Timer& t) { return t.serial == serial; });
}

int HostRunLoop::UntilNextTimer(int limit) const
{
  int wait = limit;
  const Clock::time_point now = Clock::now();
  for (const Timer& timer : mTimers) wait = std::min(wait, CeilMilliseconds(timer.due - now));
  return std::max(wait, 0);
}

}  // namespace mero
