#include <gtest/gtest.h>

#include <vector>

#include "IIRFilter.h"
#include "ShaperStage.h"
#include "TestSignals.h"
#include "ToneNetwork.h"

using TestSignals::Bits;

namespace
{
// Noise, then long silence (the filters settle and take their shortcuts), then noise.
std::vector<double> NoiseSilenceNoise(int n, unsigned seed)
{
  std::vector<double> v = TestSignals::Noise(n, 0.4, seed);
  v.insert(v.end(), 4 * n, 0.0);
  const std::vector<double> tail = TestSignals::Noise(n, 0.4, seed + 1);
  v.insert(v.end(), tail.begin(), tail.end());
  return v;
}
} // namespace

// The block routine steps left and right filters side by side; the paired steps must
// give exactly the results and states of single steps, chunk after chunk.
TEST(PairedSteps, FiltersMatchSingleSteps)
{
  const std::vector<double> inL = NoiseSilenceNoise(3000, 1);
  std::vector<double> inR = NoiseSilenceNoise(3000, 2);
  inR.insert(inR.begin(), 7, 0.0);
  inR.resize(inL.size());
  for (bool zeroSteps : {false, true})
  {
    ShaperStage pairL, pairR, singleL, singleR;
    for (ShaperStage* s : {&pairL, &pairR, &singleL, &singleR})
      s->DesignShaperBandPass(96000.0);
    std::vector<double> outL(64);
    std::vector<double> outR(64);
    int mismatches = 0;
    for (size_t start = 0; start + 64 <= inL.size(); start += 64)
    {
      ShaperStage::StepPair(pairL, pairR, &inL[start], &inR[start], outL.data(), outR.data(), 64, zeroSteps);
      for (int i = 0; i < 64; ++i)
      {
        mismatches += Bits(outL[i]) != Bits(singleL.Step(inL[start + i]));
        mismatches += Bits(outR[i]) != Bits(singleR.Step(inR[start + i]));
        if (zeroSteps)
        {
          singleL.Step(0.0);
          singleR.Step(0.0);
        }
      }
      for (int k = 0; k < 4; ++k)
      {
        mismatches += Bits(pairL.YHistory(k)) != Bits(singleL.YHistory(k));
        mismatches += Bits(pairR.XHistory(k)) != Bits(singleR.XHistory(k));
      }
    }
    EXPECT_EQ(0, mismatches) << "zero steps " << zeroSteps;
  }
}

TEST(PairedSteps, ToneNetworksMatchSingleCalls)
{
  const std::vector<double> xL = NoiseSilenceNoise(20000, 3);
  const std::vector<double> xR = NoiseSilenceNoise(20000, 4);
  const size_t n = xL.size();
  std::vector<double> bassL(n), bassR(n), trebleL(n), trebleR(n);
  for (size_t i = 0; i < n; ++i)
  {
    bassL[i] = i < n / 3 ? 0.188 : 0.035;
    bassR[i] = i < n / 2 ? 0.088 : 0.088 / 0.9;
    trebleL[i] = 0.145;
    trebleR[i] = i % 50000 < 25000 ? 0.22 : 0.043;
  }
  ToneNetwork pairL, pairR, singleL, singleR;
  for (ToneNetwork* t : {&pairL, &pairR, &singleL, &singleR})
    t->SetRate(48000.0);
  std::vector<double> yL(100);
  std::vector<double> yR(100);
  int mismatches = 0;
  for (size_t start = 0; start + 100 <= n; start += 100)
  {
    ToneNetwork::ProcessPair(pairL, pairR, &xL[start], &xR[start], &bassL[start], &bassR[start], &trebleL[start],
                             &trebleR[start], yL.data(), yR.data(), 100);
    for (size_t i = 0; i < 100; ++i)
    {
      mismatches += Bits(yL[i]) != Bits(singleL.Process(xL[start + i], bassL[start + i], trebleL[start + i]));
      mismatches += Bits(yR[i]) != Bits(singleR.Process(xR[start + i], bassR[start + i], trebleR[start + i]));
    }
    mismatches += Bits(pairL.P()) != Bits(singleL.P());
    mismatches += Bits(pairR.Q()) != Bits(singleR.Q());
  }
  EXPECT_EQ(0, mismatches);
}
