#pragma once

#include "Double2.h"

// The shaper stage's band-pass for both channels (left in lane 0, right in lane 1),
// with the transfer function ShaperStage designs (the same prototype through the same
// bilinear transform, without prewarping) computed as a gain and a cascade of one
// second-order and two first-order sections. At design rates many times the audio
// band the single fourth-order recursion loses most of its precision to the
// cancellation of its coefficients; the sections keep it.
class BandPassSections
{
public:
  // Sections for design rate r.
  void Design(double r);

  Double2 Step(Double2 x);
  // Step with a zero input in both lanes.
  void StepZero();

  // Histories of one lane, or of both, to zero; the design stays.
  void ClearLane(int lane);
  void Clear();
  // Whether every history value is at most limit in magnitude (false for NaN), of
  // both lanes or of one.
  bool Within(double limit) const;
  bool LaneFinite(int lane) const;

private:
  // y = b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2, coefficients divided by a0.
  struct Section
  {
    double b[3] = {};
    double a[3] = {};
    Double2 x[2] = {};
    Double2 y[2] = {};
    Double2 Step(Double2 in);
    Double2 StepZero();
  };
  template <typename Visit>
  void ForEachHistory(Visit visit) const;

  double mGain = 0.0;
  Section mSections[3];
};
