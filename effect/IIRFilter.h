#pragma once

#include <cmath>
#include <cstdint>

#include "DoubleBits.h"
#include "Double2.h"

// Direct-form-I recursive filter of order N (3 or 4) whose coefficients come from a
// continuous-time prototype H(s) = sum N_m (s/2)^m / sum D_m (s/2)^m through the
// bilinear transform s = 2r (1 - z^-1) / (1 + z^-1), without prewarping. The
// coefficients are not normalised: Step divides by a0.
template <int N>
class IIRFilter
{
  static_assert(N == 3 || N == 4, "the effect uses orders 3 and 4 only");

public:
  static constexpr int kOrder = N;

  // Previous inputs and outputs to zero, as at construction; the design stays.
  void ClearHistories();

  // Whether every previous input and output is a finite number.
  bool HistoriesFinite() const;

  // Whether every previous input and output is at most limit in magnitude.
  bool HistoriesWithin(double limit) const
  {
    bool within = true;
    for (int k = 0; k < N; ++k) within &= (std::fabs(mX[k]) <= limit) & (std::fabs(mY[k]) <= limit);
    return within;
  }

  // Coefficients for design rate r from the prototype tables den[0..N], num[0..N].
  void Design(const double* den, const double* num, double r);

  // The effect's output network: about +23.5 dB across the audio band, a zero at DC
  // and a gentle low cut below about 20 Hz. Order 3 only.
  void DesignOutputNetwork(double r);

  // One step: y = (b0 x + b1 x1 + ... + bN xN - a1 y1 - ... - aN yN) / a0, summed in
  // that order. Once a step with input +0 has left the state unchanged (for example at
  // rest, or where a decay has settled on a tiny constant), further +0 steps return
  // that output without arithmetic; a new design ends this.
  double Step(double x)
  {
    const bool zeroInput = IsPositiveZero(x);
    if (mSteady && zeroInput) return mY[0];
    double droppedX;
    double droppedY;
    const double y = Difference(mA, mB, mX, mY, x, droppedX, droppedY);
    mSteady = zeroInput && IsFixedPoint(droppedX, droppedY);
    return y;
  }

  // Steps two filters side by side: for each i, left.Step(inL[i]) and
  // right.Step(inR[i]) into outL[i] and outR[i], each followed by left.Step(+0) and
  // right.Step(+0) when zeroStepAfterEach is set. The results and the filters' states
  // are those of the single steps; the histories stay in registers meanwhile.
  static void StepPair(IIRFilter& left, IIRFilter& right, const double* inL, const double* inR, double* outL,
                       double* outR, int n, bool zeroStepAfterEach);

  // Two filters stepped side by side in the lanes of Double2 (left in lane 0, right in
  // lane 1), each lane with the arithmetic of Step; Store writes the states back and
  // judges steadiness as Step does. For filters that are not steady.
  class Pair
  {
  public:
    Pair(IIRFilter& left, IIRFilter& right);
    Double2 Step(Double2 in)
    {
      mLastInput = in;
      return Difference(mA, mB, mX, mY, in, mDroppedX, mDroppedY);
    }
    void Store() const;

  private:
    IIRFilter* mFilter[2];
    Double2 mA[N + 1];
    Double2 mB[N + 1];
    Double2 mX[N];
    Double2 mY[N];
    Double2 mDroppedX;
    Double2 mDroppedY;
    Double2 mLastInput;
  };

  // Whether the last step was a +0 step that left the state unchanged.
  bool Steady() const { return mSteady; }

  double A(int k) const { return mA[k]; }
  double B(int k) const { return mB[k]; }
  // Previous outputs, index 0 the most recent.
  double YHistory(int k) const { return mY[k]; }

private:
  // The difference equation on the histories x and y: returns the output, shifts the
  // histories and gives the values shifted out. T is double, or Double2 for two
  // filters in lanes.
  template <typename T>
  static T Difference(const T* a, const T* b, T* x, T* y, T in, T& droppedX, T& droppedY)
  {
    T acc = b[0] * in;
    for (int k = 1; k <= N; ++k) acc += b[k] * x[k - 1];
    for (int k = 1; k <= N; ++k) acc -= a[k] * y[k - 1];
    const T out = acc / a[0];
    droppedX = x[N - 1];
    droppedY = y[N - 1];
    for (int k = N - 1; k > 0; --k)
    {
      x[k] = x[k - 1];
      y[k] = y[k - 1];
    }
    x[0] = in;
    y[0] = out;
    return out;
  }

  static bool IsPositiveZero(double v) { return DoubleBits(v) == 0; }

  // True when the state just reached is the one it came from: the input and output
  // histories, together with the values shifted out, are all +0 and all the newest
  // output respectively.
  bool IsFixedPoint(double droppedX, double droppedY) const
  {
    if (DoubleBits(droppedX) != 0 || DoubleBits(droppedY) != DoubleBits(mY[0])) return false;
    for (int k = 1; k < N; ++k)
      if (DoubleBits(mX[k]) != 0 || DoubleBits(mY[k]) != DoubleBits(mY[0])) return false;
    return true;
  }

  double mX[N] = {};
  double mY[N] = {};
  double mA[N + 1] = {};
  double mB[N + 1] = {};
  bool mSteady = false;
};
