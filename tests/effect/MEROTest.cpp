#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "EffectHarness.h"
#include "MERO.h"
#include "MEROPresets.h"
#include "ReferenceModel.h"
#include "TestSignals.h"

using TestSignals::Bits;
using Stereo = EffectHarness::Stereo;

namespace
{
// Opens MERO's model settings and smoothers to the tests.
class MEROProbe : public MERO
{
public:
  double Level() const { return mLevel; }
  double LowPosition() const { return mLowPosition; }
  double HighPosition() const { return mHighPosition; }
  double OutputGain() const { return mOutputGain; }
  double ModeTrim() const { return mModeTrim; }
  const ParamSmoother& DriveIn() const { return mDriveInSmoother; }
  const ParamSmoother& DriveOut() const { return mDriveOutSmoother; }
  const ParamSmoother& Pad() const { return mPadSmoother; }
  const ParamSmoother& High() const { return mHighSmoother; }
  const ParamSmoother& Low() const { return mLowSmoother; }
};

Stereo Both(const std::vector<double>& v)
{
  return {v, v};
}

Stereo NoisePair(int n, double amplitude)
{
  return {TestSignals::Noise(n, amplitude, 1), TestSignals::Noise(n, amplitude, 2)};
}
}  // namespace

TEST(MEROParameters, DefinitionsAndDefaultPreset)
{
  MERO plug;
  struct Expected
  {
    const char* name;
    double def, min, max, step, shape;
    const char* label;
    int type;
  };
  const Expected expected[MERO::kNumParams] = {
      {"Level", 6, 0, 20, 1, 1.0, "", 2}, {"Low", 1, 0, 2, 1, 1.0, "", 2},
      {"High", 1, 0, 3, 1, 1.0, "", 2},   {"Output", 0.0, -96.0, 12.0, 0.01, 0.17, "dB", 4},
      {"Mode", 0, 0, 1, 1, 1.0, "", 2},   {"Gain", 1, 0, 1, 1, 1.0, "", 2},
      {"Pad", 0, 0, 1, 1, 1.0, "", 2},    {"Phase", 0, 0, 1, 1, 1.0, "", 2},
      {"Bypas", 0, 0, 1, 1, 1.0, "", 2},  {"Quality", 0, 0, 2, 1, 1.0, "", 2}};
  ASSERT_EQ(MERO::kNumParams, plug.NParams());
  for (int i = 0; i < MERO::kNumParams; ++i)
  {
    const IParamRecord* p = plug.GetParamRecord(i);
    SCOPED_TRACE(expected[i].name);
    EXPECT_STREQ(expected[i].name, p->GetName());
    EXPECT_EQ(expected[i].def, p->GetDefault());
    EXPECT_EQ(expected[i].def, p->GetValue());
    EXPECT_EQ(expected[i].min, p->GetMin());
    EXPECT_EQ(expected[i].max, p->GetMax());
    EXPECT_EQ(expected[i].step, p->GetStep());
    EXPECT_EQ(expected[i].shape, p->GetShape());
    EXPECT_STREQ(expected[i].label, p->GetLabel());
    EXPECT_STREQ("", p->GetGroup());
    EXPECT_EQ(expected[i].type, p->GetType());
  }
  const IParamRecord* quality = plug.GetParamRecord(MERO::kQuality);
  EXPECT_STREQ("Standard", quality->GetDisplayText(0));
  EXPECT_STREQ("High", quality->GetDisplayText(1));
  EXPECT_STREQ("Ultra", quality->GetDisplayText(2));
  EXPECT_EQ(1 + MEROPresets::Count(), plug.NPresets());
  EXPECT_STREQ("Default", plug.GetPresetName(0));
  EXPECT_TRUE(plug.LegalIO(1, 1));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_FALSE(plug.LegalIO(1, 2));
  EXPECT_STREQ("MERO", plug.GetEffectName());
  EXPECT_STREQ("Parvolen", plug.GetMakerName());
  EXPECT_EQ(0x4D657231, plug.GetUniqueID());
  EXPECT_EQ(0x5072766C, plug.GetMfrID());
  EXPECT_EQ((MERO_PROJECT_VERSION_MAJOR << 16) | (MERO_PROJECT_VERSION_MINOR << 8) | MERO_PROJECT_VERSION_PATCH,
            plug.GetVendorVersion());

  // Preset 0 brings changed values back to the defaults.
  EffectHarness::Set(plug, MERO::kLevel, 17);
  EffectHarness::Set(plug, MERO::kOutput, -40.0);
  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(6.0, plug.GetParamRecord(MERO::kLevel)->GetValue());
  EXPECT_EQ(0.0, plug.GetParamRecord(MERO::kOutput)->GetValue());
}

TEST(MEROParameters, ChangeHandlerSetsTheModel)
{
  MEROProbe plug;
  plug.LoadPreset(0);
  EXPECT_EQ(6.0, plug.Level());
  EXPECT_EQ(0.088, plug.LowPosition());
  EXPECT_EQ(0.088, plug.HighPosition());
  EXPECT_EQ(1.0, plug.OutputGain());

  EffectHarness::Set(plug, MERO::kOutput, -96.0);
  EXPECT_NEAR(1.5849e-5, plug.OutputGain(), 1e-9);
  EffectHarness::Set(plug, MERO::kOutput, 12.0);
  EXPECT_NEAR(3.98107, plug.OutputGain(), 1e-5);
  EXPECT_EQ(std::pow(10.0, 12.0 / 20.0), plug.OutputGain());

  const double lows[] = {0.035, 0.088, 0.188};
  for (int k = 0; k < 3; ++k)
  {
    EffectHarness::Set(plug, MERO::kLow, k);
    EXPECT_EQ(lows[k], plug.LowPosition());
  }
  const double highs[] = {0.043, 0.088, 0.145, 0.22};
  for (int k = 0; k < 4; ++k)
  {
    EffectHarness::Set(plug, MERO::kHigh, k);
    EXPECT_EQ(highs[k], plug.HighPosition());
  }
  // Stored values are truncated toward zero.
  EffectHarness::Set(plug, MERO::kLevel, 13.9);
  EXPECT_EQ(13.0, plug.Level());

  // A normalised value below 0 is raised to the minimum.
  plug.GetParamRecord(MERO::kHigh)->SetFromNormalized(-0.5);
  plug.HandleParamChange(MERO::kHigh);
  EXPECT_EQ(highs[0], plug.HighPosition());
  plug.HandleParamChange(-1);
  plug.HandleParamChange(MERO::kNumParams);
}

TEST(MEROSound, SmallSineAtDefaultsGainsAboutOnePointSixDb)
{
  MERO plug;
  EffectHarness::Initialise(plug, 44100.0);
  const double amplitude = 1e-4;
  const Stereo out = EffectHarness::Render(plug, Both(TestSignals::Sine(44100, amplitude, 1000.0, 44100.0)), 512);
  const double gainDb = 20.0 * std::log10(TestSignals::Peak(out.left, 33075) / amplitude);

  // Output network, tone network at the settled middle positions, -1 dB trim.
  const double expected = ReferenceModel::MagnitudeDb(ReferenceModel::OutputNetwork(44100.0), 1000.0, 44100.0) +
                          ReferenceModel::MagnitudeDb(ReferenceModel::Tone(0.912, 0.088, 44100.0), 1000.0, 44100.0) -
                          1.0;
  EXPECT_NEAR(1.6, gainDb, 0.05);
  EXPECT_NEAR(expected, gainDb, 0.005);
  EXPECT_NEAR(gainDb, 20.0 * std::log10(TestSignals::Peak(out.right, 33075) / amplitude), 1e-6);
}

TEST(MEROSound, PhaseNegatesExactly)
{
  MERO normal;
  MERO inverted;
  EffectHarness::Initialise(normal, 48000.0);
  EffectHarness::Initialise(inverted, 48000.0);
  EffectHarness::Set(inverted, MERO::kPhase, 1);
  for (MERO* plug : {&normal, &inverted}) EffectHarness::Set(*plug, MERO::kLevel, 20);
  const Stereo in = NoisePair(30000, 0.8);
  const Stereo a = EffectHarness::Render(normal, in, 256);
  const Stereo b = EffectHarness::Render(inverted, in, 256);
  int mismatches = 0;
  for (size_t i = 0; i < a.left.size(); ++i)
  {
    mismatches += Bits(a.left[i]) != Bits(-b.left[i]);
    mismatches += Bits(a.right[i]) != Bits(-b.right[i]);
  }
  EXPECT_EQ(0, mismatches);
  EXPECT_GT(TestSignals::Peak(a.left, 0), 0.1);
}

TEST(MEROSound, BypasPassesInputBitForBit)
{
  MERO plug;
  EffectHarness::Initialise(plug, 44100.0);
  EffectHarness::Set(plug, MERO::kBypas, 1);
  Stereo in = NoisePair(5000, 1.5);
  in.left[10] = std::numeric_limits<double>::quiet_NaN();
  in.right[11] = -std::numeric_limits<double>::infinity();
  in.right[12] = -0.0;
  in.left[13] = 4.9e-324;
  const Stereo out = EffectHarness::Render(plug, in, 128);
  for (size_t i = 0; i < in.left.size(); ++i)
  {
    ASSERT_EQ(Bits(in.left[i]), Bits(out.left[i])) << i;
    ASSERT_EQ(Bits(in.right[i]), Bits(out.right[i])) << i;
  }
}

TEST(MEROSound, DriveAndPadTargets)
{
  struct Case
  {
    int level, gain, pad;
    double drive, padGain;
  };
  const Case cases[] = {{20, 0, 0, 100.0, std::pow(10.0, -0.5)},
                        {20, 1, 1, std::pow(10.0, 24.0 / 20.0), std::pow(10.0, -1.5)},
                        {6, 1, 0, std::pow(10.0, 7.2 / 20.0), std::pow(10.0, -0.5)}};
  for (const Case& c : cases)
  {
    MEROProbe plug;
    EffectHarness::Initialise(plug, 48000.0);
    EffectHarness::Set(plug, MERO::kLevel, c.level);
    EffectHarness::Set(plug, MERO::kGain, c.gain);
    EffectHarness::Set(plug, MERO::kPad, c.pad);
    EffectHarness::Render(plug, Both(std::vector<double>(48000, 0.0)), 480);
    EXPECT_NEAR(c.drive, plug.DriveIn().Value(), c.drive * 1e-12);
    EXPECT_EQ(Bits(plug.DriveIn().Value()), Bits(plug.DriveOut().Value()));
    EXPECT_NEAR(c.padGain, plug.Pad().Value(), 1e-12);
  }
}

TEST(MEROSound, ModeOneScalesTonePositionsAndTrims)
{
  MEROProbe plug;
  EffectHarness::Initialise(plug, 48000.0);
  EffectHarness::Set(plug, MERO::kMode, 1);
  EffectHarness::Set(plug, MERO::kHigh, 3);
  EffectHarness::Set(plug, MERO::kLow, 2);
  EffectHarness::Render(plug, Both(std::vector<double>(48000, 0.0)), 1000);
  EXPECT_NEAR(0.2444, plug.High().Value(), 5e-5);
  EXPECT_NEAR(0.188 / 0.9, plug.Low().Value(), 1e-12);
  EXPECT_NEAR(-1.1, 20.0 * std::log10(plug.ModeTrim()), 1e-12);
  // The smoothing coefficient is set for 10 Hz per step.
  EXPECT_EQ(std::exp(-2.0 * 3.141592653589793 * 10.0 / 48000.0), plug.High().B1());
}

TEST(MEROBuffers, InPlaceAndMonoProcessing)
{
  const Stereo in = NoisePair(9000, 0.5);
  MERO separate;
  MERO inPlace;
  EffectHarness::Initialise(separate, 44100.0);
  EffectHarness::Initialise(inPlace, 44100.0);
  const Stereo expected = EffectHarness::Render(separate, in, 300);

  Stereo buffers = in;
  for (int start = 0; start < 9000; start += 300)
  {
    double* io[2] = {buffers.left.data() + start, buffers.right.data() + start};
    inPlace.ProcessAudio(io, io, 300);
  }
  for (size_t i = 0; i < in.left.size(); ++i)
  {
    ASSERT_EQ(Bits(expected.left[i]), Bits(buffers.left[i])) << i;
    ASSERT_EQ(Bits(expected.right[i]), Bits(buffers.right[i])) << i;
  }

  // One in, one out: the second slot holds zeros and the right chain stays silent.
  MERO mono;
  EffectHarness::Initialise(mono, 44100.0);
  const Stereo monoOut = EffectHarness::Render(mono, {in.left, std::vector<double>(9000, 0.0)}, 300);
  EXPECT_EQ(0.0, TestSignals::Peak(monoOut.right, 0));
  EXPECT_GT(TestSignals::Peak(monoOut.left, 0), 0.01);
}

TEST(MEROBuffers, EmptyBlockOnlyUpdatesSmoothing)
{
  MEROProbe plug;
  EffectHarness::Initialise(plug, 96000.0);
  double in = 0.5;
  double out = 12345.0;
  double* inputs[2] = {&in, &in};
  double* outputs[2] = {&out, &out};
  plug.ProcessAudio(inputs, outputs, 0);
  plug.ProcessAudio(inputs, outputs, -4);
  EXPECT_EQ(12345.0, out);
  EXPECT_EQ(0.0, plug.DriveIn().Value());
  EXPECT_EQ(std::exp((10.0 / 96000.0) * -6.283185307179586), plug.DriveIn().B1());
}

// A non-finite input sample is processed as 0.0: the output is what a zero there
// gives, and later samples are unaffected.
TEST(MERONonFinite, ProcessedAsZero)
{
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity()};
  for (double value : bad)
  {
    for (int mode : {0, 1})
    {
      Stereo in = NoisePair(20000, 0.3);
      Stereo zeroed = in;
      for (int i : {100, 5000, 5001, 13000})
      {
        in.left[i] = value;
        in.right[i + 7] = value;
        zeroed.left[i] = 0.0;
        zeroed.right[i + 7] = 0.0;
      }
      MERO plug;
      MERO reference;
      for (MERO* p : {&plug, &reference})
      {
        EffectHarness::Initialise(*p, 44100.0);
        EffectHarness::Set(*p, MERO::kMode, mode);
      }
      const Stereo out = EffectHarness::Render(plug, in, 512);
      const Stereo expected = EffectHarness::Render(reference, zeroed, 512);
      int mismatches = 0;
      for (size_t i = 0; i < out.left.size(); ++i)
      {
        mismatches += Bits(expected.left[i]) != Bits(out.left[i]);
        mismatches += Bits(expected.right[i]) != Bits(out.right[i]);
      }
      EXPECT_EQ(0, mismatches) << "value " << value << " mode " << mode;
      EXPECT_TRUE(std::isfinite(out.left.back()));
      EXPECT_GT(std::fabs(out.left.back()) + std::fabs(out.left[19990]), 0.0);
    }
  }
}

namespace
{
int CountDifferences(const Stereo& a, const Stereo& b)
{
  int differences = 0;
  for (size_t i = 0; i < a.left.size(); ++i)
  {
    differences += Bits(a.left[i]) != Bits(b.left[i]);
    differences += Bits(a.right[i]) != Bits(b.right[i]);
  }
  return differences;
}

bool AllFinite(const Stereo& s)
{
  for (size_t i = 0; i < s.left.size(); ++i)
    if (!std::isfinite(s.left[i]) || !std::isfinite(s.right[i])) return false;
  return true;
}

void SetDriven(MERO& plug)
{
  EffectHarness::Set(plug, MERO::kLevel, 14);
  EffectHarness::Set(plug, MERO::kHigh, 3);
  EffectHarness::Set(plug, MERO::kOutput, -3.0);
}
}  // namespace

// Huge finite samples (the 64-bit path passes them on unchanged) overflow the shaper's
// band-pass; the channel must start again from rest instead of producing NaN for ever.
TEST(MERONonFinite, HugeInputsLeaveTheOutputFiniteAndTheChainRecovers)
{
  const double huge[] = {1e308, -1e308, std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()};
  for (double value : huge)
  {
    for (int mode : {0, 1})
    {
      for (int level : {6, 20})
      {
        Stereo in = Both(TestSignals::Sine(48000, 0.4, 1000.0, 48000.0));
        Stereo clean = in;
        for (int i : {1000, 1001, 7000})
        {
          in.left[i] = value;
          in.right[i + 3] = value;
          clean.left[i] = 0.0;
          clean.right[i + 3] = 0.0;
        }
        MERO plug;
        MERO reference;
        for (MERO* p : {&plug, &reference})
        {
          EffectHarness::Initialise(*p, 48000.0);
          EffectHarness::Set(*p, MERO::kMode, mode);
          EffectHarness::Set(*p, MERO::kLevel, level);
          EffectHarness::Set(*p, MERO::kGain, 0);
        }
        const Stereo out = EffectHarness::Render(plug, in, 512);
        const Stereo expected = EffectHarness::Render(reference, clean, 512);
        SCOPED_TRACE(testing::Message() << "value " << value << " mode " << mode << " level " << level);
        ASSERT_TRUE(AllFinite(out));
        // Half a second after the last huge sample the level is back to normal.
        const double peak = TestSignals::Peak(out.left, 31000);
        EXPECT_NEAR(TestSignals::Peak(expected.left, 31000), peak, 1e-3 * peak);
        EXPECT_NEAR(TestSignals::Peak(expected.right, 31000), TestSignals::Peak(out.right, 31000), 1e-3 * peak);
        EXPECT_GT(peak, 0.01);
      }
    }
  }
}

// A sample-rate change or an activation leaves the signal state of the previous run
// behind: afterwards the effect sounds exactly as a fresh instance does.
TEST(MERORest, RateChangeAndActivationStartLikeAFreshInstance)
{
  struct Case
  {
    const char* name;
    std::vector<double> earlierRates;
    bool activate;
  };
  const Case cases[] = {{"96 kHz, then reactivated at 44.1 kHz", {96000.0}, true},
                        {"96 kHz, rate changed between blocks", {96000.0}, false},
                        {"1 Hz and 1 GHz, then 44.1 kHz", {1.0, 1e9}, true},
                        {"reactivated at the same rate", {44100.0}, true}};
  const Stereo sine = Both(TestSignals::Sine(44100, 0.4, 1000.0, 44100.0));
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    MERO plug;
    EffectHarness::Initialise(plug, c.earlierRates[0]);
    SetDriven(plug);
    for (double rate : c.earlierRates)
    {
      plug.SetSampleRate(rate);
      EffectHarness::Render(plug, NoisePair(20000, 0.9), 512);
    }
    if (c.activate)
    {
      // As the binding does: setActive (false), setupProcessing, setActive (true).
      plug.HandleActivate(false);
      plug.SetSampleRate(44100.0);
      plug.HandleReset();
      plug.HandleActivate(true);
    }
    else
    {
      plug.SetSampleRate(44100.0);
    }
    MERO fresh;
    EffectHarness::Initialise(fresh, 44100.0);
    SetDriven(fresh);
    const Stereo out = EffectHarness::Render(plug, sine, 256);
    const Stereo expected = EffectHarness::Render(fresh, sine, 256);
    EXPECT_EQ(0, CountDifferences(expected, out));
    EXPECT_GT(TestSignals::Peak(expected.left, 0), 0.1);
  }
}

namespace
{
struct QualityProbe : MERO
{
  using MERO::RunningQuality;
};

double LargestStep(const std::vector<double>& v, double before)
{
  double largest = 0.0;
  for (double x : v)
  {
    largest = std::fmax(largest, std::fabs(x - before));
    before = x;
  }
  return largest;
}
}  // namespace

// "Quality" switched while a driven sine plays, processed and through Bypas: the output
// fades out, the new path starts from rest and fills, and fades back in. No sample steps
// further than the steady sine's own steps allow, and each switch is complete (full
// level, the new path running) well within 0.1 s.
TEST(MEROQuality, SwitchingWhilePlayingFadesWithoutAClick)
{
  const double rate = 44100.0;
  const std::vector<double> sine = TestSignals::Sine(44100, 0.5, 1000.0, rate);
  auto slice = [&sine](int from, int n)
  {
    const std::vector<double> part(sine.begin() + from, sine.begin() + from + n);
    return EffectHarness::Stereo{part, part};
  };
  for (int bypas : {0, 1})
  {
    SCOPED_TRACE(bypas ? "Bypas" : "processed");
    QualityProbe plug;
    EffectHarness::Initialise(plug, rate);
    EffectHarness::Set(plug, MERO::kLevel, 12);
    EffectHarness::Set(plug, MERO::kBypas, bypas);
    const EffectHarness::Stereo steady = EffectHarness::Render(plug, slice(0, 22050), 64);
    const std::vector<double> settled(steady.left.begin() + 11025, steady.left.end());
    const double steadyStep = LargestStep(settled, settled[0]);
    const double steadyPeak = TestSignals::Peak(settled, 0);
    double last = steady.left.back();
    int from = 22050;
    for (int quality : {MERO::kHigh4x, MERO::kUltra8x, MERO::kStandard})
    {
      EffectHarness::Set(plug, MERO::kQuality, quality);
      const EffectHarness::Stereo switched = EffectHarness::Render(plug, slice(from, 4410), 100);
      from += 4410;
      EXPECT_EQ(quality, plug.RunningQuality());
      EXPECT_LE(LargestStep(switched.left, last), 1.1 * steadyStep) << quality;
      EXPECT_GE(TestSignals::Peak(switched.left, 4410 - 441), 0.95 * steadyPeak) << quality;
      last = switched.left.back();
    }
  }
}
