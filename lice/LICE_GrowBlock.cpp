#include "LICE_GrowBlock.h"

#include <cstdlib>

LICE_GrowBlock::~LICE_GrowBlock()
{
  std::free(m_data);
}

bool LICE_GrowBlock::resize(int size)
{
  if (size < 0) return false;
  if (size > m_capacity)
  {
    const long long steps = ((long long)size + m_granularity - 1) / m_granularity;
    const long long capacity = steps * m_granularity;
    if (capacity > 0x7FFFFFFF) return false;
    void* grown = std::realloc(m_data, (size_t)capacity);
    if (!grown) return false;
    m_data = static_cast<unsigned char*>(grown);
    m_capacity = (int)capacity;
  }
  m_size = size;
  return true;
}

void LICE_GrowBlock::release()
{
  std::free(m_data);
  m_data = nullptr;
  m_size = 0;
  m_capacity = 0;
}
