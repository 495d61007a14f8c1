// mero-render: renders a WAV file (or a built-in demo signal) through the MERO
// VST 3 module.

#include "DemoSignal.h"
#include "LoudnessMeter.h"
#include "ModuleEngine.h"
#include "ModuleLocator.h"
#include "ParamParser.h"
#include "RenderOptions.h"
#include "Renderer.h"
#include "WavReader.h"
#include "WavWriter.h"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace
{

constexpr int kFailed = 1;
constexpr int kBadCommandLine = 2;
constexpr double kProgressAfterSeconds = 10.0;

volatile std::sig_atomic_t gStop = 0;

void RequestStop(int)
{
  gStop = 1;
}

int Fail(int status, const std::string& message)
{
  std::fprintf(stderr, "mero-render: %s\n", message.c_str());
  return status;
}

void PrintLoudness(const char* what, const LoudnessMeter& meter)
{
  const double lufs = meter.Integrated();
  if (std::isfinite(lufs))
    std::printf("%s: %.2f LUFS\n", what, lufs);
  else
    std::printf("%s: -inf LUFS\n", what);
}

// True when `out` names the same file as `in`, through any path or link.
bool SameFile(const std::string& in, const std::string& out)
{
  std::error_code ec;
  return std::filesystem::equivalent(in, out, ec) && !ec;
}

}  // namespace

int main(int argc, char** argv)
{
  RenderOptions options;
  switch (options.Parse(argc, argv))
  {
    case RenderOptions::Outcome::kHelp:
      std::fputs(RenderOptions::Usage().c_str(), stdout);
      return 0;
    case RenderOptions::Outcome::kError:
      std::fprintf(stderr, "mero-render: %s\n\n%s", options.Error().c_str(), RenderOptions::Usage().c_str());
      return kBadCommandLine;
    case RenderOptions::Outcome::kRun:
      break;
  }

  std::string error;
  const std::string module = options.pluginPath.empty() ? ModuleLocator::BesideProgram(MERO_RENDER_MODULE)
                                                        : ModuleLocator::Resolve(options.pluginPath);
  ModuleEngine engine;
  if (!engine.Open(module, error)) return Fail(kFailed, error);
  if (options.listPresets)
  {
    for (size_t i = 0; i < engine.Presets().size(); ++i) std::printf("%zu\t%s\n", i, engine.Presets()[i].c_str());
    return 0;
  }
  std::vector<std::pair<int, double>> values;
  if (!ParamParser(engine.Params()).Parse(options.settings, values, error)) return Fail(kBadCommandLine, error);

  std::unique_ptr<AudioSource> source;
  if (options.inPath.empty())
  {
    source = std::make_unique<DemoSignal>(options.rate);
  }
  else
  {
    if (!options.outPath.empty() && SameFile(options.inPath, options.outPath))
      return Fail(kBadCommandLine, "refusing to overwrite the input '" + options.inPath + "' with the output");
    auto reader = std::make_unique<WavReader>();
    if (!reader->Open(options.inPath, error)) return Fail(kFailed, error);
    source = std::move(reader);
  }

  if (!engine.Prepare(source->SampleRate(), source->Channels(), options.block, error)) return Fail(kFailed, error);
  if (!options.preset.empty() && !engine.SelectPreset(options.preset, error)) return Fail(kBadCommandLine, error);
  if (!engine.SetParams(values, error)) return Fail(kFailed, error);

  LoudnessMeter inputMeter, outputMeter;
  if ((options.loudnessIn && !inputMeter.Open(source->SampleRate(), source->Channels(), error)) ||
      (options.loudnessOut && !outputMeter.Open(source->SampleRate(), source->Channels(), error)))
    return Fail(kFailed, error);
  WavWriter writer;
  const bool toFile = !options.outPath.empty();
  if (toFile && !writer.Open(options.outPath, source->SampleRate(), source->Channels(), options.format, error))
    return Fail(kFailed, error);
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);

  const bool showProgress = source->Frames() > kProgressAfterSeconds * source->SampleRate();
  Renderer renderer(engine, options.block);
  renderer.Measure(options.loudnessIn ? &inputMeter : nullptr, options.loudnessOut ? &outputMeter : nullptr);
  if (!renderer.Run(*source, toFile ? &writer : nullptr, showProgress ? stderr : nullptr, &gStop, error) ||
      (toFile && !writer.Commit(error)))
    return Fail(kFailed, error);
  if (options.loudnessIn) PrintLoudness("input", inputMeter);
  if (options.loudnessOut) PrintLoudness("output", outputMeter);
  return 0;
}
