#include "vst3/Vst3RunLoopLink.h"

#include <algorithm>

#include "base/source/fobject.h"

using namespace Steinberg;

// The host calls these; each forwards to its client until it is detached.
class Vst3RunLoopLink::TimerHandler : public FObject, public Linux::ITimerHandler
{
public:
  explicit TimerHandler(Client* client)
    : mClient(client)
  {
  }
  void PLUGIN_API onTimer() SMTG_OVERRIDE
  {
    if (mClient) mClient->OnTimer();
  }
  Client* GetClient() const { return mClient; }
  void Detach() { mClient = nullptr; }

  OBJ_METHODS(TimerHandler, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(Linux::ITimerHandler)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  Client* mClient;
};

class Vst3RunLoopLink::EventHandler : public FObject, public Linux::IEventHandler
{
public:
  explicit EventHandler(Client* client)
    : mClient(client)
  {
  }
  void PLUGIN_API onFDIsSet(Linux::FileDescriptor fd) SMTG_OVERRIDE
  {
    if (mClient) mClient->OnReadable(fd);
  }
  Client* GetClient() const { return mClient; }
  void Detach() { mClient = nullptr; }

  OBJ_METHODS(EventHandler, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(Linux::IEventHandler)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  Client* mClient;
};

namespace
{
// Unregisters and detaches the handlers of client (all of them for null).
template <typename Handler, typename Unregister>
void Drop(std::vector<IPtr<Handler>>& handlers, IEditorRunLoop::Client* client, Unregister unregister)
{
  for (auto it = handlers.begin(); it != handlers.end();)
  {
    if (client && (*it)->GetClient() != client)
    {
      ++it;
      continue;
    }
    unregister(*it);
    (*it)->Detach();
    it = handlers.erase(it);
  }
}
}  // namespace

Vst3RunLoopLink::Vst3RunLoopLink(Linux::IRunLoop* runLoop)
  : mRunLoop(runLoop)
{
}

Vst3RunLoopLink::~Vst3RunLoopLink()
{
  Drop(mTimers, nullptr, [this](TimerHandler* h) { mRunLoop->unregisterTimer(h); });
  Drop(mReaders, nullptr, [this](EventHandler* h) { mRunLoop->unregisterEventHandler(h); });
}

IPtr<Linux::IRunLoop> Vst3RunLoopLink::RunLoopOf(FUnknown* frame)
{
  return FUnknownPtr<Linux::IRunLoop>(frame);
}

bool Vst3RunLoopLink::AddTimer(Client* client, int milliseconds)
{
  if (!client || !mRunLoop || milliseconds < 0) return false;
  RemoveTimer(client);
  IPtr<TimerHandler> handler = owned(new TimerHandler(client));
  if (mRunLoop->registerTimer(handler, (Linux::TimerInterval)milliseconds) != kResultOk) return false;
  mTimers.push_back(handler);
  return true;
}

void Vst3RunLoopLink::RemoveTimer(Client* client)
{
  if (!client) return;
  Drop(mTimers, client, [this](TimerHandler* h) { mRunLoop->unregisterTimer(h); });
}

bool Vst3RunLoopLink::AddReader(Client* client, int fd)
{
  if (!client || !mRunLoop || fd < 0) return false;
  RemoveReader(client);
  IPtr<EventHandler> handler = owned(new EventHandler(client));
  if (mRunLoop->registerEventHandler(handler, fd) != kResultOk) return false;
  mReaders.push_back(handler);
  return true;
}

void Vst3RunLoopLink::RemoveReader(Client* client)
{
  if (!client) return;
  Drop(mReaders, client, [this](EventHandler* h) { mRunLoop->unregisterEventHandler(h); });
}
