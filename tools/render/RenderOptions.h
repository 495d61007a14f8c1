#pragma once

#include <string>
#include <vector>

// The command line of mero-render, checked for form only: which files and
// plug-in module, which parameter assignments (still as "NAME=VALUE" text;
// names and ranges are checked against the plug-in), which preset, block size,
// demo sample rate, output format and the loudness to print.
class RenderOptions
{
public:
  enum class Format
  {
    kFloat,
    kPcm16,
    kPcm24
  };
  enum class Outcome
  {
    kRun,
    kHelp,
    kError
  };

  static constexpr int kDefaultBlock = 512;
  static constexpr int kMaxBlock = 65536;
  static constexpr int kDefaultRate = 48000;
  static constexpr int kMinRate = 8000;
  static constexpr int kMaxRate = 768000;

  // Parses argv[1 .. argc-1]. Options take their value as the next argument or
  // after '=' ("--block 64" or "--block=64").
  Outcome Parse(int argc, const char* const* argv);

  // Why Parse answered kError, one line without the usage text.
  const std::string& Error() const { return mError; }

  static std::string Usage();

  std::string inPath;  // empty: render the demo signal
  std::string outPath;
  std::string pluginPath;             // empty: the module of this build
  std::vector<std::string> settings;  // "NAME=VALUE", in command-line order
  std::string preset;                 // a preset's name or number; empty: the defaults
  bool loudnessOut = false;           // print the output's integrated loudness
  bool loudnessIn = false;            // print the input's integrated loudness
  bool listPresets = false;           // print the plug-in's presets and stop
  int block = kDefaultBlock;
  int rate = kDefaultRate;
  Format format = Format::kFloat;

private:
  bool Fail(const std::string& message);

  std::string mError;
};
