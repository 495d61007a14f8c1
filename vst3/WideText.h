#pragma once

// Text across the VST 3 boundary: the framework's 8-bit text becomes UTF-16 one byte
// per unit, and the host's UTF-16 text becomes 8-bit by keeping each unit's low byte.

#include "pluginterfaces/vst/vsttypes.h"

// Copies text into a UTF-16 field of size units: at most size - 1 units, then a zero.
inline void WidenText(const char* text, Steinberg::Vst::TChar* out, int size)
{
  if (!out || size <= 0) return;
  int n = 0;
  if (text)
    for (; n + 1 < size && text[n]; ++n)
      out[n] = static_cast<Steinberg::Vst::TChar>(static_cast<unsigned char>(text[n]));
  out[n] = 0;
}

// Copies UTF-16 text into an 8-bit field of size bytes: at most size - 1 bytes, then a NUL.
inline void NarrowText(const Steinberg::Vst::TChar* text, char* out, int size)
{
  if (!out || size <= 0) return;
  int n = 0;
  if (text)
    for (; n + 1 < size && text[n]; ++n) out[n] = static_cast<char>(text[n] & 0xFF);
  out[n] = '\0';
}
