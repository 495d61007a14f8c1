#pragma once

// The editor's run loop (IEditorRunLoop) on top of the host's Linux run loop
// (Steinberg::Linux::IRunLoop, which the host's IPlugFrame offers): each client's timer
// and descriptor become a timer handler and an event handler registered with the
// host. Removing a client, and destroying the link, unregisters them; a handler the
// host still holds afterwards calls nothing. Linux only; all calls on the host's UI
// thread.

#include <memory>
#include <vector>

#include "IEditorRunLoop.h"
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

class Vst3RunLoopLink : public IEditorRunLoop
{
public:
  // Keeps a reference on runLoop.
  explicit Vst3RunLoopLink(Steinberg::Linux::IRunLoop* runLoop);
  // Unregisters whatever is still registered.
  ~Vst3RunLoopLink() override;

  Vst3RunLoopLink(const Vst3RunLoopLink&) = delete;
  Vst3RunLoopLink& operator=(const Vst3RunLoopLink&) = delete;

  // The host's run loop of frame (queried from it), or null.
  static Steinberg::IPtr<Steinberg::Linux::IRunLoop> RunLoopOf(Steinberg::FUnknown* frame);

  bool AddTimer(Client* client, int milliseconds) override;
  void RemoveTimer(Client* client) override;
  bool AddReader(Client* client, int fd) override;
  void RemoveReader(Client* client) override;

private:
  class TimerHandler;
  class EventHandler;

  Steinberg::IPtr<Steinberg::Linux::IRunLoop> mRunLoop;
  std::vector<Steinberg::IPtr<TimerHandler>> mTimers;
  std::vector<Steinberg::IPtr<EventHandler>> mReaders;
};
