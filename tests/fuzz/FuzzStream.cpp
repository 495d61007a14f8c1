#include "FuzzStream.h"

#include <algorithm>
#include <cstring>

using namespace Steinberg;

FuzzStream::FuzzStream(std::vector<char> bytes, const Faults& faults)
  : mBytes(std::move(bytes))
  , mFaults(faults)
{
}

tresult PLUGIN_API FuzzStream::read(void* buffer, int32 numBytes, int32* numBytesRead)
{
  if (numBytesRead) *numBytesRead = 0;
  if (!buffer || numBytes < 0) return kInvalidArgument;
  if (mReadPos >= mFaults.readLimit) return kResultFalse;
  const int available = static_cast<int>(mBytes.size()) - mReadPos;
  const int n = std::max(0, std::min({numBytes, mFaults.maxPerRead, available, mFaults.readLimit - mReadPos}));
  if (n > 0) std::memcpy(buffer, mBytes.data() + mReadPos, static_cast<size_t>(n));
  mReadPos += n;
  if (numBytesRead) *numBytesRead = n;
  return kResultOk;
}

tresult PLUGIN_API FuzzStream::write(void* buffer, int32 numBytes, int32* numBytesWritten)
{
  if (numBytesWritten) *numBytesWritten = 0;
  if (!buffer || numBytes < 0) return kInvalidArgument;
  const bool failing = mFaults.failingWrite >= 0 && mWrites++ >= mFaults.failingWrite;
  if (failing && !mFaults.shortWrite) return kResultFalse;
  const int32 n = failing ? std::max(0, numBytes - 1) : numBytes;
  const char* bytes = static_cast<const char*>(buffer);
  mBytes.insert(mBytes.end(), bytes, bytes + n);
  if (numBytesWritten) *numBytesWritten = n;
  return kResultOk;
}

tresult PLUGIN_API FuzzStream::seek(int64 pos, int32 mode, int64* result)
{
  const int64 size = static_cast<int64>(mBytes.size());
  if (pos < -size || pos > size) return kResultFalse;
  const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? mReadPos : size;
  const int64 target = base + pos;
  if (target < 0 || target > size) return kResultFalse;
  mReadPos = static_cast<int>(target);
  if (result) *result = mReadPos;
  return kResultOk;
}

tresult PLUGIN_API FuzzStream::tell(int64* pos)
{
  if (!pos) return kInvalidArgument;
  *pos = mReadPos;
  return kResultOk;
}
