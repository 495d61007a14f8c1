#pragma once

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
  // same the previous coefficients are reused, which gives the same result.
  double Process(double x, double bassPos, double treblePos);

  double DesignRate() const { return mF; }
  double P() const { return mP; }
  double Q() const { return mQ; }
  // Coefficient k (0..4 the denominator a_k, 5..9 the numerator b_(k-5)) for the
  // current p, q and F, evaluated afresh.
  double Coefficient(int k) const;

private:
  void Evaluate(double* coefficients) const;

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
};
