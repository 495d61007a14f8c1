#pragma once

#include "IMutex.h"

// Holds an IMutex for the lifetime of the guard.
class IMutexLock
{
public:
  explicit IMutexLock(IMutex& mutex)
    : mMutex(mutex)
  {
    mMutex.Enter();
  }
  ~IMutexLock() { mMutex.Leave(); }

  IMutexLock(const IMutexLock&) = delete;
  IMutexLock& operator=(const IMutexLock&) = delete;

private:
  IMutex& mMutex;
};
