#pragma once

class IGraphics;
class IPlugBase;

// MERO's front panel: the background picture, four knobs (Level, Low, High, Output)
// and five two-state switches (Mode, Gain, Pad, Phase, Bypas), each bound to its
// parameter of MERO and placed on the 255 x 658 panel.
class MEROEditor
{
public:
  // Loads the ten images through graphics (by resource ID and file name) and adds the
  // controls for plug: the background at index 0, then the knobs and the switches in
  // the order above, at indexes 1 ... 9.
  static void Build(IPlugBase* plug, IGraphics* graphics);

  static constexpr int kWidth = 255;
  static constexpr int kHeight = 658;
  static constexpr int kFrameRate = 25;
};
