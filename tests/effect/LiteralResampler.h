#pragma once

#include <vector>

// The oversampler written out as plain convolution, one base-rate sample at a time:
// each 2:1 step up puts a zero after every sample and convolves that stream with the
// full filter times 2; each step down convolves with the full filter and keeps the
// samples of even index. Filters taken from the generated coefficient tables; part of
// the reference block routine LiteralMERO.
class LiteralResampler
{
public:
  // factor 4 or 8.
  explicit LiteralResampler(int factor);

  // One base-rate sample in, factor high-rate samples out.
  std::vector<double> Up(double x);
  // factor high-rate samples in, one base-rate sample out.
  double Down(const std::vector<double>& high);

  void Clear();

private:
  struct Step
  {
    std::vector<double> taps;
    std::vector<double> upHistory;    // newest first, at the higher rate
    std::vector<double> downHistory;  // newest first, at the higher rate
  };
  static double Convolve(const std::vector<double>& taps, const std::vector<double>& history);
  static void Push(std::vector<double>& history, double v);

  std::vector<Step> mSteps;
};
