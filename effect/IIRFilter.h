#pragma once

#include <cmath>

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

  // Sets every coefficient and history to zero.
  void Clear();

  // Coefficients for design rate r from the prototype tables den[0..N], num[0..N].
  void Design(const double* den, const double* num, double r);

  // The effect's output network: about +23.5 dB across the audio band, a zero at DC
  // and a gentle low cut below about 20 Hz. Order 3 only.
  void DesignOutputNetwork(double r);

  // One step: y = (b0 x + b1 x1 + ... + bN xN - a1 y1 - ... - aN yN) / a0, summed in
  // that order. A filter whose histories are all zero and that gets +0 returns +0
  // without arithmetic, which is the same result whenever b0 > 0 and a0 > 0.
  double Step(double x)
  {
    if (mResting && IsPositiveZero(x) && mB[0] > 0.0 && mA[0] > 0.0)
      return StepAtRest();
    double acc = mB[0] * x;
    for (int k = 1; k <= N; ++k)
      acc += mB[k] * mX[k - 1];
    for (int k = 1; k <= N; ++k)
      acc -= mA[k] * mY[k - 1];
    const double y = acc / mA[0];
    for (int k = N - 1; k > 0; --k)
    {
      mX[k] = mX[k - 1];
      mY[k] = mY[k - 1];
    }
    mX[0] = x;
    mY[0] = y;
    UpdateResting(x, y);
    return y;
  }

  double A(int k) const { return mA[k]; }
  double B(int k) const { return mB[k]; }
  // Previous inputs and outputs, index 0 the most recent.
  double XHistory(int k) const { return mX[k]; }
  double YHistory(int k) const { return mY[k]; }

private:
  static bool IsPositiveZero(double v)
  {
    return v == 0.0 && !std::signbit(v);
  }

  double StepAtRest()
  {
    for (int k = N - 1; k > 0; --k)
    {
      mX[k] = mX[k - 1];
      mY[k] = mY[k - 1];
    }
    mX[0] = 0.0;
    mY[0] = 0.0;
    return 0.0;
  }

  // The filter rests once N consecutive steps had zero input and zero output.
  void UpdateResting(double x, double y)
  {
    if (x == 0.0 && y == 0.0)
    {
      if (mZeroRun < N)
        ++mZeroRun;
    }
    else
    {
      mZeroRun = 0;
    }
    mResting = mZeroRun >= N;
  }

  double mX[N] = {};
  double mY[N] = {};
  double mA[N + 1] = {};
  double mB[N + 1] = {};
  int mZeroRun = N;
  bool mResting = true;
};
