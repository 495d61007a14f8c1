#include "RenderProcess.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace
{

std::string Quote(const std::string& arg)
{
#ifdef _WIN32
  return "\"" + arg + "\"";
#else
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
#endif
}

std::string Slurp(const std::string& path)
{
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

std::string RenderProcess::HostPath(std::string path)
{
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
  return path;
}

RenderProcess::RenderProcess(std::string workDir)
  : mWorkDir(std::move(workDir))
{
}

int RenderProcess::Run(const std::vector<std::string>& args)
{
  const std::string outFile = mWorkDir + "/render-stdout.txt";
  const std::string errFile = mWorkDir + "/render-stderr.txt";
  std::string command = Quote(HostPath(MERO_RENDER_EXE));
  for (const std::string& arg : args) command += " " + Quote(arg);
  command += " >" + Quote(outFile) + " 2>" + Quote(errFile);
#ifdef _WIN32
  command = "\"" + command + "\"";  // cmd /c strips one pair of outer quotes
#endif
  const int raw = std::system(command.c_str());
  mErrors = Slurp(errFile);
  mOutput = Slurp(outFile) + mErrors;
#ifdef _WIN32
  return raw;
#else
  return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}
