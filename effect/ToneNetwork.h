#pragma once

#include <cmath>
#include <cstdint>

#include "DoubleBits.h"
#include "Double2.h"

// The fourth-order tone network at the end of each channel: a fixed continuous-time
// network with a bass and a treble control, turned into a discrete filter by the
// bilinear transform. Every coefficient is a polynomial in the design rate F and in the
// smoothed control variables p (complement of the bass position) and q (treble
// position), so the filter is re-evaluated whenever p or q moves.
class ToneNetwork
{
public:
  static constexpr int kMonomials = 9;      // 1, q, q^2, p, pq, pq^2, p^2, p^2 q, p^2 q^2
  static constexpr int kCoefficients = 10;  // a0 ... a4, b0 ... b4

  // p, q and the filter state to zero, as at construction; the design stays.
  void ClearState() { mState = State(); }

  // Whether p, q and the filter state are finite numbers.
  bool StateFinite() const;

  // Whether every filter state value is at most limit in magnitude.
  bool FilterStateWithin(double limit) const
  {
    bool within = true;
    for (double w : mState.w) within &= std::fabs(w) <= limit;
    return within;
  }
  // The filter state to zero; p, q and the design stay.
  void ClearFilterState()
  {
    for (double& w : mState.w) w = 0.0;
    mState.steady = false;
  }
  // The control smoothing of n calls of Process, without the filter (which must hold
  // zeros): p and q glide toward 1 - bass[i] and treble[i].
  void GlideControls(const double* bass, const double* treble, int n)
  {
    for (int i = 0; i < n; ++i)
    {
      mState.p = GlideP(mState.p, bass[i]);
      mState.q = GlideQ(mState.q, treble[i]);
    }
    mState.steady = false;
  }
  // Whether a step toward bassPos and treblePos leaves p and q unchanged.
  bool ControlsSettled(double bassPos, double treblePos) const
  {
    return DoubleBits(GlideP(mState.p, bassPos)) == DoubleBits(mState.p) &&
           DoubleBits(GlideQ(mState.q, treblePos)) == DoubleBits(mState.q);
  }

  // Design rate F: the rate truncated toward zero to an integer, clamped to
  // [1, 192000]; prepares every product of F with the network's constants.
  void SetRate(double sampleRate);

  // Glides p toward 1 - bassPos and q toward treblePos by one step, evaluates the
  // coefficients and runs one direct-form-II step on x. While p, q and F stay the
  // same the previous coefficients are reused. Once a step with input +0 has left p,
  // q and the filter state unchanged, the same call returns the same output without
  // arithmetic until an input or the rate changes. Both give the same results.
  double Process(double x, double bassPos, double treblePos)
  {
    if (mState.steady && DoubleBits(x) == 0 && DoubleBits(bassPos) == DoubleBits(mState.steadyBass) &&
        DoubleBits(treblePos) == DoubleBits(mState.steadyTreble))
      return mState.steadyOutput;
    return Advance(mState, x, bassPos, treblePos);
  }

  // Runs two networks side by side: for each i, left.Process(xL[i], bassL[i],
  // trebleL[i]) into yL[i] and the same for right, with the same results and states
  // as the single calls.
  static void ProcessPair(ToneNetwork& left, ToneNetwork& right, const double* xL, const double* xR,
                          const double* bassL, const double* bassR, const double* trebleL, const double* trebleR,
                          double* yL, double* yR, int n);

  // Two networks stepped side by side, left in lane 0 and right in lane 1; Step has the
  // results of Process on each, Store writes the states back and judges steadiness as
  // Process does. For networks that are not steady.
  class Pair;

  // Whether the last step was a fixed point (+0 input, controls and state unchanged).
  bool Steady() const { return mState.steady; }

  double DesignRate() const { return mF; }
  double P() const { return mState.p; }
  double Q() const { return mState.q; }
  // Coefficient k (0..4 the denominator a_k, 5..9 the numerator b_(k-5)) for the
  // current p, q and F, evaluated afresh.
  double Coefficient(int k) const;

private:
  friend class Pair;

  // ProcessPair one network after the other through Process.
  static void ProcessEach(ToneNetwork& left, ToneNetwork& right, const double* xL, const double* xR,
                          const double* bassL, const double* bassR, const double* trebleL, const double* trebleR,
                          double* yL, double* yR, int n);

  static constexpr double kSmoothing = 0.993;
  static constexpr double kSmoothingInput = 0.007000000000000006;  // 1 - 0.993 in double precision

  // One step of the control smoothing, for a double or for both lanes of a Double2: p
  // glides toward 1 - the bass position, q toward the treble position.
  template <typename T>
  static T GlideP(T p, T bassPos)
  {
    return (1.0 - bassPos) * kSmoothingInput + p * kSmoothing;
  }
  template <typename T>
  static T GlideQ(T q, T treblePos)
  {
    return treblePos * kSmoothingInput + q * kSmoothing;
  }

  // Everything a step changes.
  struct State
  {
    double p = 0.0;
    double q = 0.0;
    double w[5] = {};  // w[0] the newest internal value
    double coefficients[kCoefficients] = {};
    double coefficientsP = 0.0;
    double coefficientsQ = 0.0;
    bool coefficientsValid = false;
    // Whether the last step was a fixed point, with its inputs and output.
    bool steady = false;
    double steadyBass = 0.0;
    double steadyTreble = 0.0;
    double steadyOutput = 0.0;
  };

  // One step of state s.
  double Advance(State& s, double x, double bassPos, double treblePos) const
  {
    const double p = GlideP(s.p, bassPos);
    const double q = GlideQ(s.q, treblePos);
    const bool controlsSettled = DoubleBits(p) == DoubleBits(s.p) && DoubleBits(q) == DoubleBits(s.q);
    s.p = p;
    s.q = q;
    if (!s.coefficientsValid || DoubleBits(p) != DoubleBits(s.coefficientsP) ||
        DoubleBits(q) != DoubleBits(s.coefficientsQ))
      UpdateCoefficients(s);
    const double* a = s.coefficients;
    const double* b = s.coefficients + 5;
    double* w = s.w;

    const double w0 = x - (a[1] * w[1] + a[2] * w[2] + a[3] * w[3] + a[4] * w[4]) / a[0];
    const double y = (b[0] * w0 + b[1] * w[1] + b[2] * w[2] + b[3] * w[3] + b[4] * w[4]) / a[0];
    const std::uint64_t w0Bits = DoubleBits(w0);
    s.steady = DoubleBits(x) == 0 && controlsSettled && w0Bits == DoubleBits(w[1]) && w0Bits == DoubleBits(w[2]) &&
               w0Bits == DoubleBits(w[3]) && w0Bits == DoubleBits(w[4]);
    s.steadyBass = bassPos;
    s.steadyTreble = treblePos;
    s.steadyOutput = y;
    w[4] = w[3];
    w[3] = w[2];
    w[2] = w[1];
    w[1] = w0;
    w[0] = w0;
    return y;
  }

  // The coefficients for p and q: Horner in q, then in p.
  void Evaluate(double p, double q, double* c) const
  {
    const auto& w = mPrepared;
    for (int k = 0; k < kCoefficients; ++k)
    {
      const double p0 = w[0][k] + q * (w[1][k] + q * w[2][k]);
      const double p1 = w[3][k] + q * (w[4][k] + q * w[5][k]);
      const double p2 = w[6][k] + q * (w[7][k] + q * w[8][k]);
      c[k] = p0 + p * (p1 + p * p2);
    }
  }

  void UpdateCoefficients(State& s) const
  {
    Evaluate(s.p, s.q, s.coefficients);
    s.coefficientsP = s.p;
    s.coefficientsQ = s.q;
    s.coefficientsValid = true;
  }

  double mF = 0.0;
  // mPrepared[monomial][coefficient]: that monomial's weight in the coefficient at F.
  double mPrepared[kMonomials][kCoefficients] = {};
  State mState;
};

class ToneNetwork::Pair
{
public:
  Pair(ToneNetwork& left, ToneNetwork& right)
    : mNetwork{&left, &right}
    , mP{left.mState.p, right.mState.p}
    , mQ{left.mState.q, right.mState.q}
    , mW1{left.mState.w[1], right.mState.w[1]}
    , mW2{left.mState.w[2], right.mState.w[2]}
    , mW3{left.mState.w[3], right.mState.w[3]}
    , mW4{left.mState.w[4], right.mState.w[4]}
    , mPBefore(mP)
    , mQBefore(mQ)
    , mDroppedW(mW4)
    , mX{0.0, 0.0}
    , mLastBass{0.0, 0.0}
    , mLastTreble{0.0, 0.0}
    , mLastOutput{0.0, 0.0}
  {
    LoadCoefficients(0);
    LoadCoefficients(1);
  }

  Double2 Step(Double2 x, Double2 bass, Double2 treble)
  {
    GlideControls(bass, treble);
    RefreshCoefficients();
    mLastBass = bass;
    mLastTreble = treble;
    mLastOutput = FilterStep(x);
    return mLastOutput;
  }

  void Store() const
  {
    for (int lane = 0; lane < 2; ++lane)
    {
      State& s = mNetwork[lane]->mState;
      const std::uint64_t w0Bits = DoubleBits(mW1[lane]);
      s.steady = DoubleBits(mX[lane]) == 0 && DoubleBits(mP[lane]) == DoubleBits(mPBefore[lane]) &&
                 DoubleBits(mQ[lane]) == DoubleBits(mQBefore[lane]) && w0Bits == DoubleBits(mW2[lane]) &&
                 w0Bits == DoubleBits(mW3[lane]) && w0Bits == DoubleBits(mW4[lane]) &&
                 w0Bits == DoubleBits(mDroppedW[lane]);
      s.steadyBass = mLastBass[lane];
      s.steadyTreble = mLastTreble[lane];
      s.steadyOutput = mLastOutput[lane];
      s.p = mP[lane];
      s.q = mQ[lane];
      s.w[0] = mW1[lane];
      s.w[1] = mW1[lane];
      s.w[2] = mW2[lane];
      s.w[3] = mW3[lane];
      s.w[4] = mW4[lane];
    }
  }

private:
  void LoadCoefficients(int lane)
  {
    const State& s = mNetwork[lane]->mState;
    for (int k = 0; k < 5; ++k)
    {
      mA[k][lane] = s.coefficients[k];
      mB[k][lane] = s.coefficients[5 + k];
    }
  }

  void GlideControls(Double2 bass, Double2 treble)
  {
    mPBefore = mP;
    mQBefore = mQ;
    mP = GlideP(mP, bass);
    mQ = GlideQ(mQ, treble);
  }

  // Re-evaluates a lane's coefficients when its p or q has moved.
  void RefreshCoefficients()
  {
    for (int lane = 0; lane < 2; ++lane)
    {
      State& s = mNetwork[lane]->mState;
      if (!s.coefficientsValid || DoubleBits(mP[lane]) != DoubleBits(s.coefficientsP) ||
          DoubleBits(mQ[lane]) != DoubleBits(s.coefficientsQ))
      {
        s.p = mP[lane];
        s.q = mQ[lane];
        mNetwork[lane]->UpdateCoefficients(s);
        LoadCoefficients(lane);
      }
    }
  }

  Double2 FilterStep(Double2 input)
  {
    mX = input;
    const Double2 w0 = mX - (mA[1] * mW1 + mA[2] * mW2 + mA[3] * mW3 + mA[4] * mW4) / mA[0];
    const Double2 y = (mB[0] * w0 + mB[1] * mW1 + mB[2] * mW2 + mB[3] * mW3 + mB[4] * mW4) / mA[0];
    mDroppedW = mW4;
    mW4 = mW3;
    mW3 = mW2;
    mW2 = mW1;
    mW1 = w0;
    return y;
  }

  ToneNetwork* mNetwork[2];
  Double2 mA[5];
  Double2 mB[5];
  Double2 mP;
  Double2 mQ;
  Double2 mW1, mW2, mW3, mW4;
  // From the last step, for the judgement of a fixed point: the controls before it,
  // the state it shifted out, its input, positions and output.
  Double2 mPBefore, mQBefore, mDroppedW, mX;
  Double2 mLastBass, mLastTreble, mLastOutput;
};
