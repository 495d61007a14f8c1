#pragma once

#include <atomic>

#include "GrowBuffer.h"

// One plug-in parameter: its definition (kind, range, step, curve, name,
// unit label, group) and its current value in plain units, with the one set
// of conversions between normalised values (0 ... 1) and plain values and
// the one way a value becomes text. The value is written by the host's audio
// thread and the editor while the UI thread reads it, so it is a relaxed atomic:
// a reader sees some whole value that was written, with no ordering implied.
class IParamRecord
{
public:
  enum Type
  {
    kTypeNone = 0,
    kTypeBool = 1,
    kTypeInt = 2,
    kTypeEnum = 3,
    kTypeDouble = 4
  };

  static constexpr int kTextSize = 32;
  static constexpr int kValueTextSize = 128;
  static constexpr int kMaxPrecision = 6;

  // A text shown instead of the number for one integer value.
  struct DisplayTextEntry
  {
    int value;
    char text[kTextSize];
  };

  IParamRecord() = default;
  IParamRecord(const IParamRecord&) = delete;
  IParamRecord& operator=(const IParamRecord&) = delete;

  // Kind 2 if the kind is unset, then DefineContinuous with step 1, shape 1.
  void DefineInteger(const char* name, int defaultValue, int min, int max, const char* label = "",
                     const char* group = "");
  // Kind 1 if unset, range 0 ... 1, step 1.
  void DefineBool(const char* name, bool defaultValue, const char* label = "", const char* group = "");
  // Kind 3 if unset, range 0 ... count - 1, step 1; edited through the
  // display texts.
  void DefineEnum(const char* name, int defaultValue, int count, const char* label = "", const char* group = "");
  // Kind 4 if unset. Value and default become defaultValue (not clamped);
  // max is raised to min + step when below it; shape 0 keeps the old shape.
  void DefineContinuous(const char* name, double defaultValue, double min, double max, double step,
                        const char* label = "", const char* group = "", double shape = 1.0);
  void SetShape(double shape) { mShape = shape; }

  // The current value as a normalised value.
  double GetNormalized() const { return ToNormalized(GetValue()); }
  // A plain value clamped into the range, then normalised through the curve;
  // NaN gives 0.
  double ToNormalized(double plain) const;
  // The default normalised through the curve, without clamping.
  double GetDefaultNormalized() const;
  // A normalised value limited to 0 ... 1 (NaN read as 0) as a plain value in
  // the range; not snapped to the step.
  double ToPlain(double normalized) const;

  // Sets the value from a normalised value limited to 0 ... 1, rounded to the
  // nearest step unless continuous. NaN leaves the value as it is.
  void SetFromNormalized(double normalized);
  // Sets the value clamped into the range and, unless continuous, stepped
  // toward zero, the step an integer reader takes it for. NaN (a damaged
  // stored state) leaves the value as it is.
  void SetClamped(double value);

  // Adds a text for an integer value; false when the list cannot grow.
  bool AddDisplayText(int value, const char* text);
  int GetNDisplayTexts() const;
  // The text of entry index (its value into *value when given), or null.
  const char* GetDisplayTextAt(int index, int* value = nullptr) const;
  // The text of the first entry for value, or "".
  const char* GetDisplayText(int value) const;
  // The value of the first entry whose text is text, ignoring the case of ASCII
  // letters; false when none is.
  bool FindDisplayText(const char* text, int& value) const;
  // A list: a stepped parameter with a display text for every step of its range.
  bool IsList() const;

  // v as text of at most outSize - 1 characters (outSize up to
  // kValueTextSize is enough): its display text if any, else the number with
  // the display precision (negated when negate display is set).
  void FormatValue(double v, char* out, int outSize) const;
  // The label, or "" when the current value has a display text.
  const char* GetUnitText() const;

  const char* GetName() const { return mName; }
  const char* GetLabel() const { return mLabel; }
  const char* GetGroup() const { return mGroup; }
  double GetValue() const { return mValue.load(std::memory_order_relaxed); }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetStep() const { return mStep; }
  double GetShape() const { return mShape; }
  double GetDefault() const { return mDefault; }
  int GetType() const { return mType; }
  int GetPrecision() const { return mPrecision; }
  bool GetCanAutomate() const { return mCanAutomate; }
  bool GetNegateDisplay() const { return mNegateDisplay; }

  void SetCanAutomate(bool canAutomate) { mCanAutomate = canAutomate; }
  void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }

private:
  const DisplayTextEntry* Entries() const;
  // plain on the step by toStep of the number of steps, within the range;
  // unchanged for continuous values.
  double Stepped(double plain, double (*toStep)(double)) const;
  void StoreValue(double v) { mValue.store(v, std::memory_order_relaxed); }

  int mType = kTypeNone;
  std::atomic<double> mValue{0.0};
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mPrecision = 0;
  char mName[kTextSize] = "";
  char mLabel[kTextSize] = "";
  char mGroup[kTextSize] = "";
  bool mNegateDisplay = false;
  bool mCanAutomate = true;
  GrowBuffer mDisplayTexts{GrowBuffer::kPageGranularity};
};
