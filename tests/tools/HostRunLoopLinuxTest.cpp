// The test host's run loop on Linux: descriptors and timers registered through the frame
// as a view registers them, dispatched by Pump, with handlers that unregister themselves
// and each other while they are called.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <functional>

#include "base/source/fobject.h"
#include "tools/vst3host/HostRunLoop.h"
#include "tools/vst3host/PlugFrame.h"

using namespace Steinberg;
using namespace Steinberg::Linux;

namespace
{

// An event and timer handler that counts its calls, runs an action on each and reports
// its destruction.
class Handler : public FObject, public IEventHandler, public ITimerHandler
{
public:
  explicit Handler(bool* destroyed = nullptr)
    : mDestroyed(destroyed)
  {
  }
  ~Handler() override
  {
    if (mDestroyed) *mDestroyed = true;
  }

  void PLUGIN_API onFDIsSet(FileDescriptor fd) override
  {
    char byte;
    if (read(fd, &byte, 1) == 1) ++reads;
    ++calls;
    if (action) action();
  }
  void PLUGIN_API onTimer() override
  {
    ++calls;
    if (action) action();
  }

  int calls = 0;
  int reads = 0;
  std::function<void()> action;

  OBJ_METHODS(Handler, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IEventHandler)
  DEF_INTERFACE(ITimerHandler)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  bool* mDestroyed;
};

struct Pipe
{
  Pipe() { EXPECT_EQ(pipe(fds), 0); }
  ~Pipe()
  {
    close(fds[0]);
    close(fds[1]);
  }
  void Write() { EXPECT_EQ(write(fds[1], "x", 1), 1); }
  int ReadEnd() const { return fds[0]; }
  int fds[2] = {-1, -1};
};

TEST(HostRunLoop, CallsADescriptorsHandlerWhileItIsReadableAndRegistered)
{
  mero::HostRunLoop loop;
  Pipe pipe;
  IPtr<Handler> handler = owned(new Handler);
  EXPECT_EQ(loop.RegisterEventHandler(nullptr, pipe.ReadEnd()), kInvalidArgument);
  EXPECT_EQ(loop.RegisterEventHandler(handler, -1), kInvalidArgument);
  ASSERT_EQ(loop.RegisterEventHandler(handler, pipe.ReadEnd()), kResultTrue);
  EXPECT_EQ(loop.RegisterEventHandler(handler, pipe.ReadEnd()), kResultFalse);

  loop.Pump(0);
  EXPECT_EQ(handler->calls, 0) << "called with nothing to read";
  pipe.Write();
  loop.Pump(0);
  EXPECT_EQ(handler->calls, 1);
  EXPECT_EQ(handler->reads, 1);

  EXPECT_EQ(loop.UnregisterEventHandler(handler), kResultTrue);
  EXPECT_EQ(loop.UnregisterEventHandler(handler), kResultFalse);
  pipe.Write();
  loop.Pump(0);
  EXPECT_EQ(handler->calls, 1) << "called after unregistering";
}

// The first handler unregisters the second and itself; the loop held the only reference
// to the first, which must outlive its own call.
TEST(HostRunLoop, HandlersUnregisteredDuringADispatchAreNotCalledAndNotDestroyedMidCall)
{
  mero::HostRunLoop loop;
  Pipe first, second;
  bool firstDestroyed = false;
  Handler* self = new Handler(&firstDestroyed);
  IPtr<Handler> other = owned(new Handler);
  ASSERT_EQ(loop.RegisterEventHandler(self, first.ReadEnd()), kResultTrue);
  ASSERT_EQ(loop.RegisterEventHandler(other, second.ReadEnd()), kResultTrue);
  self->release();
  int selfCalls = 0;
  self->action = [&]
  {
    ++selfCalls;
    EXPECT_EQ(loop.UnregisterEventHandler(other), kResultTrue);
    EXPECT_EQ(loop.UnregisterEventHandler(self), kResultTrue);
    EXPECT_FALSE(firstDestroyed);
  };
  first.Write();
  second.Write();
  loop.Pump(0);
  EXPECT_EQ(selfCalls, 1);
  EXPECT_EQ(other->calls, 0);
  EXPECT_TRUE(firstDestroyed);
  EXPECT_EQ(loop.EventHandlerCount(), 0u);
}

// Registered through the frame's IRunLoop, as a view does; each timer fires no more often
// than its interval, and stops when it unregisters itself.
TEST(HostRunLoop, TheFramesTimersFireAtTheirIntervalUntilUnregistered)
{
  IPtr<mero::PlugFrame> frame = owned(new mero::PlugFrame);
  FUnknownPtr<IRunLoop> runLoop(static_cast<IPlugFrame*>(frame.get()));
  ASSERT_TRUE(runLoop) << "the frame gives no IRunLoop";
  mero::HostRunLoop& loop = frame->RunLoop();
  IPtr<Handler> periodic = owned(new Handler);
  IPtr<Handler> once = owned(new Handler);
  IPtr<Handler> later = owned(new Handler);
  EXPECT_EQ(runLoop->registerTimer(periodic, 0), kInvalidArgument);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(runLoop->registerTimer(periodic, 2), kResultTrue);
  EXPECT_EQ(runLoop->registerTimer(periodic, 2), kResultFalse);
  ASSERT_EQ(runLoop->registerTimer(once, 1), kResultTrue);
  ASSERT_EQ(runLoop->registerTimer(later, 60000), kResultTrue);
  once->action = [&] { EXPECT_EQ(runLoop->unregisterTimer(once), kResultTrue); };

  loop.Pump(20);
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  const double periods = elapsed.count() / 2.0;
  EXPECT_GE(periodic->calls, 1);
  EXPECT_LE(periodic->calls, periods) << "fired more often than every 2 ms";
  EXPECT_EQ(once->calls, 1);
  EXPECT_EQ(later->calls, 0) << "fired before it was due";

  EXPECT_EQ(runLoop->unregisterTimer(periodic), kResultTrue);
  EXPECT_EQ(runLoop->unregisterTimer(later), kResultTrue);
  EXPECT_EQ(runLoop->unregisterTimer(later), kResultFalse);
  EXPECT_EQ(loop.TimerCount(), 0u);
}

}  // namespace
