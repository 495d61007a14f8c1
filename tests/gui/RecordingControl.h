#pragma once

#include <string>
#include <vector>

#include "IControl.h"

// A control that records the events and drawing requests it receives; its key
// answer is chosen by the test.
class RecordingControl : public IControl
{
public:
  RecordingControl(IPlugBase* plug, const IRectangle& rect, int paramIdx = -1, const IBlend& blend = IBlend())
    : IControl(plug, rect, paramIdx, blend)
  {
  }

  bool Draw(IGraphics*) override
  {
    ++draws;
    return true;
  }
  void OnMouseDown(int x, int y, const IMouseModifiers& mod) override
  {
    events.push_back(std::string("down") + (mod.R ? " R" : ""));
    IControl::OnMouseDown(x, y, mod);
  }
  void OnMouseUp(int, int, const IMouseModifiers&) override { events.push_back("up"); }
  void OnMouseDrag(int, int, int dX, int dY, const IMouseModifiers&) override
  {
    events.push_back("drag " + std::to_string(dX) + " " + std::to_string(dY));
  }
  bool OnKeyDown(int, int, int key) override
  {
    events.push_back("key " + std::to_string(key));
    return takesKeys;
  }

  int draws = 0;
  bool takesKeys = true;
  std::vector<std::string> events;
};
