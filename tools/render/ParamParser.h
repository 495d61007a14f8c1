#pragma once

#include "EffectEngine.h"

#include <string>
#include <utility>
#include <vector>

// Turns "NAME=VALUE" assignments into (parameter index, plain value) pairs,
// refusing unknown names (the message lists the valid ones), values that are not
// numbers, values outside the parameter's range (the message gives the range)
// and fractions for integer parameters. A later assignment of the same name wins.
class ParamParser
{
public:
  explicit ParamParser(const std::vector<EffectParam>& params);

  bool Parse(const std::vector<std::string>& assignments, std::vector<std::pair<int, double>>& values,
             std::string& error) const;

private:
  std::string NameList() const;

  const std::vector<EffectParam>& mParams;
};
