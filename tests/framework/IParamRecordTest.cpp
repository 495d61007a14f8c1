#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "IParamRecord.h"

namespace
{
std::string Format(const IParamRecord& p, double v)
{
  char text[IParamRecord::kValueTextSize];
  p.FormatValue(v, text, sizeof(text));
  return text;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
}  // namespace

TEST(IParamRecordDefine, IntegerSetsKindRangeAndDefault)
{
  IParamRecord p;
  p.DefineInteger("Level", 6, 0, 20, "dB", "Drive");
  EXPECT_EQ(p.GetType(), IParamRecord::kTypeInt);
  EXPECT_EQ(p.GetValue(), 6.0);
  EXPECT_EQ(p.GetDefault(), 6.0);
  EXPECT_EQ(p.GetMax(), 20.0);
  EXPECT_EQ(p.GetPrecision(), 0);
  EXPECT_STREQ(p.GetName(), "Level");
  EXPECT_STREQ(p.GetLabel(), "dB");
  EXPECT_STREQ(p.GetGroup(), "Drive");
}

TEST(IParamRecordDefine, ContinuousRaisesMaxAndKeepsShapeForZero)
{
  IParamRecord p;
  p.DefineContinuous("X", 0.0, 0.0, 0.0, 1.0, "", "", 0.0);
  EXPECT_EQ(p.GetMax(), 1.0);
  EXPECT_EQ(p.GetShape(), 1.0);
  p.SetShape(0.17);
  p.DefineContinuous("X", 0.0, 0.0, 5.0, 1.0, "", "", 0.0);
  EXPECT_EQ(p.GetShape(), 0.17);
}

TEST(IParamRecordDefine, KindOnceSetIsKept)
{
  IParamRecord p;
  p.DefineContinuous("C", 0.0, 0.0, 20.0, 1.0);
  p.DefineInteger("C", 0, 0, 20);
  EXPECT_EQ(p.GetType(), IParamRecord::kTypeDouble);
  p.SetFromNormalized(0.33);
  EXPECT_DOUBLE_EQ(p.GetValue(), 6.6);
}

TEST(IParamRecordDefine, PrecisionFollowsStepUpToSix)
{
  const struct
  {
    double step;
    int precision;
  } cases[] = {{1.0, 0}, {0.5, 1}, {0.01, 2}, {0.25, 2}, {1e-6, 6}, {1e-7, 6}, {1e-12, 6}, {2.0, 0}};
  for (const auto& c : cases)
  {
    IParamRecord p;
    p.DefineContinuous("P", 0.0, 0.0, 1.0, c.step);
    EXPECT_EQ(p.GetPrecision(), c.precision) << "step " << c.step;
  }
}

TEST(IParamRecordDefine, BoolAndEnumKinds)
{
  IParamRecord b;
  b.DefineBool("On", true);
  EXPECT_EQ(b.GetType(), IParamRecord::kTypeBool);
  EXPECT_EQ(b.GetValue(), 1.0);
  EXPECT_EQ(b.GetMax(), 1.0);
  IParamRecord e;
  e.DefineEnum("Curve", 2, 4);
  EXPECT_EQ(e.GetType(), IParamRecord::kTypeEnum);
  EXPECT_EQ(e.GetMax(), 3.0);
  e.SetFromNormalized(0.5);
  EXPECT_EQ(e.GetValue(), 2.0);
}

TEST(IParamRecordDefine, LongTextsAreTruncated)
{
  IParamRecord p;
  const std::string longName(100, 'n');
  p.DefineInteger(longName.c_str(), 0, 0, 1, longName.c_str(), longName.c_str());
  EXPECT_EQ(std::string(p.GetName()), std::string(31, 'n'));
  EXPECT_EQ(std::string(p.GetLabel()), std::string(31, 'n'));
  EXPECT_EQ(std::string(p.GetGroup()), std::string(31, 'n'));
  p.DefineInteger(nullptr, 0, 0, 1, nullptr, nullptr);
  EXPECT_STREQ(p.GetName(), "");
}

TEST(IParamRecordConvert, IntegerNormalisesAndSnaps)
{
  IParamRecord p;
  p.DefineInteger("Level", 6, 0, 20);
  EXPECT_DOUBLE_EQ(p.GetNormalized(), 0.3);
  p.SetFromNormalized(0.33);
  EXPECT_EQ(p.GetValue(), 7.0);
  p.SetFromNormalized(0.32);
  EXPECT_EQ(p.GetValue(), 6.0);
}

TEST(IParamRecordConvert, LimitedToTheRange)
{
  IParamRecord p;
  p.DefineInteger("Level", 6, 0, 20);
  p.SetFromNormalized(1.0);
  EXPECT_EQ(p.GetValue(), 20.0);
  p.SetFromNormalized(1.7);
  EXPECT_EQ(p.GetValue(), 20.0);
  p.SetFromNormalized(-0.1);
  EXPECT_EQ(p.GetValue(), 0.0);
  EXPECT_EQ(p.GetNormalized(), 0.0);
}

TEST(IParamRecordConvert, ContinuousIsNotSnapped)
{
  IParamRecord p;
  p.DefineContinuous("Output", 0.0, -96.0, 12.0, 0.01, "%", "", 1.0);
  p.SetFromNormalized(0.123456);
  EXPECT_DOUBLE_EQ(p.GetValue(), 0.123456 * 108.0 - 96.0);
  EXPECT_EQ(p.GetPrecision(), 2);
}

TEST(IParamRecordConvert, ShapeCurvesBothWays)
{
  IParamRecord p;
  p.DefineContinuous("Output", 0.0, -96.0, 12.0, 0.01, "%", "", 1.0);
  p.SetShape(0.17);
  EXPECT_NEAR(p.ToPlain(0.5), -0.005, 0.001);
  EXPECT_DOUBLE_EQ(p.ToPlain(0.5), std::pow(0.5, 0.17) * 108.0 - 96.0);
  p.SetFromNormalized(0.8);
  EXPECT_NEAR(p.GetNormalized(), 0.8, 1e-12);
  EXPECT_DOUBLE_EQ(p.GetNormalized(), std::pow((p.GetValue() + 96.0) / 108.0, 1.0 / 0.17));
  EXPECT_NEAR(p.GetDefaultNormalized(), std::pow(96.0 / 108.0, 1.0 / 0.17), 1e-15);
}

TEST(IParamRecordConvert, NormalisedValueStaysInsideZeroToOne)
{
  IParamRecord p;
  p.DefineInteger("P", 0, 0, 20);
  p.SetClamped(-50.0);
  EXPECT_EQ(p.GetNormalized(), 0.0);
  EXPECT_EQ(p.ToNormalized(25.0), 1.0);
  EXPECT_EQ(p.ToNormalized(-3.0), 0.0);
  EXPECT_DOUBLE_EQ(p.ToNormalized(5.0), 0.25);
}

TEST(IParamRecordConvert, SetClampedStepsDown)
{
  IParamRecord p;
  p.DefineInteger("P", 6, 0, 20);
  p.SetClamped(6.6);
  EXPECT_EQ(p.GetValue(), 6.0);
  p.SetClamped(25.0);
  EXPECT_EQ(p.GetValue(), 20.0);
  p.SetClamped(-1.0);
  EXPECT_EQ(p.GetValue(), 0.0);
  p.SetClamped(std::numeric_limits<double>::infinity());
  EXPECT_EQ(p.GetValue(), 20.0);
}

TEST(IParamRecordConvert, SetClampedOfNaNKeepsTheValue)
{
  IParamRecord p;
  p.DefineContinuous("Output", 0.0, -96.0, 12.0, 0.01);
  p.SetClamped(5.0);
  p.SetClamped(kNaN);
  EXPECT_EQ(p.GetValue(), 5.0);
  IParamRecord q;
  q.DefineInteger("Level", 6, 0, 20);
  q.SetClamped(-kNaN);
  EXPECT_EQ(q.GetValue(), 6.0);
}

TEST(IParamRecordConvert, SetFromNormalizedOfNaNKeepsValueAndBelowZeroGivesMin)
{
  IParamRecord p;
  p.DefineContinuous("Output", 0.0, -96.0, 12.0, 0.01);
  p.SetShape(0.17);
  p.SetClamped(-3.0);
  p.SetFromNormalized(kNaN);
  EXPECT_EQ(p.GetValue(), -3.0);
  p.SetFromNormalized(-0.1);
  EXPECT_EQ(p.GetValue(), -96.0);
}

TEST(IParamRecordConvert, EmptyRangeNormalisesToZero)
{
  IParamRecord p;
  p.DefineContinuous("Z", 1.0, 1.0, 1.0, 0.0);
  EXPECT_EQ(p.GetNormalized(), 0.0);
  EXPECT_EQ(p.GetDefaultNormalized(), 0.0);
  p.SetFromNormalized(0.5);
  EXPECT_EQ(p.GetValue(), 1.0);
}

TEST(IParamRecordText, NumbersUsePrecisionOrTruncatedInteger)
{
  IParamRecord out;
  out.DefineContinuous("Output", 0.0, -96.0, 12.0, 0.01, "%", "", 1.0);
  EXPECT_EQ(Format(out, -96.0), "-96.00");
  EXPECT_EQ(Format(out, 1.005), "1.00");
  IParamRecord lvl;
  lvl.DefineInteger("Level", 6, 0, 20);
  EXPECT_EQ(Format(lvl, 6.7), "6");
  EXPECT_EQ(Format(lvl, -3.7), "-3");
  EXPECT_EQ(Format(lvl, kNaN), "0");
  EXPECT_EQ(Format(lvl, 1e300), "2147483647");
}

TEST(IParamRecordText, NegateDisplayFlipsNumbersOnly)
{
  IParamRecord p;
  p.DefineInteger("P", 0, -5, 5);
  p.SetNegateDisplay(true);
  p.AddDisplayText(2, "two");
  EXPECT_EQ(Format(p, 3.0), "-3");
  EXPECT_EQ(Format(p, 2.9), "two");
}

TEST(IParamRecordText, DisplayTextsNameValuesEverywhere)
{
  IParamRecord p;
  p.DefineEnum("Shape", 0, 3, "st");
  EXPECT_STREQ(p.GetUnitText(), "st");
  ASSERT_TRUE(p.AddDisplayText(0, "Soft"));
  ASSERT_TRUE(p.AddDisplayText(1, "Hard"));
  ASSERT_TRUE(p.AddDisplayText(1, "Shadowed"));
  EXPECT_EQ(p.GetNDisplayTexts(), 3);
  EXPECT_STREQ(p.GetDisplayText(1), "Hard");
  EXPECT_STREQ(p.GetDisplayText(2), "");
  int value = -1;
  EXPECT_STREQ(p.GetDisplayTextAt(2, &value), "Shadowed");
  EXPECT_EQ(value, 1);
  EXPECT_EQ(p.GetDisplayTextAt(3), nullptr);
  EXPECT_EQ(Format(p, 1.0), "Hard");
  EXPECT_EQ(Format(p, 2.0), "2");
  EXPECT_STREQ(p.GetUnitText(), "");
  p.SetClamped(2.0);
  EXPECT_STREQ(p.GetUnitText(), "st");
}

TEST(IParamRecordText, LongValueTextIsCutToBuffer)
{
  IParamRecord p;
  p.DefineContinuous("Big", 0.0, 0.0, 1e300, 1e-6);
  char text[IParamRecord::kValueTextSize];
  p.FormatValue(1e300, text, sizeof(text));
  EXPECT_EQ(std::strlen(text), 127u);
  char tiny[4];
  p.FormatValue(123.456, tiny, sizeof(tiny));
  EXPECT_STREQ(tiny, "123");
}
