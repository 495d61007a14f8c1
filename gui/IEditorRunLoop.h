#pragma once

// The host's event loop as the editor's window layer reaches it where the host owns
// the loop (VST 3 on Linux): periodic timers and readiness of a file descriptor. The
// window layer owns no thread and never blocks; every call it gets comes from the
// loop on the host's UI thread. Registrations are removed by the client before it
// goes away, also from within the loop's call to it; after a Remove the loop calls
// that client no more.
class IEditorRunLoop
{
public:
  // What the loop calls.
  class Client
  {
  public:
    virtual void OnTimer() = 0;
    virtual void OnReadable(int fd) = 0;

  protected:
    ~Client() = default;
  };

  virtual ~IEditorRunLoop() = default;

  // client->OnTimer() every milliseconds; false when the loop refuses. One timer per
  // client.
  virtual bool AddTimer(Client* client, int milliseconds) = 0;
  virtual void RemoveTimer(Client* client) = 0;
  // client->OnReadable(fd) whenever fd has data to read; false when the loop refuses.
  // One descriptor per client.
  virtual bool AddReader(Client* client, int fd) = 0;
  virtual void RemoveReader(Client* client) = 0;
};
