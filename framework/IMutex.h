#pragma once

// The re-entrant plug-in lock: a critical section on Windows, a recursive
// mutex elsewhere. The thread that holds it may enter it again; every Enter
// needs a matching Leave.
class IMutex
{
public:
  IMutex();
  ~IMutex();

  IMutex(const IMutex&) = delete;
  IMutex& operator=(const IMutex&) = delete;

  void Enter();
  void Leave();

private:
  static constexpr int kStorageSize = 64;
  alignas(16) unsigned char mStorage[kStorageSize];
};
