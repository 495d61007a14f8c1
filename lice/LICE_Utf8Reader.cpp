#include "LICE_Utf8Reader.h"

namespace
{

bool IsContinuation(unsigned char c)
{
  return c >= 0x80 && c <= 0xC0;
}

bool IsStrictContinuation(unsigned char c)
{
  return c >= 0x80 && c <= 0xBF;
}

}  // namespace

LICE_Utf8Reader::LICE_Utf8Reader(const char* text, int count)
  : mPos(reinterpret_cast<const unsigned char*>(text))
  , mLeft(text ? count : 0)
{
}

bool LICE_Utf8Reader::Next(int& code)
{
  if (mLeft == 0 || *mPos == 0) return false;

  const unsigned char* p = mPos;
  const unsigned char lead = p[0];
  int len = 1;
  code = lead;
  if (lead >= 0xC2 && lead <= 0xDF)
  {
    if (Available(2) && IsContinuation(p[1]))
    {
      code = ((lead & 0x1F) << 6) | (p[1] & 0x3F);
      len = 2;
    }
  }
  else if (lead >= 0xE0 && lead <= 0xEF)
  {
    if (Available(3) && IsContinuation(p[1]) && IsContinuation(p[2]))
    {
      code = (((lead & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F)) & 0xFFFF;
      len = 3;
    }
  }
  else if (lead >= 0xF0 && lead <= 0xF4)
  {
    if (Available(4) && IsContinuation(p[1]) && IsContinuation(p[2]) && IsContinuation(p[3]))
    {
      code = ' ';
      len = 4;
    }
  }

  mPos += len;
  if (mLeft > 0) mLeft -= len;
  return true;
}

bool LICE_Utf8Reader::HasMultiByteSequence(const char* text, int count)
{
  if (!text) return false;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  for (int i = 0; count < 0 || i < count; ++i)
  {
    const unsigned char c = p[i];
    if (c == 0) break;
    int trail = 0;
    if (c >= 0xC2 && c <= 0xDF)
      trail = 1;
    else if (c >= 0xE0 && c <= 0xF4)
      trail = 2;
    int k = 1;
    while (k <= trail && (count < 0 || i + k < count) && IsStrictContinuation(p[i + k])) ++k;
    if (trail > 0 && k > trail) return true;
  }
  return false;
}
