#pragma once

class IPlugBase;

// MERO's factory presets, after the defaults ("Default", preset 0): settings from gentle
// warmth to heavy drive, each with the Output level that gives it the loudness of the
// unprocessed signal (measured on mero-render's demo signal), so that stepping through
// them compares sounds rather than levels. Phase and Bypas stay at their defaults.
class MEROPresets
{
public:
  struct Preset
  {
    const char* name;
    int level;
    int low;
    int high;
    int mode;
    int gain;
    int pad;
    int quality;
    double output;  // dB
  };

  // The factory presets, without "Default".
  static int Count();
  // Preset index of the table (0 ... Count() - 1); null outside it.
  static const Preset* Get(int index);
  // Adds the table, in order, to the plug-in's free preset slots; the parameters not
  // in the table take their defaults. False when a slot was missing.
  static bool AddTo(IPlugBase& plug);
};
