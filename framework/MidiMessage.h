#pragma once

// A short MIDI message at a sample offset within the current block.
struct MidiMessage
{
  int offset = 0;
  unsigned char status = 0;
  unsigned char data1 = 0;
  unsigned char data2 = 0;
};
