#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "LiteralOversampledDrive.h"
#include "OversampledDrive.h"
#include "Oversampler.h"
#include "ResamplerCoefficients.h"
#include "TestSignals.h"

namespace
{
const double kPi = 3.14159265358979323846;
const double kRate = 44100.0;

struct Filter
{
  const double* taps;
  int length;
};

std::vector<Filter> Filters(int factor)
{
  using namespace ResamplerCoefficients;
  std::vector<Filter> f = {{kBase, kBaseLength}, {kHalfBand4, kHalfBand4Length}};
  if (factor == 8) f.push_back({kHalfBand8, kHalfBand8Length});
  return f;
}

// Plain convolution y[m] = gain * sum_k h[k] x[m - k], x zero before its start.
std::vector<double> Convolve(const std::vector<double>& x, const Filter& h, double gain)
{
  std::vector<double> y(x.size(), 0.0);
  for (size_t m = 0; m < x.size(); ++m)
    for (int k = 0; k < h.length && k <= static_cast<int>(m); ++k) y[m] += gain * h.taps[k] * x[m - k];
  return y;
}

// Each step up: a zero after every sample, then the filter with gain 2.
std::vector<double> LiteralUp(std::vector<double> x, int factor)
{
  for (const Filter& h : Filters(factor))
  {
    std::vector<double> stuffed(2 * x.size(), 0.0);
    for (size_t i = 0; i < x.size(); ++i) stuffed[2 * i] = x[i];
    x = Convolve(stuffed, h, 2.0);
  }
  return x;
}

// Each step down, last step first: the filter, then every other sample from the first.
std::vector<double> LiteralDown(std::vector<double> v, int factor)
{
  const std::vector<Filter> filters = Filters(factor);
  for (auto h = filters.rbegin(); h != filters.rend(); ++h)
  {
    const std::vector<double> filtered = Convolve(v, *h, 1.0);
    v.assign(filtered.size() / 2, 0.0);
    for (size_t i = 0; i < v.size(); ++i) v[i] = filtered[2 * i];
  }
  return v;
}

double HighRateCurve(double v)
{
  return std::tanh(3.0 * v) + 0.1 * v * v;
}

// Runs x through Upsample, the curve at the high rate and Downsample in blocks of the
// given sizes (in turn); returns the high-rate signal before the curve and the output.
void RunBlocks(Oversampler& os, const std::vector<double>& x, const std::vector<int>& blocks, std::vector<double>& high,
               std::vector<double>& out)
{
  const int factor = os.Factor();
  high.assign(x.size() * factor, 0.0);
  out.assign(x.size(), 0.0);
  size_t at = 0;
  for (size_t b = 0; at < x.size(); ++b)
  {
    const int n = static_cast<int>(std::min<size_t>(blocks[b % blocks.size()], x.size() - at));
    double* h = os.Upsample(x.data() + at, n);
    for (int i = 0; i < n * factor; ++i)
    {
      high[at * factor + i] = h[i];
      h[i] = HighRateCurve(h[i]);
    }
    os.Downsample(n, out.data() + at);
    at += n;
  }
}

double MaxDifference(const std::vector<double>& a, const std::vector<double>& b)
{
  double d = 0.0;
  for (size_t i = 0; i < a.size(); ++i) d = std::fmax(d, std::fabs(a[i] - b[i]));
  return d;
}

// Amplitude and phase (of a sine) of the component at hz in v[from, end), by least
// squares on a cosine and a sine.
struct Tone
{
  double amplitude;
  double phase;
};

Tone Fit(const std::vector<double>& v, size_t from, double hz, double rate)
{
  double cc = 0, ss = 0, cs = 0, vc = 0, vs = 0;
  for (size_t i = from; i < v.size(); ++i)
  {
    const double c = std::cos(2 * kPi * hz * i / rate);
    const double s = std::sin(2 * kPi * hz * i / rate);
    cc += c * c;
    ss += s * s;
    cs += c * s;
    vc += v[i] * c;
    vs += v[i] * s;
  }
  const double det = cc * ss - cs * cs;
  const double a = (vc * ss - vs * cs) / det;  // cosine weight
  const double b = (vs * cc - vc * cs) / det;  // sine weight
  return {std::hypot(a, b), std::atan2(a, b)};
}

double Db(double ratio)
{
  return 20.0 * std::log10(ratio);
}
}  // namespace

TEST(Oversampler, MatchesPlainConvolutionAtTheHighRateAndRestartsFromRest)
{
  const std::vector<double> x = TestSignals::Noise(1500, 0.9, 7);
  for (int factor : {4, 8})
  {
    Oversampler os;
    os.Prepare(factor, 300);
    const std::vector<double> high = LiteralUp(x, factor);
    std::vector<double> curved(high.size());
    std::transform(high.begin(), high.end(), curved.begin(), HighRateCurve);
    const std::vector<double> out = LiteralDown(curved, factor);
    const double peak = TestSignals::Peak(out, 0);

    for (const std::vector<int>& blocks : {std::vector<int>{300}, std::vector<int>{1, 7, 64, 299, 300, 2}})
    {
      std::vector<double> gotHigh, gotOut;
      RunBlocks(os, x, blocks, gotHigh, gotOut);
      EXPECT_LE(MaxDifference(high, gotHigh), 1e-12 * TestSignals::Peak(high, 0)) << factor;
      EXPECT_LE(MaxDifference(out, gotOut), 1e-12 * peak) << factor;
      os.Reset();
    }
    EXPECT_EQ(factor, os.Factor());
    // More frames than prepared are cut to the prepared count (the sanitizer sees any
    // write beyond the buffers).
    std::vector<double> longer(400, 0.5), out400(400, 7.0);
    os.Upsample(longer.data(), 400);
    os.Downsample(400, out400.data());
    EXPECT_EQ(7.0, out400[300]);
  }
}

TEST(Oversampler, MeasuredPassbandAndGroupDelay)
{
  const int n = 4096;
  const size_t settled = 512;
  for (int factor : {4, 8})
  {
    Oversampler os;
    os.Prepare(factor, n);
    // The largest deviations up to 15 kHz and from there to 18 kHz.
    double worst15k = 0.0, worst18k = 0.0;
    for (double hz = 20.0; hz <= 18000.0; hz *= 1.15)
    {
      const std::vector<double> x = TestSignals::Sine(n, 0.5, hz, kRate);
      std::vector<double> out(n);
      os.Reset();
      os.Upsample(x.data(), n);
      os.Downsample(n, out.data());
      const Tone tone = Fit(out, settled, hz, kRate);
      const double deviation = std::fabs(Db(tone.amplitude / 0.5));
      double& worst = hz <= 15000.0 ? worst15k : worst18k;
      worst = std::fmax(worst, deviation);
      if (hz > 500.0 && hz < 2000.0)
      {
        // Linear phase: the output is the input GroupDelay() samples late.
        const double lag = 2 * kPi * hz / kRate * os.GroupDelay();
        EXPECT_NEAR(0.0, std::remainder(tone.phase + lag, 2 * kPi) / (2 * kPi * hz / kRate), 1e-6) << factor;
      }
    }
    EXPECT_LT(worst15k, 0.02) << factor;
    EXPECT_LT(worst18k, 0.02) << factor;
    std::printf("factor %d: pair passband within +-%.4f dB to 15 kHz, +-%.4f dB to 18 kHz at 44.1 kHz; "
                "group delay %.3f samples\n",
                factor, worst15k, std::fmax(worst15k, worst18k), os.GroupDelay());
  }
}

TEST(Oversampler, MeasuredImageAndAliasRejection)
{
  const int n = 2048;
  const size_t settled = 256;
  for (int factor : {4, 8})
  {
    Oversampler os;
    os.Prepare(factor, n);
    // Images: the high-rate signal less its fitted fundamental, for base-rate sines
    // up to 0.41 times the rate.
    double worstImage = -400.0;
    for (double hz = 20.0; hz <= 0.41 * kRate; hz *= 1.2)
    {
      const std::vector<double> x = TestSignals::Sine(n, 0.5, hz, kRate);
      os.Reset();
      const double* up = os.Upsample(x.data(), n);
      std::vector<double> high(up, up + n * factor);
      const Tone tone = Fit(high, settled * factor, hz, kRate * factor);
      double residual = 0.0;
      for (size_t i = settled * factor; i < high.size(); ++i)
      {
        const double wanted = tone.amplitude * std::sin(2 * kPi * hz * i / (kRate * factor) + tone.phase);
        residual = std::fmax(residual, std::fabs(high[i] - wanted));
      }
      worstImage = std::fmax(worstImage, Db(residual / 0.5));
    }
    // Aliases: high-rate sines from the base rate's Nyquist frequency up to the high
    // rate's, written between Upsample and Downsample; whatever comes out is folded.
    double worstAlias = -400.0;
    const int steps = 300;
    for (int s = 0; s <= steps; ++s)
    {
      const double hz = kRate / 2 * (1.0 + (factor - 1.0) * s / steps);
      const std::vector<double> v = TestSignals::Sine(n * factor, 1.0, hz, kRate * factor);
      const std::vector<double> zeros(n, 0.0);
      os.Reset();
      double* high = os.Upsample(zeros.data(), n);
      std::copy(v.begin(), v.end(), high);
      std::vector<double> out(n);
      os.Downsample(n, out.data());
      worstAlias = std::fmax(worstAlias, Db(TestSignals::Peak(out, settled)));
    }
    EXPECT_LT(worstImage, -120.0) << factor;
    EXPECT_LT(worstAlias, -120.0) << factor;
    std::printf("factor %d: images at most %.1f dB, aliases at most %.1f dB\n", factor, worstImage, worstAlias);
  }
}

// The oversampled drive path against its literal: gains gliding as the smoothers make
// them glide, both curves, a drive that saturates, blocks of every size up to the most.
TEST(OversampledDrive, MatchesTheLiteralChainToRounding)
{
  const std::vector<double> left = TestSignals::Noise(3000, 0.8, 21), right = TestSignals::Noise(3000, 0.8, 22);
  for (int factor : {4, 8})
    for (int mode : {0, 1})
    {
      OversampledDrive product;
      product.Configure(factor, kRate);
      LiteralOversampledDrive literal[2] = {{factor, kRate}, {factor, kRate}};
      EXPECT_EQ(literal[0].Latency(), OversampledDrive::LatencyOf(factor));
      double largest = 0.0, peak = 0.0;
      int start = 0;
      for (int block = 1; start < 3000; block = block % 48 + 17)
      {
        const int n = std::min(block, 3000 - start);
        std::vector<double> padIn(n), drive(n), padOut(n), outL(n), outR(n);
        for (int i = 0; i < n; ++i)
        {
          const double t = (start + i) / 3000.0;
          padIn[i] = 0.316 - 0.2 * t;
          padOut[i] = padIn[i] * (1.0 + 1e-3 * t);
          drive[i] = 1.0 + 60.0 * t;
        }
        const OversampledDrive::Gains gains = {{padIn.data(), padIn.data()},
                                               {drive.data(), drive.data()},
                                               {drive.data(), drive.data()},
                                               {padOut.data(), padOut.data()}};
        const double* in[2] = {left.data() + start, right.data() + start};
        double* out[2] = {outL.data(), outR.data()};
        product.Process(mode, gains, in, out, n);
        for (int i = 0; i < n; ++i)
        {
          const double ref[2] = {literal[0].Step(in[0][i], mode, padIn[i], drive[i], drive[i], padOut[i]),
                                 literal[1].Step(in[1][i], mode, padIn[i], drive[i], drive[i], padOut[i])};
          largest = std::fmax(largest, std::fmax(std::fabs(ref[0] - outL[i]), std::fabs(ref[1] - outR[i])));
          peak = std::fmax(peak, std::fmax(std::fabs(ref[0]), std::fabs(ref[1])));
        }
        start += n;
      }
      EXPECT_GT(peak, 0.1) << factor << " " << mode;
      EXPECT_LE(largest, 1e-12 * peak) << factor << " " << mode;
    }
}
