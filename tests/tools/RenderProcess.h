#pragma once

#include <string>
#include <vector>

// Runs one mero-render command line (the binary named at build time) and
// collects its exit status and everything it printed.
class RenderProcess
{
public:
  // `workDir` receives the captured output files.
  explicit RenderProcess(std::string workDir);

  // Returns the exit status (-1 when the program could not be run or crashed).
  int Run(const std::vector<std::string>& args);

  const std::string& Output() const { return mOutput; }  // stdout followed by stderr
  const std::string& Errors() const { return mErrors; }  // stderr only

  // A path of the build tree as this platform's programs take it: under wine
  // a Unix path becomes a path on drive Z:.
  static std::string HostPath(std::string path);

private:
  std::string mWorkDir;
  std::string mOutput;
  std::string mErrors;
};
