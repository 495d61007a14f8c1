#include "IParamRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "CopyText.h"

static_assert(sizeof(IParamRecord::DisplayTextEntry) == 36, "a display-text entry is 36 bytes");
static_assert(std::atomic<double>::is_always_lock_free, "the audio thread sets values without a lock");

namespace
{
// Truncation toward zero to a 32-bit integer, saturating; NaN gives 0.
int TruncToInt(double v)
{
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}

int PrecisionOfStep(double step)
{
  int precision = 0;
  double s = step;
  while (s != std::floor(s))
  {
    if (++precision >= IParamRecord::kMaxPrecision) break;
    s *= 10.0;
  }
  return precision;
}
}  // namespace

void IParamRecord::DefineInteger(const char* name, int defaultValue, int min, int max, const char* label,
                                 const char* group)
{
  if (mType == kTypeNone) mType = kTypeInt;
  DefineContinuous(name, defaultValue, min, max, 1.0, label, group, 1.0);
}

void IParamRecord::DefineBool(const char* name, bool defaultValue, const char* label, const char* group)
{
  if (mType == kTypeNone) mType = kTypeBool;
  DefineContinuous(name, defaultValue ? 1.0 : 0.0, 0.0, 1.0, 1.0, label, group, 1.0);
}

void IParamRecord::DefineEnum(const char* name, int defaultValue, int count, const char* label, const char* group)
{
  if (mType == kTypeNone) mType = kTypeEnum;
  DefineContinuous(name, defaultValue, 0.0, count - 1.0, 1.0, label, group, 1.0);
}

void IParamRecord::DefineContinuous(const char* name, double defaultValue, double min, double max, double step,
                                    const char* label, const char* group, double shape)
{
  if (mType == kTypeNone) mType = kTypeDouble;
  CopyText(mName, name);
  CopyText(mLabel, label);
  CopyText(mGroup, group);
  StoreValue(defaultValue);
  mDefault = defaultValue;
  mMin = min;
  mStep = step;
  mMax = std::max(max, min + step);
  mPrecision = PrecisionOfStep(step);
  if (shape != 0.0) mShape = shape;
}

double IParamRecord::ToNormalized(double plain) const
{
  const double range = mMax - mMin;
  if (!(range > 0.0) || std::isnan(plain)) return 0.0;
  return std::pow((std::clamp(plain, mMin, mMax) - mMin) / range, 1.0 / mShape);
}

double IParamRecord::GetDefaultNormalized() const
{
  const double range = mMax - mMin;
  if (!(range > 0.0)) return 0.0;
  return std::pow((mDefault - mMin) / range, 1.0 / mShape);
}

double IParamRecord::ToPlain(double normalized) const
{
  // Written so that NaN reads as 0.
  const double n = normalized > 0.0 ? std::min(normalized, 1.0) : 0.0;
  return std::clamp(std::pow(n, mShape) * (mMax - mMin) + mMin, mMin, mMax);
}

double IParamRecord::Stepped(double plain, double (*toStep)(double)) const
{
  if (mType == kTypeDouble || !(mStep > 0.0)) return plain;
  return std::clamp(toStep(plain / mStep) * mStep, mMin, mMax);
}

void IParamRecord::SetFromNormalized(double normalized)
{
  if (std::isnan(normalized)) return;
  StoreValue(Stepped(ToPlain(normalized), [](double steps) { return std::floor(steps + 0.5); }));
}

void IParamRecord::SetClamped(double value)
{
  if (std::isnan(value)) return;
  const double clamped = std::clamp(value, mMin, mMax);
  StoreValue(Stepped(clamped, [](double steps) { return std::trunc(steps); }));
}

const IParamRecord::DisplayTextEntry* IParamRecord::Entries() const
{
  return static_cast<const DisplayTextEntry*>(mDisplayTexts.Get());
}

bool IParamRecord::AddDisplayText(int value, const char* text)
{
  const int count = GetNDisplayTexts();
  const int size = (count + 1) * static_cast<int>(sizeof(DisplayTextEntry));
  mDisplayTexts.Resize(size, false);
  if (mDisplayTexts.GetSize() != size) return false;
  DisplayTextEntry& entry = static_cast<DisplayTextEntry*>(mDisplayTexts.Get())[count];
  entry.value = value;
  CopyText(entry.text, text);
  return true;
}

int IParamRecord::GetNDisplayTexts() const
{
  return mDisplayTexts.GetSize() / static_cast<int>(sizeof(DisplayTextEntry));
}

const char* IParamRecord::GetDisplayTextAt(int index, int* value) const
{
  if (index < 0 || index >= GetNDisplayTexts()) return nullptr;
  const DisplayTextEntry& entry = Entries()[index];
  if (value) *value = entry.value;
  return entry.text;
}

const char* IParamRecord::GetDisplayText(int value) const
{
  const int count = GetNDisplayTexts();
  for (int i = 0; i < count; ++i)
    if (Entries()[i].value == value) return Entries()[i].text;
  return "";
}

bool IParamRecord::FindDisplayText(const char* text, int& value) const
{
  if (!text) return false;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (int i = 0; i < GetNDisplayTexts(); ++i)
  {
    const char* entry = Entries()[i].text;
    size_t k = 0;
    while (entry[k] && lower(entry[k]) == lower(text[k])) ++k;
    if (entry[k] || text[k]) continue;
    value = Entries()[i].value;
    return true;
  }
  return false;
}

bool IParamRecord::IsList() const
{
  constexpr double kMostSteps = 4096.0;
  if (mType == kTypeDouble || GetNDisplayTexts() == 0 || !(mStep > 0.0)) return false;
  const double steps = (mMax - mMin) / mStep;
  if (!(steps < kMostSteps)) return false;
  for (int i = 0; i <= static_cast<int>(steps); ++i)
    if (!GetDisplayText(TruncToInt(mMin + i * mStep))[0]) return false;
  return true;
}

void IParamRecord::FormatValue(double v, char* out, int outSize) const
{
  if (!out || outSize <= 0) return;
  const char* text = GetDisplayText(TruncToInt(v));
  if (text[0])
  {
    CopyText(out, static_cast<size_t>(outSize), text);
    return;
  }
  if (mNegateDisplay) v = -v;
  if (mPrecision > 0)
    std::snprintf(out, static_cast<size_t>(outSize), "%.*f", mPrecision, v);
  else
    std::snprintf(out, static_cast<size_t>(outSize), "%d", TruncToInt(v));
}

const char* IParamRecord::GetUnitText() const
{
  return GetDisplayText(TruncToInt(GetValue()))[0] ? "" : mLabel;
}
