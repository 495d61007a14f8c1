#pragma once

#include <cstdint>
#include <cstring>

// The fourth-order tone network at the end of each channel: a fixed continuous-time
// network with a bass and a treble control, turned into a discrete filter by the
// bilinear transform. Every coefficient is a polynomial in the design rate F and in the
// smoothed control variables p (complement of the bass position) and q (treble
// position), so the filter is re-evaluated whenever p or q moves.
class ToneNetwork
{
public:
  static constexpr int kMonomials = 9; // 1, q, q^2, p, pq, pq^2, p^2, p^2 q, p^2 q^2
  static constexpr int kCoefficients = 10; // a0 ... a4, b0 ... b4

  // Zeroes p, q, the filter state and the design.
  void Clear();

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
    if (mSteady && Bits(x) == 0 && Bits(bassPos) == Bits(mSteadyBass) && Bits(treblePos) == Bits(mSteadyTreble))
      return mSteadyOutput;

    const double p = (1.0 - bassPos) * kSmoothingInput + mP * kSmoothing;
    const double q = treblePos * kSmoothingInput + mQ * kSmoothing;
    const bool controlsSettled = Bits(p) == Bits(mP) && Bits(q) == Bits(mQ);
    mP = p;
    mQ = q;
    if (!mCoefficientsValid || Bits(p) != Bits(mCoefficientsP) || Bits(q) != Bits(mCoefficientsQ))
      UpdateCoefficients();
    const double* a = mCoefficients;
    const double* b = mCoefficients + 5;

    const double w0 = x - (a[1] * mW[1] + a[2] * mW[2] + a[3] * mW[3] + a[4] * mW[4]) / a[0];
    const double y = (b[0] * w0 + b[1] * mW[1] + b[2] * mW[2] + b[3] * mW[3] + b[4] * mW[4]) / a[0];
    const std::uint64_t w0Bits = Bits(w0);
    mSteady = Bits(x) == 0 && controlsSettled && w0Bits == Bits(mW[1]) && w0Bits == Bits(mW[2]) &&
              w0Bits == Bits(mW[3]) && w0Bits == Bits(mW[4]);
    mSteadyBass = bassPos;
    mSteadyTreble = treblePos;
    mSteadyOutput = y;
    mW[4] = mW[3];
    mW[3] = mW[2];
    mW[2] = mW[1];
    mW[1] = w0;
    mW[0] = w0;
    return y;
  }

  double DesignRate() const { return mF; }
  double P() const { return mP; }
  double Q() const { return mQ; }
  // Coefficient k (0..4 the denominator a_k, 5..9 the numerator b_(k-5)) for the
  // current p, q and F, evaluated afresh.
  double Coefficient(int k) const;

private:
  static constexpr double kSmoothing = 0.993;
  static constexpr double kSmoothingInput = 0.007000000000000006; // 1 - 0.993 in double precision

  static std::uint64_t Bits(double v)
  {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
  }

  void Evaluate(double* coefficients) const;
  void UpdateCoefficients();

  double mF = 0.0;
  // mPrepared[monomial][coefficient]: that monomial's weight in the coefficient at F.
  double mPrepared[kMonomials][kCoefficients] = {};
  double mP = 0.0;
  double mQ = 0.0;
  double mW[5] = {};
  double mCoefficients[kCoefficients] = {};
  double mCoefficientsP = 0.0;
  double mCoefficientsQ = 0.0;
  bool mCoefficientsValid = false;
  bool mSteady = false;
  double mSteadyBass = 0.0;
  double mSteadyTreble = 0.0;
  double mSteadyOutput = 0.0;
};
