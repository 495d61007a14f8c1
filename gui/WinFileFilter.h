#pragma once

#include <string>

// The one filter of a file dialog made from a space-separated extension list such as
// "png jpg": the patterns "*.png;*.jpg" serve both as the description and as the
// pattern, and the first extension is the default one. Any length fits.
class WinFileFilter
{
public:
  explicit WinFileFilter(const char* extensions);

  // Description, NUL, pattern, NUL, NUL; null when the list has no extension.
  const char* Filter() const { return mPatterns.empty() ? nullptr : mFilter.c_str(); }
  const std::string& Patterns() const { return mPatterns; }
  // The first extension, or null when there is none.
  const char* DefaultExtension() const { return mDefault.empty() ? nullptr : mDefault.c_str(); }

private:
  std::string mPatterns;
  std::string mFilter;
  std::string mDefault;
};
