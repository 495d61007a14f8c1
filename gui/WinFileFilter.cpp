#include "WinFileFilter.h"

WinFileFilter::WinFileFilter(const char* extensions)
{
  const std::string list = extensions ? extensions : "";
  size_t pos = 0;
  while (pos < list.size())
  {
    const size_t start = list.find_first_not_of(' ', pos);
    if (start == std::string::npos) break;
    size_t end = list.find(' ', start);
    if (end == std::string::npos) end = list.size();
    const std::string extension = list.substr(start, end - start);
    if (mDefault.empty()) mDefault = extension;
    if (!mPatterns.empty()) mPatterns += ';';
    mPatterns += "*." + extension;
    pos = end;
  }
  mFilter = mPatterns;
  mFilter += '\0';
  mFilter += mPatterns;
  mFilter += '\0';
  mFilter += '\0';
}
