#include "ParamParser.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{

std::string FormatNumber(double v)
{
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

}  // namespace

ParamParser::ParamParser(const std::vector<EffectParam>& params)
  : mParams(params)
{
}

std::string ParamParser::NameList() const
{
  std::string list;
  for (const EffectParam& p : mParams) list += (list.empty() ? "" : ", ") + p.name;
  return list;
}

bool ParamParser::Parse(const std::vector<std::string>& assignments, std::vector<std::pair<int, double>>& values,
                        std::string& error) const
{
  values.clear();
  for (const std::string& assignment : assignments)
  {
    const std::string::size_type eq = assignment.find('=');
    const std::string name = assignment.substr(0, eq);
    const std::string text = eq == std::string::npos ? std::string() : assignment.substr(eq + 1);

    int index = -1;
    for (size_t i = 0; i < mParams.size() && index < 0; ++i)
      if (mParams[i].name == name) index = static_cast<int>(i);
    if (index < 0)
    {
      error = "unknown parameter '" + name + "'; valid names: " + NameList();
      return false;
    }
    const EffectParam& param = mParams[static_cast<size_t>(index)];

    errno = 0;
    char* end = nullptr;
    const double v = text.empty() ? 0.0 : std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(v))
    {
      error = "value of " + name + " is not a finite number: '" + text + "'";
      return false;
    }
    const std::string range = FormatNumber(param.min) + " to " + FormatNumber(param.max);
    if (v < param.min || v > param.max)
    {
      error = name + "=" + text + " is out of range; " + name + " takes " + range;
      return false;
    }
    if (param.integer && v != std::floor(v))
    {
      error = name + "=" + text + " is not a whole number; " + name + " takes the whole numbers " + range;
      return false;
    }

    bool replaced = false;
    for (auto& entry : values)
      if (entry.first == index)
      {
        entry.second = v;
        replaced = true;
      }
    if (!replaced) values.emplace_back(index, v);
  }
  return true;
}
