#pragma once

#include "MERO.h"

// MERO with the block routine written out literally, sample by sample: every filter
// design, every pow() and every parameter read happens in each sample period, the
// curves call tanh and atan on every value including zeros, and the zero steps
// evaluate the full curve. It is the reference that MERO::ProcessAudio must match
// bit for bit.
class LiteralMERO : public MERO
{
public:
  void ProcessAudio(double** inputs, double** outputs, int frames) override;

private:
  // One sample of one channel through pad, drive, shaper and output network.
  void DriveChannel(int channel, double input, int mode);
  void ToneChannel(int channel, double toneScale, double modeTrim, double** inputs, double** outputs,
                   int i);
};
