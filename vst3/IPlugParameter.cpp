#include "vst3/IPlugParameter.h"

#include <cmath>
#include <cstdlib>

#include "vst3/WideText.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

IPlugParameter::IPlugParameter(const IParamRecord* record, ParamID tag, UnitID unit) : mRecord(record)
{
  info.id = tag;
  WidenText(record->GetName(), info.title, 128);
  WidenText("", info.shortTitle, 128);
  WidenText(record->GetUnitText(), info.units, 128);
  info.stepCount = record->GetType() == IParamRecord::kTypeDouble
                       ? 0
                       : static_cast<int32>(record->GetMax() - record->GetMin());
  info.defaultNormalizedValue = record->GetDefaultNormalized();
  info.unitId = unit;
  info.flags = record->GetCanAutomate() ? ParameterInfo::kCanAutomate : 0;
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
  double v = std::strtod(text, nullptr);
  if (std::isnan(v)) v = 0.0;
  normalized = mRecord->ToNormalized(v);
  return true;
}

ParamValue IPlugParameter::toPlain(ParamValue normalized) const
{
  return mRecord->ToPlain(normalized);
}
