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

std::string Lower(std::string text)
{
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string Join(const std::vector<std::string>& names)
{
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return list;
}

}  // namespace

ParamParser::ParamParser(const std::vector<EffectParam>& params)
  : mParams(params)
{
}

std::string ParamParser::NameList() const
{
  std::vector<std::string> names;
  for (const EffectParam& p : mParams) names.push_back(p.name);
  return Join(names);
}

bool ParamParser::FindPosition(const EffectParam& param, const std::string& text, double& value)
{
  for (size_t i = 0; i < param.positionNames.size(); ++i)
    if (!text.empty() && Lower(param.positionNames[i]) == Lower(text))
    {
      value = param.min + static_cast<double>(i);
      return true;
    }
  return false;
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
    double v = text.empty() ? 0.0 : std::strtod(text.c_str(), &end);
    const bool number = !text.empty() && *end == '\0' && errno != ERANGE && std::isfinite(v);
    if (!number && !FindPosition(param, text, v))
    {
      if (param.positionNames.empty())
        error = "value of " + name + " is not a finite number: '" + text + "'";
      else
        error = "unknown value '" + text + "' for " + name + "; " + name + " takes " + Join(param.positionNames) +
                " or a position " + FormatNumber(param.min) + " to " + FormatNumber(param.max);
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
