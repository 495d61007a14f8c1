#pragma once

#include <string>
#include <utility>
#include <vector>

#include "TestPlug.h"

// A plug-in for editor tests: TestPlug's recorders (begin, send, end, change) plus
// the editor's own calls, SetParamFromEditor and ShowHostParamMenu, in the same
// call log. With defineContinuous every parameter starts as a continuous 0..1
// parameter with step 0.01; otherwise the parameters are left undefined.
class TestEditorPlug : public TestPlug
{
public:
  explicit TestEditorPlug(int nParams = kProductParams, bool defineContinuous = true)
    : TestPlug(nParams)
  {
    if (!defineContinuous) return;
    for (int i = 0; i < nParams; ++i) GetParamRecord(i)->DefineContinuous("P", 0.0, 0.0, 1.0, 0.01);
  }

  void SetParamFromEditor(int index, double normalized) override
  {
    calls.push_back("set " + std::to_string(index));
    edits.emplace_back(index, normalized);
    TestPlug::SetParamFromEditor(index, normalized);
  }
  void ShowHostParamMenu(int index, int x, int y) override
  {
    calls.push_back("host menu " + std::to_string(index) + " " + std::to_string(x) + " " + std::to_string(y));
  }

  // The calls without the HandleParamChange entries.
  std::vector<std::string> EditorCalls() const
  {
    std::vector<std::string> out;
    for (const std::string& c : calls)
      if (c.rfind("change ", 0) != 0) out.push_back(c);
    return out;
  }

  // (parameter, normalised value) of every SetParamFromEditor, in order.
  std::vector<std::pair<int, double>> edits;
};
