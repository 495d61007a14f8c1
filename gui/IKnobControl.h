#pragma once

#include "IControl.h"

// A control turned by dragging: its direction and its gearing (a full sweep of the
// value takes gearing times the rectangle's height, or width, in pixels of drag).
class IKnobControl : public IControl
{
public:
  enum Direction
  {
    kVertical = 0,
    kHorizontal = 1  // any value but 0
  };

  IKnobControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, int direction = kVertical, double gearing = 4.0);

  int GetDirection() const { return mDirection; }
  double GetGearing() const { return mGearing; }

protected:
  int mDirection;
  double mGearing;
};
