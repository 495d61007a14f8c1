#include "ModuleEngine.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "pluginterfaces/vst/ivstunits.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
std::string Narrow(const TChar* text)
{
  std::string narrow;
  for (int k = 0; k < 128 && text[k]; ++k) narrow += static_cast<char>(text[k] & 0xFF);
  return narrow;
}
}  // namespace

ModuleEngine::~ModuleEngine()
{
  mPlugin.Close();
  mModule.Close();
}

bool ModuleEngine::Open(const std::string& modulePath, std::string& error)
{
  if (!mModule.Open(modulePath))
  {
    error = "cannot load the plug-in module '" + modulePath + "'";
    return false;
  }
  if (!mPlugin.Create(mModule))
  {
    error = "the module '" + modulePath + "' did not create its plug-in";
    return false;
  }
  mHost = owned(new mero::HostApplication("mero-render"));
  if (mPlugin.Initialize(mHost->unknownCast()) != kResultOk)
  {
    error = "the plug-in refused to initialise";
    return false;
  }
  ReadParams();
  FindBypassFlag();
  ReadPresets();
  return true;
}

void ModuleEngine::ReadParams()
{
  IEditController* controller = mPlugin.Controller();
  const int32 count = controller->getParameterCount();
  for (int32 i = 0; i < count; ++i)
  {
    ParameterInfo info{};
    if (controller->getParameterInfo(i, info) != kResultOk) continue;
    if (info.flags & ParameterInfo::kIsProgramChange)
    {
      mProgramId = info.id;
      mHasProgramParam = true;
      continue;
    }
    if (info.flags & ParameterInfo::kIsBypass)
    {
      mBypassId = info.id;
      mHasBypass = true;
      continue;
    }
    EffectParam param;
    param.name = Narrow(info.title);
    param.min = controller->normalizedParamToPlain(info.id, 0.0);
    param.max = controller->normalizedParamToPlain(info.id, 1.0);
    param.integer = info.stepCount > 0;
    for (int32 step = 0; (info.flags & ParameterInfo::kIsList) && info.stepCount > 0 && step <= info.stepCount; ++step)
    {
      String128 text{};
      controller->getParamStringByValue(info.id, static_cast<double>(step) / info.stepCount, text);
      param.positionNames.push_back(Narrow(text));
    }
    mParams.push_back(param);
    mIds.push_back(info.id);
  }
}

void ModuleEngine::FindBypassFlag()
{
  IEditController* controller = mPlugin.Controller();
  std::vector<char> off, on;
  if (!mHasBypass || mPlugin.GetState(off) != kResultOk) return;
  const ParamValue before = controller->getParamNormalized(mBypassId);
  controller->setParamNormalized(mBypassId, before > 0.5 ? 0.0 : 1.0);
  const bool read = mPlugin.GetState(on) == kResultOk && on.size() == off.size();
  controller->setParamNormalized(mBypassId, before);
  for (size_t i = 0; read && i < off.size() && mFlagOffset == SIZE_MAX; ++i)
    if (on[i] != off[i]) mFlagOffset = i;
}

size_t ModuleEngine::StateOffset(ParamID id) const
{
  const size_t offset = static_cast<size_t>(id) * sizeof(double);
  return offset < mFlagOffset ? offset : offset + sizeof(int32);
}

void ModuleEngine::ReadPresets()
{
  FUnknownPtr<IUnitInfo> units(mPlugin.Controller());
  ProgramListInfo list{};
  if (!units || units->getProgramListCount() < 1 || units->getProgramListInfo(0, list) != kResultOk) return;
  for (int32 i = 0; i < list.programCount; ++i)
  {
    String128 wide{};
    units->getProgramName(list.id, i, wide);
    std::string name;
    for (int k = 0; k < 128 && wide[k]; ++k) name += static_cast<char>(wide[k] & 0xFF);
    mPresets.push_back(name);
  }
}

bool ModuleEngine::SelectPreset(const std::string& preset, std::string& error)
{
  int index = -1;
  for (size_t i = 0; i < mPresets.size() && index < 0; ++i)
    if (mPresets[i] == preset) index = static_cast<int>(i);
  char* end = nullptr;
  const long number = std::strtol(preset.c_str(), &end, 10);
  if (index < 0 && !preset.empty() && *end == '\0' && number >= 0 && number < static_cast<long>(mPresets.size()))
    index = static_cast<int>(number);
  if (index < 0 || !mHasProgramParam)
  {
    error = "the plug-in has no preset '" + preset + "' (mero-render --list-presets lists them)";
    return false;
  }
  const double normalized = mPresets.size() > 1 ? index / static_cast<double>(mPresets.size() - 1) : 0.0;
  if (mPlugin.Controller()->setParamNormalized(mProgramId, normalized) != kResultOk)
  {
    error = "the plug-in refused preset '" + preset + "'";
    return false;
  }
  return true;
}

bool ModuleEngine::Prepare(double sampleRate, int channels, int maxBlock, std::string& error)
{
  ProcessSetup setup{};
  setup.processMode = kOffline;
  setup.symbolicSampleSize = kSample32;
  setup.maxSamplesPerBlock = maxBlock;
  setup.sampleRate = sampleRate;
  const SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
  if (channels < 1 || channels > 2 || !mPlugin.Prepare(setup, arrangement, arrangement))
  {
    error = "the plug-in does not take " + std::to_string(channels) + " channels at " +
            std::to_string(static_cast<long>(sampleRate)) + " Hz";
    return false;
  }
  mChannels = channels;
  return true;
}

bool ModuleEngine::SetParams(const std::vector<std::pair<int, double>>& values, std::string& error)
{
  if (values.empty()) return true;
  std::vector<char> state;
  if (mPlugin.GetState(state) != kResultOk)
  {
    error = "the plug-in did not give its state";
    return false;
  }
  for (const auto& entry : values)
  {
    const size_t offset = StateOffset(mIds[static_cast<size_t>(entry.first)]);
    if (offset + sizeof(double) > state.size())
    {
      error = "the plug-in's state has no place for " + mParams[static_cast<size_t>(entry.first)].name;
      return false;
    }
    std::memcpy(state.data() + offset, &entry.second, sizeof(double));
  }
  if (mPlugin.SetState(state) != kResultOk)
  {
    error = "the plug-in refused the parameter values";
    return false;
  }
  return true;
}

void ModuleEngine::Process(const float* const* in, float* const* out, int frames)
{
  mPlugin.Process(const_cast<float* const*>(in), out, mChannels, frames);
}
