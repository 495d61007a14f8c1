#pragma once

// The output gain that lets the effect change its processing path while playing
// without a click: a linear ramp down to silence, where the caller changes the path
// and restarts it from rest; silence while the new path fills; a ramp back up. A
// request withdrawn on the way down turns the ramp back up where it is.
class SwitchFade
{
public:
  // Ramp length in frames (at least 1); the gain stays where it is.
  void SetRampFrames(int frames);

  // Fully up, no fill pending.
  void Reset();

  // Whether the gain is 1 and stays 1 for a caller that does not want to switch.
  bool Transparent(bool switchWanted) const { return !switchWanted && mPosition == mRamp && mFill == 0; }
  // Whether the output is silent and the path may change now.
  bool ReadyToSwitch() const { return mPosition == 0 && mFill == 0; }
  // The path has changed: silence for fillFrames more frames, then the ramp up.
  void Switched(int fillFrames) { mFill = fillFrames > 0 ? fillFrames : 0; }

  // Multiplies n frames of each of the channels of out by the gain, which ramps down
  // while switchWanted and otherwise (after any fill) up.
  void Apply(bool switchWanted, double* const* out, int channels, int n);

private:
  double NextGain(bool switchWanted);

  int mRamp = 1;
  int mPosition = 1;
  int mFill = 0;
};
