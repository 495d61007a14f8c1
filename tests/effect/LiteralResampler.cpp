#include "LiteralResampler.h"

#include <cstddef>

#include "ResamplerCoefficients.h"

LiteralResampler::LiteralResampler(int factor)
{
  using namespace ResamplerCoefficients;
  const double* tables[3] = {kBase, kHalfBand4, kHalfBand8};
  const int lengths[3] = {kBaseLength, kHalfBand4Length, kHalfBand8Length};
  const int count = factor == 8 ? 3 : 2;
  for (int k = 0; k < count; ++k)
  {
    Step step;
    step.taps.assign(tables[k], tables[k] + lengths[k]);
    step.upHistory.assign(lengths[k], 0.0);
    step.downHistory.assign(lengths[k], 0.0);
    mSteps.push_back(step);
  }
}

double LiteralResampler::Convolve(const std::vector<double>& taps, const std::vector<double>& history)
{
  double sum = 0.0;
  for (std::size_t k = 0; k < taps.size(); ++k) sum += taps[k] * history[k];
  return sum;
}

void LiteralResampler::Push(std::vector<double>& history, double v)
{
  for (std::size_t k = history.size() - 1; k > 0; --k) history[k] = history[k - 1];
  history[0] = v;
}

std::vector<double> LiteralResampler::Up(double x)
{
  std::vector<double> stream = {x};
  for (Step& step : mSteps)
  {
    std::vector<double> higher;
    for (double v : stream)
    {
      Push(step.upHistory, v);
      higher.push_back(2.0 * Convolve(step.taps, step.upHistory));
      Push(step.upHistory, 0.0);
      higher.push_back(2.0 * Convolve(step.taps, step.upHistory));
    }
    stream = higher;
  }
  return stream;
}

double LiteralResampler::Down(const std::vector<double>& high)
{
  std::vector<double> stream = high;
  for (auto step = mSteps.rbegin(); step != mSteps.rend(); ++step)
  {
    std::vector<double> lower;
    for (std::size_t i = 0; i < stream.size(); ++i)
    {
      Push(step->downHistory, stream[i]);
      if (i % 2 == 0) lower.push_back(Convolve(step->taps, step->downHistory));
    }
    stream = lower;
  }
  return stream[0];
}

void LiteralResampler::Clear()
{
  for (Step& step : mSteps)
  {
    step.upHistory.assign(step.upHistory.size(), 0.0);
    step.downHistory.assign(step.downHistory.size(), 0.0);
  }
}
