#pragma once

// One legal channel configuration: so many inputs to so many outputs.
struct ChannelIOPair
{
  int inputs = 0;
  int outputs = 0;
};
