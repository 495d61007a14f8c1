#pragma once

#include "EffectEngine.h"

#include <string>
#include <utility>
#include <vector>

// Turns "NAME=VALUE" assignments into (parameter index, plain value) pairs,
// refusing unknown names (the message lists the valid ones), values that are not
// numbers, values outside the parameter's range (the message gives the range)
// and fractions for integer parameters. A list parameter also takes the name of a
// position, in any case (the message for an unknown one lists them). A later
// assignment of the same name wins.
class ParamParser
{
public:
  explicit ParamParser(const std::vector<EffectParam>& params);

  bool Parse(const std::vector<std::string>& assignments, std::vector<std::pair<int, double>>& values,
             std::string& error) const;

private:
  std::string NameList() const;
  // The plain value of a list position named text (ASCII case ignored); false when
  // no position has that name.
  static bool FindPosition(const EffectParam& param, const std::string& text, double& value);

  const std::vector<EffectParam>& mParams;
};
