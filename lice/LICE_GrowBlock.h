#pragma once

// Growable block of bytes whose storage grows in whole steps of a fixed
// granularity. Growing that cannot be satisfied leaves the block unchanged.
class LICE_GrowBlock
{
public:
  explicit LICE_GrowBlock(int granularity)
    : mGranularity(granularity)
  {
  }
  ~LICE_GrowBlock();

  LICE_GrowBlock(const LICE_GrowBlock&) = delete;
  LICE_GrowBlock& operator=(const LICE_GrowBlock&) = delete;

  unsigned char* Data() { return mData; }
  const unsigned char* Data() const { return mData; }
  int Size() const { return mSize; }

  // Sets the used size; false (and no change) when the storage cannot hold it.
  bool resize(int size);
  // Empties the block and releases its storage.
  void Release();

private:
  unsigned char* mData = nullptr;
  int mSize = 0;
  int mCapacity = 0;
  int mGranularity;
};
