#pragma once

// The fourth-order tone network written out sample by sample: the control smoothing,
// all ten coefficients evaluated afresh from the monomial tables at every step (Horner
// in q, then in p), and one direct-form-II step. Part of the reference block routine
// LiteralMERO, and the reference for ToneNetwork's step.
class LiteralToneNetwork
{
public:
  // F = the rate truncated toward zero, clamped to [1, 192000].
  void SetRate(double sampleRate);

  double Process(double x, double bassPos, double treblePos);

  // p, q and w0 ... w4 to zero; the rate stays.
  void ClearState();
  bool StateFinite() const;

  double P() const { return mP; }
  double Q() const { return mQ; }
  // Coefficient k (a0 ... a4, then b0 ... b4) for the current p, q and F.
  double Coefficient(int k) const;

private:
  double mF = 0.0;
  double mP = 0.0;
  double mQ = 0.0;
  double mW[5] = {};
};
