#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Reads the fuzz input front to back; past its end every read gives zeros.
class ByteReader
{
public:
  ByteReader(const uint8_t* data, size_t size)
    : mData(data)
    , mSize(size)
  {
  }

  bool Empty() const { return mPos >= mSize; }

  uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }

  uint32_t Word()
  {
    uint32_t w = 0;
    for (int i = 0; i < 4; ++i) w |= static_cast<uint32_t>(Byte()) << (8 * i);
    return w;
  }

  double Double()
  {
    uint64_t bits = static_cast<uint64_t>(Word()) | static_cast<uint64_t>(Word()) << 32;
    double d;
    std::memcpy(&d, &bits, sizeof(d));
    return d;
  }

  float Float()
  {
    const uint32_t bits = Word();
    float f;
    std::memcpy(&f, &bits, sizeof(f));
    return f;
  }

  // One entry of a table, chosen by the next byte.
  template <typename T, size_t N>
  T Pick(const T (&table)[N])
  {
    return table[Byte() % N];
  }

private:
  const uint8_t* mData;
  size_t mSize;
  size_t mPos = 0;
};
