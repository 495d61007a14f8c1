#include "IMutex.h"

#ifdef _WIN32
#include <windows.h>
using NativeMutex = CRITICAL_SECTION;
#else
#include <mutex>
using NativeMutex = std::recursive_mutex;
#endif

#include <new>

namespace
{
NativeMutex& Native(unsigned char* storage)
{
  return *std::launder(reinterpret_cast<NativeMutex*>(storage));
}
}  // namespace

#ifdef _WIN32

IMutex::IMutex()
{
  static_assert(sizeof(NativeMutex) <= kStorageSize && alignof(NativeMutex) <= alignof(IMutex));
  InitializeCriticalSection(new (mStorage) CRITICAL_SECTION);
}

IMutex::~IMutex()
{
  DeleteCriticalSection(&Native(mStorage));
}

void IMutex::Enter()
{
  EnterCriticalSection(&Native(mStorage));
}

void IMutex::Leave()
{
  LeaveCriticalSection(&Native(mStorage));
}

#else

IMutex::IMutex()
{
  static_assert(sizeof(NativeMutex) <= kStorageSize && alignof(NativeMutex) <= alignof(IMutex));
  new (mStorage) std::recursive_mutex;
}

IMutex::~IMutex()
{
  Native(mStorage).~recursive_mutex();
}

void IMutex::Enter()
{
  Native(mStorage).lock();
}

void IMutex::Leave()
{
  Native(mStorage).unlock();
}

#endif
