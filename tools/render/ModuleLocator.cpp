#include "ModuleLocator.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace
{

fs::path ExecutablePath()
{
#ifdef _WIN32
  wchar_t buffer[32768];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, sizeof buffer / sizeof buffer[0]);
  return n > 0 && n < sizeof buffer / sizeof buffer[0] ? fs::path(std::wstring(buffer, n)) : fs::path();
#else
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : self;
#endif
}

}  // namespace

std::string ModuleLocator::Resolve(const std::string& path)
{
  fs::path given = fs::u8path(path);
  if (!given.has_filename()) given = given.parent_path();  // "NAME.vst3/"
  std::error_code ec;
  if (!fs::is_directory(given, ec)) return path;
#ifdef _WIN32
  const fs::path inside = given / "Contents" / "x86_64-win" / given.filename();
#else
  fs::path library = given.filename();
  library.replace_extension(".so");
  const fs::path inside = given / "Contents" / "x86_64-linux" / library;
#endif
  return inside.u8string();
}

std::string ModuleLocator::BesideProgram(const std::string& relative)
{
  const fs::path program = ExecutablePath();
  if (program.empty()) return {};
  return Resolve((program.parent_path() / fs::u8path(relative)).lexically_normal().u8string());
}
