#include "RenderOptions.h"

#include <cerrno>
#include <cstdlib>

namespace
{

// Reads a whole decimal integer within [lo, hi]; false for anything else.
bool ParseInt(const std::string& text, int lo, int hi, int& out)
{
  if (text.empty() || text[0] == ' ' || text[0] == '+') return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

bool RenderOptions::Fail(const std::string& message)
{
  mError = message;
  return false;
}

RenderOptions::Outcome RenderOptions::Parse(int argc, const char* const* argv)
{
  bool rateGiven = false;
  for (int i = 1; i < argc; ++i)
  {
    std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") return Outcome::kHelp;

    std::string name = arg, value;
    bool hasValue = false;
    const std::string::size_type eq = arg.find('=');
    if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos)
    {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      hasValue = true;
    }
    const bool known = name == "--in" || name == "--out" || name == "--set" || name == "--block" || name == "--rate" ||
                       name == "--format" || name == "--plugin";
    if (!known)
    {
      Fail("unknown option '" + arg + "'");
      return Outcome::kError;
    }
    if (!hasValue)
    {
      if (i + 1 >= argc)
      {
        Fail("option " + name + " needs a value");
        return Outcome::kError;
      }
      value = argv[++i];
    }

    bool ok = true;
    if (name == "--in")
    {
      ok = !value.empty() || Fail("--in needs a file name");
      inPath = value;
    }
    else if (name == "--out")
    {
      ok = !value.empty() || Fail("--out needs a file name");
      outPath = value;
    }
    else if (name == "--plugin")
    {
      ok = !value.empty() || Fail("--plugin needs a file or folder name");
      pluginPath = value;
    }
    else if (name == "--set")
    {
      ok = value.find('=') != std::string::npos || Fail("--set expects NAME=VALUE, got '" + value + "'");
      settings.push_back(value);
    }
    else if (name == "--block")
    {
      ok = ParseInt(value, 1, kMaxBlock, block) ||
           Fail("--block must be a whole number from 1 to " + std::to_string(kMaxBlock) + ", got '" + value + "'");
    }
    else if (name == "--rate")
    {
      ok = ParseInt(value, kMinRate, kMaxRate, rate) ||
           Fail("--rate must be a whole number of Hz from " + std::to_string(kMinRate) + " to " +
                std::to_string(kMaxRate) + ", got '" + value + "'");
      rateGiven = true;
    }
    else
    {
      if (value == "float")
        format = Format::kFloat;
      else if (value == "pcm16")
        format = Format::kPcm16;
      else if (value == "pcm24")
        format = Format::kPcm24;
      else
        ok = Fail("--format must be float, pcm16 or pcm24, got '" + value + "'");
    }
    if (!ok) return Outcome::kError;
  }

  if (outPath.empty())
  {
    Fail("missing --out");
    return Outcome::kError;
  }
  if (rateGiven && !inPath.empty())
  {
    Fail("--rate sets the demo signal's rate; with --in the rate comes from the file");
    return Outcome::kError;
  }
  return Outcome::kRun;
}

std::string RenderOptions::Usage()
{
  return "usage: mero-render [--in IN.wav] --out OUT.wav [--set NAME=VALUE]... [--block N]\n"
         "                   [--rate HZ] [--format float|pcm16|pcm24] [--plugin MERO.vst3]\n"
         "\n"
         "Runs a WAV file (16- or 24-bit PCM or 32-bit float, mono or stereo) through the\n"
         "MERO VST 3 plug-in and writes the result with the input's rate and channel count.\n"
         "\n"
         "  --in IN.wav        input file; without it a built-in demo signal is rendered\n"
         "  --out OUT.wav      output file (written under a temporary name, then renamed)\n"
         "  --set NAME=VALUE   parameter in plain units, e.g. --set Level=12 --set Output=-3.5;\n"
         "                     names: Level Low High Output Mode Gain Pad Phase Bypas Quality;\n"
         "                     a list takes a position's name in any case or its number,\n"
         "                     e.g. --set Quality=High (Standard, High, Ultra or 0 to 2)\n"
         "  --block N          frames per processing block, 1 to 65536 (default 512)\n"
         "  --rate HZ          sample rate of the demo signal (default 48000)\n"
         "  --format F         output samples: float (default), pcm16 or pcm24\n"
         "  --plugin PATH      the VST 3 module (file or .vst3 bundle folder); default: the\n"
         "                     MERO.vst3 of the build this program belongs to\n"
         "\n"
         "Exit status: 0 done, 1 input or output failed, 2 bad command line.\n";
}
