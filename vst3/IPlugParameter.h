#pragma once

// The host-visible face of one IParamRecord: an SDK parameter whose information is
// taken from the record once (a record that is a list is flagged kIsList), and whose
// text and plain conversions are the record's.

#include "IParamRecord.h"
#include "public.sdk/source/vst/vstparameters.h"

class IPlugParameter : public Steinberg::Vst::Parameter
{
public:
  IPlugParameter(const IParamRecord* record, Steinberg::Vst::ParamID tag, Steinberg::Vst::UnitID unit);

  // FormatValue of the plain value of normalized (not snapped, not clamped), widened.
  void toString(Steinberg::Vst::ParamValue normalized, Steinberg::Vst::String128 string) const SMTG_OVERRIDE;
  // A display text of the record (ASCII case ignored) gives its value; otherwise the
  // leading plain decimal number of the text (0.0 without one: no hexadecimal, no
  // infinities or NaN, the same in every locale), clamped into the range and
  // normalised. False only for a list and a text that is neither.
  bool fromString(const Steinberg::Vst::TChar* string, Steinberg::Vst::ParamValue& normalized) const SMTG_OVERRIDE;
  Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const SMTG_OVERRIDE;

  // The leading plain decimal number of a host's text, read as fromString reads it;
  // false when the text does not start with one.
  static bool ReadNumber(const Steinberg::Vst::TChar* string, double& value);

  OBJ_METHODS(IPlugParameter, Parameter)

private:
  const IParamRecord* mRecord;
};
