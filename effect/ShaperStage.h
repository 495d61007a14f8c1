#pragma once

#include "IIRFilter.h"

// The effect's saturation stage: a fourth-order band-pass (an IIRFilter designed for
// twice the sample rate) plus a memoryless curve that combines tanh of the stage input
// with powers of the band-passed copy B of that input. Curve A (Mode 0) uses B^3 and
// B^4; curve B (Mode 1) uses B^2, B^3 and B^7.
class ShaperStage : public IIRFilter<4>
{
public:
  // Band-pass for design rate r: one zero at DC, three at half the design rate.
  void DesignShaperBandPass(double r);

  // One band-pass step, then tanh(x) - (0.6 tanh(B^4) + 0.7 tanh(B^3)).
  double ProcessA(double x);

  // One band-pass step, then tanh(x) - (0.7 tanh(B^3) + 0.05 tanh(B^2)) + 0.6 atan(B^7).
  double ProcessB(double x);
};
