#pragma once

// Growable block of bytes whose storage grows in whole steps of a fixed
// granularity. Growing that cannot be satisfied leaves the block unchanged.
class LICE_GrowBlock
{
public:
  explicit LICE_GrowBlock(int granularity)
    : m_granularity(granularity)
  {
  }
  ~LICE_GrowBlock();

  LICE_GrowBlock(const LICE_GrowBlock&) = delete;
  LICE_GrowBlock& operator=(const LICE_GrowBlock&) = delete;

  unsigned char* data() { return m_data; }
  const unsigned char* data() const { return m_data; }
  int size() const { return m_size; }

  // Sets the used size; false (and no change) when the storage cannot hold it.
  bool resize(int size);
  // Empties the block and releases its storage.
  void release();

private:
  unsigned char* m_data = nullptr;
  int m_size = 0;
  int m_capacity = 0;
  int m_granularity;
};
