#include "vst3/IPlugParameter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "vst3/WideText.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}

// For a number too large or too small for a double: whether it is too large, that is
// whether its first significant digit stands left of the point once the exponent is
// applied.
bool IsTooLarge(const char* start, const char* end)
{
  long long order = 0;
  bool point = false;
  bool significant = false;
  const char* p = start;
  for (; p < end && *p != 'e' && *p != 'E'; ++p)
  {
    if (*p == '.')
    {
      point = true;
      continue;
    }
    significant = significant || *p != '0';
    if (significant && !point)
      ++order;  // an integer digit from the first significant one on
    else if (!significant && point)
      --order;  // a zero between the point and the first significant digit
  }
  long long exponent = 0;
  bool negative = false;
  if (p < end) ++p;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  for (; p < end; ++p) exponent = std::min(exponent * 10 + (*p - '0'), 1000000LL);
  return order + (negative ? -exponent : exponent) > 0;
}

// Reads the leading plain decimal number of text: white space, an optional sign, digits
// with an optional point and digits (at least one digit in all), an optional exponent.
// The same in every locale; false when the text does not start with such a number.
bool ReadDecimal(const char* text, double& value)
{
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  const char* start = p;
  int digits = 0;
  for (; IsDigit(*p); ++p) ++digits;
  if (*p == '.')
    for (++p; IsDigit(*p); ++p) ++digits;
  if (digits == 0) return false;
  if (*p == 'e' || *p == 'E')
  {
    const char* q = p + 1;
    if (*q == '+' || *q == '-') ++q;
    if (IsDigit(*q))
      for (p = q; IsDigit(*p); ++p)
      {
      }
  }

  double magnitude = 0.0;
  const std::from_chars_result read = std::from_chars(start, p, magnitude, std::chars_format::general);
  if (read.ec == std::errc::result_out_of_range)
    magnitude = IsTooLarge(start, p) ? HUGE_VAL : 0.0;
  else if (read.ec != std::errc() || read.ptr != p)
    return false;
  value = negative ? -magnitude : magnitude;
  return true;
}
}  // namespace

IPlugParameter::IPlugParameter(const IParamRecord* record, ParamID tag, UnitID unit)
  : mRecord(record)
{
  info.id = tag;
  WidenText(record->GetName(), info.title, 128);
  WidenText("", info.shortTitle, 128);
  WidenText(record->GetUnitText(), info.units, 128);
  info.stepCount =
      record->GetType() == IParamRecord::kTypeDouble ? 0 : static_cast<int32>(record->GetMax() - record->GetMin());
  info.defaultNormalizedValue = record->GetDefaultNormalized();
  info.unitId = unit;
  info.flags = record->GetCanAutomate() ? ParameterInfo::kCanAutomate : 0;
  if (record->IsList()) info.flags |= ParameterInfo::kIsList;
  precision = record->GetPrecision();
  valueNormalized = info.defaultNormalizedValue;
}

void IPlugParameter::toString(ParamValue normalized, String128 string) const
{
  if (!string) return;
  char text[IParamRecord::kValueTextSize];
  mRecord->FormatValue(mRecord->ToPlain(normalized), text, sizeof(text));
  WidenText(text, string, 128);
}

bool IPlugParameter::fromString(const TChar* string, ParamValue& normalized) const
{
  char text[128];
  NarrowText(string, text, sizeof(text));
  int named = 0;
  double v = 0.0;
  if (mRecord->FindDisplayText(text, named))
    v = named;
  else if (!ReadDecimal(text, v) && mRecord->IsList())
    return false;
  normalized = mRecord->ToNormalized(v);
  return true;
}

ParamValue IPlugParameter::toPlain(ParamValue normalized) const
{
  return mRecord->ToPlain(normalized);
}

bool IPlugParameter::ReadNumber(const TChar* string, double& value)
{
  char text[128];
  NarrowText(string, text, sizeof(text));
  return ReadDecimal(text, value);
}
