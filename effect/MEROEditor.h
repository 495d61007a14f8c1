#pragma once

class IGraphics;
class IPlugBase;

// MERO's front panel: the background picture, four knobs (Level, Low, High, Output),
// five two-state switches (Mode, Gain, Pad, Phase, Bypas) and the three-position
// Quality switch, each bound to its parameter of MERO and placed on the 255 x 658 panel.
class MEROEditor
{
public:
  // Loads the eleven images through graphics (by resource ID and file name, each with
  // its 2x image for scales above 1) and adds the
  // controls for plug: the background at index 0, then the knobs and the switches in
  // the order above, at indexes 1 ... 10. A click steps a switch to its next position,
  // from the last back to the first.
  static void Build(IPlugBase* plug, IGraphics* graphics);

  static constexpr int kWidth = 255;
  static constexpr int kHeight = 658;
  static constexpr int kFrameRate = 25;
};
