#pragma once

#include <vector>

#include "base/source/fobject.h"
#include "pluginterfaces/base/ibstream.h"

// A state stream as a hostile host hands it over: reads deliver at most a given number
// of bytes at a time and fail once a given number has been read; writes fail, or report
// one byte short, from a given write on.
class FuzzStream : public Steinberg::FObject, public Steinberg::IBStream
{
public:
  struct Faults
  {
    int maxPerRead = 1 << 30;
    int readLimit = 1 << 30;  // reads fail once this many bytes have been read
    int failingWrite = -1;    // index of the first failing write; -1 for none
    bool shortWrite = false;  // a failing write reports one byte short instead of an error
  };

  FuzzStream() = default;
  FuzzStream(std::vector<char> bytes, const Faults& faults);

  const std::vector<char>& Bytes() const { return mBytes; }

  Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                     Steinberg::int32* numBytesRead) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                      Steinberg::int32* numBytesWritten) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode,
                                     Steinberg::int64* result) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) SMTG_OVERRIDE;

  OBJ_METHODS(FuzzStream, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IBStream)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  std::vector<char> mBytes;
  Faults mFaults{};
  int mReadPos = 0;
  int mWrites = 0;
};
