#include "PolyphaseStage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Double2.h"

PolyphaseStage::Phase PolyphaseStage::MakePhase(const double* taps, int length, int parity, double gain)
{
  // Phase taps g[i] = gain * h[2i + parity]; keep those from the first to the last
  // nonzero one.
  std::vector<double> g;
  for (int k = parity; k < length; k += 2) g.push_back(gain * taps[k]);
  int first = 0;
  while (first < static_cast<int>(g.size()) && g[first] == 0.0) ++first;
  int last = static_cast<int>(g.size()) - 1;
  while (last > first && g[last] == 0.0) --last;
  Phase phase;
  if (first >= static_cast<int>(g.size())) return phase;
  phase.taps.assign(g.rbegin() + (static_cast<int>(g.size()) - 1 - last), g.rend() - first);
  phase.newest = first;
  return phase;
}

void PolyphaseStage::Prepare(const double* taps, int length, int maxLowFrames)
{
  const int frames = std::max(maxLowFrames, 1);
  for (int parity = 0; parity < 2; ++parity)
  {
    mUp[parity] = MakePhase(taps, length, parity, 2.0);
    mDown[parity] = MakePhase(taps, length, parity, 1.0);
  }
  // The oldest sample a phase reaches is (length - 1) / 2 lower-rate samples back, one
  // more for the odd phase of the downsampler.
  mHistory = (length + 1) / 2 + 1;
  mDelay = (length - 1) / 2;
  mUpLine.assign(mHistory + frames, 0.0);
  for (std::vector<double>& line : mDownLine) line.assign(mHistory + frames, 0.0);
}

void PolyphaseStage::Reset()
{
  std::fill(mUpLine.begin(), mUpLine.end(), 0.0);
  for (std::vector<double>& line : mDownLine) std::fill(line.begin(), line.end(), 0.0);
}

bool PolyphaseStage::HistoryWithin(double limit) const
{
  bool within = true;
  for (const std::vector<double>* line : {&mUpLine, &mDownLine[0], &mDownLine[1]})
    for (int k = 0; k < mHistory && k < static_cast<int>(line->size()); ++k) within &= std::fabs((*line)[k]) <= limit;
  return within;
}

namespace
{
Double2 Load(const double* p)
{
  Double2 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
}  // namespace

double PolyphaseStage::Dot(const double* taps, const double* window, int count)
{
  // Four pairs of partial sums, so that the additions do not wait on each other.
  Double2 acc0 = {0.0, 0.0}, acc1 = acc0, acc2 = acc0, acc3 = acc0;
  int j = 0;
  for (; j + 8 <= count; j += 8)
  {
    acc0 += Load(taps + j) * Load(window + j);
    acc1 += Load(taps + j + 2) * Load(window + j + 2);
    acc2 += Load(taps + j + 4) * Load(window + j + 4);
    acc3 += Load(taps + j + 6) * Load(window + j + 6);
  }
  for (; j + 2 <= count; j += 2) acc0 += Load(taps + j) * Load(window + j);
  const Double2 total = (acc0 + acc1) + (acc2 + acc3);
  double sum = total[0] + total[1];
  if (j < count) sum += taps[j] * window[j];
  return sum;
}

void PolyphaseStage::Keep(std::vector<double>& line, int n) const
{
  std::memmove(line.data(), line.data() + n, sizeof(double) * mHistory);
}

void PolyphaseStage::Upsample(const double* in, int n, double* out)
{
  // Output 2m + p = sum over i of g_p[i] x[m - i]; x[m] sits at mUpLine[mHistory + m].
  std::memcpy(mUpLine.data() + mHistory, in, sizeof(double) * n);
  for (int m = 0; m < n; ++m)
    for (int p = 0; p < 2; ++p)
    {
      const Phase& phase = mUp[p];
      const int count = static_cast<int>(phase.taps.size());
      const double* window = mUpLine.data() + mHistory + m - phase.newest - (count - 1);
      out[2 * m + p] = Dot(phase.taps.data(), window, count);
    }
  Keep(mUpLine, n);
}

void PolyphaseStage::Downsample(const double* in, int n, double* out)
{
  // Output m = sum over i of h[2i] v[2(m - i)] + h[2i + 1] v[2(m - i) - 1]: line 0 holds
  // the even samples v[2m], line 1 the odd ones v[2m + 1], each at mHistory + m.
  double* even = mDownLine[0].data() + mHistory;
  double* odd = mDownLine[1].data() + mHistory;
  for (int m = 0; m < n; ++m)
  {
    even[m] = in[2 * m];
    odd[m] = in[2 * m + 1];
  }
  for (int m = 0; m < n; ++m)
  {
    double sum = 0.0;
    for (int p = 0; p < 2; ++p)
    {
      const Phase& phase = mDown[p];
      const int count = static_cast<int>(phase.taps.size());
      const double* window = mDownLine[p].data() + mHistory + m - p - phase.newest - (count - 1);
      sum += Dot(phase.taps.data(), window, count);
    }
    out[m] = sum;
  }
  Keep(mDownLine[0], n);
  Keep(mDownLine[1], n);
}
