// The state stream through the host: its 96-byte layout (the nine original parameters,
// the bypass flag, "Quality", the editor's size factor, then the int32 index of the
// current preset), the shorter layouts from before the index (92 bytes), the size (84)
// and "Quality" (76), round trip, refused
// streams and the bypass flag kept in step with the controller's 'bpas'.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "PluginHarness.h"
#include "TestSignals.h"
#include "public.sdk/source/common/memorystream.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr ParamID kPrst = 0x70727374;
constexpr ParamID kBpas = 0x62706173;

double DoubleAt(const std::vector<char>& bytes, int index)
{
  double v;
  std::memcpy(&v, bytes.data() + 8 * index, sizeof(v));
  return v;
}

int32 FlagOf(const std::vector<char>& bytes)
{
  int32 v;
  std::memcpy(&v, bytes.data() + 72, sizeof(v));
  return v;
}

std::vector<char> Doubles(std::initializer_list<double> values)
{
  std::vector<char> bytes(values.size() * 8);
  std::memcpy(bytes.data(), values.begin(), bytes.size());
  return bytes;
}

// The nine original values, the flag and, when given, the Quality value and the size.
std::vector<char> StateOf(std::initializer_list<double> nine, int32 flag, const double* quality = nullptr,
                          const double* size = nullptr)
{
  std::vector<char> bytes = Doubles(nine);
  const char* f = reinterpret_cast<const char*>(&flag);
  bytes.insert(bytes.end(), f, f + 4);
  const char* q = reinterpret_cast<const char*>(quality);
  if (quality) bytes.insert(bytes.end(), q, q + 8);
  const char* z = reinterpret_cast<const char*>(size);
  if (size) bytes.insert(bytes.end(), z, z + 8);
  return bytes;
}

double QualityOf(const std::vector<char>& bytes)
{
  double v;
  std::memcpy(&v, bytes.data() + 76, sizeof(v));
  return v;
}

double SizeOf(const std::vector<char>& bytes)
{
  double v;
  std::memcpy(&v, bytes.data() + 84, sizeof(v));
  return v;
}

// A stream over bytes that hands out at most three bytes per read, as IBStream allows.
class TricklingStream : public FObject, public IBStream
{
public:
  explicit TricklingStream(std::vector<char> bytes)
    : mBytes(std::move(bytes))
  {
  }
  tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) override
  {
    const int32 n = std::max(0, std::min({numBytes, 3, static_cast<int32>(mBytes.size()) - mPos}));
    if (n > 0) std::memcpy(buffer, mBytes.data() + mPos, static_cast<size_t>(n));
    mPos += n;
    if (numBytesRead) *numBytesRead = n;
    return kResultOk;
  }
  tresult PLUGIN_API write(void*, int32, int32*) override { return kResultFalse; }
  tresult PLUGIN_API seek(int64, int32, int64*) override { return kResultFalse; }
  tresult PLUGIN_API tell(int64* pos) override
  {
    if (pos) *pos = mPos;
    return kResultOk;
  }
  DEF_INTERFACES_1(IBStream, FObject)
  REFCOUNT_METHODS(FObject)

private:
  std::vector<char> mBytes;
  int32 mPos = 0;
};

// A stream whose write number failAt (from 0) is refused, or reports one byte short.
class FailingWriteStream : public FObject, public IBStream
{
public:
  FailingWriteStream(int failAt, bool shortCount)
    : mFailAt(failAt)
    , mShortCount(shortCount)
  {
  }
  tresult PLUGIN_API read(void*, int32, int32*) override { return kResultFalse; }
  tresult PLUGIN_API write(void*, int32 numBytes, int32* numBytesWritten) override
  {
    const bool fail = mWrites++ == mFailAt;
    int32 n = fail ? (mShortCount ? numBytes - 1 : 0) : numBytes;
    if (numBytesWritten) *numBytesWritten = n;
    return fail && !mShortCount ? kResultFalse : kResultOk;
  }
  tresult PLUGIN_API seek(int64, int32, int64*) override { return kResultFalse; }
  tresult PLUGIN_API tell(int64*) override { return kResultFalse; }
  DEF_INTERFACES_1(IBStream, FObject)
  REFCOUNT_METHODS(FObject)

private:
  int mFailAt;
  bool mShortCount;
  int mWrites = 0;
};

tresult SetTrickling(PluginHarness& harness, const std::vector<char>& bytes)
{
  IPtr<TricklingStream> stream(new TricklingStream(bytes), false);
  return harness.plugin.Controller()->setState(stream);
}

// The plain range of each of the ten parameters, and whether it is stepped.
struct PlainRange
{
  double min, max;
  bool stepped;
};
const PlainRange kRanges[10] = {{0, 20, true}, {0, 2, true}, {0, 3, true}, {-96, 12, false}, {0, 1, true},
                                {0, 1, true},  {0, 1, true}, {0, 1, true}, {0, 1, true},     {0, 2, true}};
const ParamID kAllTags[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, kPrst, kBpas};
const double kOffContract[] = {-std::numeric_limits<double>::infinity(), -1.0, 1.5, 1e308, -1e308,
                               std::numeric_limits<double>::quiet_NaN()};

bool InRange(double v, const PlainRange& r)
{
  return v >= r.min && v <= r.max && (!r.stepped || v == std::floor(v));
}

PlainRange RangeOf(ParamID tag)
{
  return tag < 10 ? kRanges[tag] : PlainRange{0, 1, false};
}

// Every stored value within its parameter's range and on its step, the flag 0 or 1.
void ExpectValidState(PluginHarness& harness)
{
  std::vector<char> state;
  ASSERT_EQ(harness.plugin.GetState(state), kResultOk);
  ASSERT_EQ(state.size(), 96u);
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(InRange(DoubleAt(state, i), kRanges[i])) << i << ": " << DoubleAt(state, i);
  EXPECT_TRUE(FlagOf(state) == 0 || FlagOf(state) == 1);
  EXPECT_TRUE(InRange(QualityOf(state), kRanges[9])) << QualityOf(state);
  EXPECT_TRUE(SizeOf(state) >= 0.25 && SizeOf(state) <= 4.0) << SizeOf(state);
}

// Runs one short block so that queued automation is applied.
void Apply(PluginHarness& harness)
{
  auto signal = TestSignals::Make<float>(2, 16);
  harness.Run(signal, {16});
}

// Prepares harness, sets every parameter away from its default and bypass on, and
// saves its state into saved.
void EditAndSave(PluginHarness& harness, std::vector<char>& saved)
{
  ASSERT_TRUE(harness.Prepare(2));
  const double values[10] = {0.85, 1.0, 0.0, 0.4, 1.0, 0.0, 1.0, 1.0, 0.0, 0.5};
  for (ParamID i = 0; i < 10; ++i) harness.plugin.QueueParameter(i, values[i]);
  harness.plugin.QueueParameter(kBpas, 1.0);
  Apply(harness);
  ASSERT_EQ(harness.plugin.GetState(saved), kResultOk);
}
}  // namespace

TEST(State, IsNineDoublesInParameterOrderThenTheBypassFlagThenQualityThenTheSize)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2));
  harness.plugin.QueueParameter(0, 0.5);
  harness.plugin.QueueParameter(3, 1.0);
  harness.plugin.QueueParameter(7, 1.0);
  harness.plugin.QueueParameter(9, 1.0);
  harness.plugin.QueueParameter(kBpas, 0.7);
  Apply(harness);

  std::vector<char> state;
  ASSERT_EQ(harness.plugin.GetState(state), kResultOk);
  ASSERT_EQ(state.size(), 96u);
  const double expected[9] = {10.0, 1.0, 1.0, 12.0, 0.0, 1.0, 0.0, 1.0, 0.0};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(DoubleAt(state, i), expected[i]) << "parameter " << i;
  EXPECT_EQ(FlagOf(state), 1);
  EXPECT_EQ(QualityOf(state), 2.0);
  EXPECT_EQ(SizeOf(state), 1.0);  // the editor as the host's content scale shows it

  // The component's getState is the same entry.
  MemoryStream stream;
  ASSERT_EQ(harness.plugin.Component()->getState(&stream), kResultOk);
  ASSERT_EQ(stream.getSize(), 96);
  EXPECT_EQ(std::memcmp(stream.getData(), state.data(), 96), 0);
}

TEST(State, RoundTripRestoresEveryParameterAndTheBypassFlag)
{
  PluginHarness source;
  std::vector<char> saved;
  ASSERT_NO_FATAL_FAILURE(EditAndSave(source, saved));

  PluginHarness target;
  ASSERT_TRUE(target.Prepare(2));
  ASSERT_EQ(target.plugin.SetState(saved), kResultOk);
  for (ParamID i = 0; i < 10; ++i) EXPECT_DOUBLE_EQ(target.Normalized(i), source.Normalized(i)) << i;
  EXPECT_DOUBLE_EQ(target.Normalized(9), 0.5);
  EXPECT_DOUBLE_EQ(target.Normalized(kBpas), 1.0);
  std::vector<char> again;
  ASSERT_EQ(target.plugin.GetState(again), kResultOk);
  EXPECT_EQ(again, saved);

  // The restored bypass acts on the audio at once, delaying it by the latency.
  auto input = TestSignals::Make<float>(2, 128);
  const int latency = static_cast<int>(target.plugin.Processor()->getLatencySamples());
  auto delayed = input;
  for (auto& channel : delayed) channel.insert(channel.begin(), static_cast<size_t>(latency), 0.0f);
  for (auto& channel : delayed) channel.resize(128);
  EXPECT_TRUE(TestSignals::BitEqual(target.Run(input, {128}), delayed)) << latency;

  // And a state without it switches the processor's bypass off again.
  saved[72] = 0;
  ASSERT_EQ(target.plugin.SetState(saved), kResultOk);
  EXPECT_DOUBLE_EQ(target.Normalized(kBpas), 0.0);
  EXPECT_FALSE(TestSignals::BitEqual(target.Run(input, {128}), input));
}

TEST(State, StatesFromBeforeQualityOrTheSizeLoadWithQualityStandardAndTheSizeAt1)
{
  PluginHarness harness;
  std::vector<char> saved;
  ASSERT_NO_FATAL_FAILURE(EditAndSave(harness, saved));
  ASSERT_EQ(QualityOf(saved), 1.0);
  const std::vector<char> old(saved.begin(), saved.begin() + 76);
  const std::vector<char> unsized(saved.begin(), saved.begin() + 84);
  std::vector<char> sized = unsized;
  const double size = 2.5;
  sized.insert(sized.end(), reinterpret_cast<const char*>(&size), reinterpret_cast<const char*>(&size) + 8);
  harness.plugin.QueueParameter(kBpas, 0.0);
  Apply(harness);

  for (bool trickling : {false, true})
  {
    auto load = [&](const std::vector<char>& bytes, std::vector<char>& read)
    {
      ASSERT_EQ(trickling ? SetTrickling(harness, bytes) : harness.plugin.SetState(bytes), kResultOk);
      ASSERT_EQ(harness.plugin.GetState(read), kResultOk);
      ASSERT_EQ(read.size(), 96u);
    };
    std::vector<char> read;
    ASSERT_NO_FATAL_FAILURE(load(sized, read));
    EXPECT_EQ(std::vector<char>(read.begin(), read.begin() + 92), sized);
    ASSERT_NO_FATAL_FAILURE(load(unsized, read));
    EXPECT_EQ(std::vector<char>(read.begin(), read.begin() + 84), unsized);
    EXPECT_EQ(SizeOf(read), 1.0);

    harness.plugin.Controller()->setParamNormalized(9, 1.0);
    ASSERT_NO_FATAL_FAILURE(load(sized, read));
    ASSERT_NO_FATAL_FAILURE(load(old, read));
    EXPECT_EQ(std::vector<char>(read.begin(), read.begin() + 76), old);  // the nine and the flag
    EXPECT_EQ(QualityOf(read), 0.0);
    EXPECT_EQ(harness.Normalized(9), 0.0);
    EXPECT_EQ(SizeOf(read), 1.0);
  }
}

TEST(State, StoredValuesAreClampedAndSteppedDown)
{
  PluginHarness harness;
  std::vector<char> state = Doubles({6.6, -5.0, 9.0, 40.0, 0.0, 1.0, 0.0, 0.0, 0.0});
  state.insert(state.end(), 4, '\0');
  ASSERT_EQ(harness.plugin.SetState(state), kResultOk);
  std::vector<char> read;
  harness.plugin.GetState(read);
  EXPECT_EQ(DoubleAt(read, 0), 6.0);  // the step the effect plays for 6.6
  EXPECT_EQ(DoubleAt(read, 1), 0.0);
  EXPECT_EQ(DoubleAt(read, 2), 3.0);
  EXPECT_EQ(DoubleAt(read, 3), 12.0);
}

TEST(State, ShortReadsAreReadUntilTheBytesArrive)
{
  PluginHarness source;
  std::vector<char> saved;
  ASSERT_NO_FATAL_FAILURE(EditAndSave(source, saved));

  PluginHarness target;
  ASSERT_EQ(SetTrickling(target, saved), kResultOk);
  std::vector<char> again;
  ASSERT_EQ(target.plugin.GetState(again), kResultOk);
  EXPECT_EQ(again, saved);
}

TEST(State, OtherLengthsAndQualityOffItsStepsAreRefusedAndChangeNothing)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2));
  harness.plugin.QueueParameter(kBpas, 1.0);
  harness.plugin.QueueParameter(9, 0.5);
  Apply(harness);
  std::vector<char> before;
  ASSERT_EQ(harness.plugin.GetState(before), kResultOk);

  auto expectRefused = [&](const std::vector<char>& bytes)
  {
    EXPECT_EQ(harness.plugin.SetState(bytes), kResultFalse);
    EXPECT_EQ(SetTrickling(harness, bytes), kResultFalse);
    std::vector<char> after;
    ASSERT_EQ(harness.plugin.GetState(after), kResultOk);
    EXPECT_EQ(after, before);  // parameters and bypass flag
  };
  const double ultra = 2.0;
  std::vector<char> full = StateOf({20.0, 2.0, 3.0, -96.0, 1.0, 0.0, 1.0, 1.0, 0.0}, 0, &ultra);
  full.resize(100, 0);
  for (size_t length : {0, 40, 72, 74, 75, 77, 80, 83, 85, 92, 93, 95, 97, 100})
  {
    SCOPED_TRACE(length);
    expectRefused(std::vector<char>(full.begin(), full.begin() + static_cast<long>(length)));
  }
  const double inf = std::numeric_limits<double>::infinity();
  for (double quality : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 1.5, -1.0, 3.0, 1e300})
  {
    SCOPED_TRACE(quality);
    expectRefused(StateOf({20.0, 2.0, 3.0, -96.0, 1.0, 0.0, 1.0, 1.0, 0.0}, 0, &quality));
  }
  // The editor's size: a factor from 0.25 to 4.
  for (double size : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 0.0, 0.2499, 4.0001, -1.0})
  {
    SCOPED_TRACE(size);
    expectRefused(StateOf({20.0, 2.0, 3.0, -96.0, 1.0, 0.0, 1.0, 1.0, 0.0}, 0, &ultra, &size));
  }
}

TEST(State, FailedWritesAreReported)
{
  PluginHarness harness;
  for (int failAt : {0, 1, 2, 3})
    for (bool shortCount : {false, true})
    {
      IPtr<FailingWriteStream> stream(new FailingWriteStream(failAt, shortCount), false);
      EXPECT_EQ(harness.plugin.Controller()->getState(stream), kResultFalse) << failAt << shortCount;
    }
}

TEST(State, OffContractValuesFromEveryHostPathStoreOnlyValidValues)
{
  PluginHarness harness;
  ASSERT_TRUE(harness.Prepare(2));
  IEditController* controller = harness.plugin.Controller();
  for (double v : kOffContract)
  {
    SCOPED_TRACE(v);
    for (ParamID tag : kAllTags) harness.plugin.QueueParameter(tag, v);
    Apply(harness);
    ASSERT_NO_FATAL_FAILURE(ExpectValidState(harness));
    for (ParamID tag : kAllTags) controller->setParamNormalized(tag, v);
    ASSERT_NO_FATAL_FAILURE(ExpectValidState(harness));
    for (const double* quality : {static_cast<const double*>(nullptr), static_cast<const double*>(&v)})
    {
      harness.plugin.SetState(StateOf({v, v, v, v, v, v, v, v, v}, 0, quality));
      ASSERT_NO_FATAL_FAILURE(ExpectValidState(harness));
    }

    for (ParamID tag : kAllTags)
    {
      SCOPED_TRACE(tag);
      const ParamValue n = controller->getParamNormalized(tag);
      EXPECT_TRUE(n >= 0.0 && n <= 1.0) << n;
      const ParamValue fromPlain = controller->plainParamToNormalized(tag, v);
      EXPECT_TRUE(fromPlain >= 0.0 && fromPlain <= 1.0) << fromPlain;
      PlainRange range = RangeOf(tag);
      range.stepped = false;  // conversions do not snap
      const ParamValue plain = controller->normalizedParamToPlain(tag, v);
      EXPECT_TRUE(InRange(plain, range)) << plain;
      String128 text{};
      if (controller->getParamStringByValue(tag, v, text) != kResultOk) continue;
      std::string narrow;
      for (const TChar* t = text; *t; ++t) narrow += static_cast<char>(*t);
      EXPECT_TRUE(InRange(std::strtod(narrow.c_str(), nullptr), range)) << narrow;
    }
  }
}
