#include "IKnobControl.h"

IKnobControl::IKnobControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, int direction, double gearing)
  : IControl(plug, rect, paramIdx, IBlend{IBlend::kNormal, 1.0f})
  , mDirection(direction)
  , mGearing(gearing)
{
}
