#pragma once

// Both channels' input delayed by the latency of the processed path, so that the
// effect's own bypass switch passes the dry signal in time with the processed one. A
// ring of fixed capacity per channel: no allocation, ever.
class DryDelay
{
public:
  // The longest delay, in frames.
  static constexpr int kCapacity = 128;

  // Delay in frames (limited to 0 ... kCapacity); the rings start from silence.
  void SetLength(int frames);
  int Length() const { return mLength; }

  // For each of n frames, out[c][i] = the input Length() frames before in[c][i]. out
  // may be in.
  void Process(const double* const* in, double* const* out, int n);

  void Clear();
  void ClearChannel(int c);
  // Whether every sample the rings hold is at most limit in magnitude (false for NaN).
  bool Within(double limit) const;

private:
  double mRing[2][kCapacity] = {};
  int mLength = 0;
  int mPos = 0;
};
