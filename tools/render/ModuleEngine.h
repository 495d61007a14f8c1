#pragma once

#include "EffectEngine.h"

#include <cstdint>

#include "tools/vst3host/HostApplication.h"
#include "tools/vst3host/Vst3Module.h"
#include "tools/vst3host/Vst3Plugin.h"

#include "pluginterfaces/vst/vsttypes.h"

// Renders through a VST 3 module the way a DAW does: the module is loaded, its
// first class created and initialised (which loads preset 0), the mono or
// stereo arrangement negotiated, processing set up for offline 32-bit blocks
// and activated. The parameters come from the controller: every parameter
// except the program change and the host bypass, named by its title, with the
// plain range the controller reports and, for a list, the texts of its steps.
// Values are applied through the controller's state, as a saved project is
// restored, so each one arrives in plain units without a trip through the
// normalised scale.
class ModuleEngine : public EffectEngine
{
public:
  ModuleEngine() = default;
  ~ModuleEngine() override;

  // Loads the module file and creates and initialises the plug-in.
  bool Open(const std::string& modulePath, std::string& error);

  const std::vector<EffectParam>& Params() const override { return mParams; }
  bool Prepare(double sampleRate, int channels, int maxBlock, std::string& error) override;
  bool SetParams(const std::vector<std::pair<int, double>>& values, std::string& error) override;
  void Process(const float* const* in, float* const* out, int frames) override;

private:
  void ReadParams();
  // The state holds the parameter doubles by ID with the int32 bypass flag
  // after those of the original layout; the flag's place is where the state
  // changes when the bypass does.
  void FindBypassFlag();
  size_t StateOffset(Steinberg::Vst::ParamID id) const;

  mero::Vst3Module mModule;
  mero::Vst3Plugin mPlugin;
  Steinberg::IPtr<mero::HostApplication> mHost;
  std::vector<EffectParam> mParams;
  std::vector<Steinberg::Vst::ParamID> mIds;  // per entry of mParams
  Steinberg::Vst::ParamID mBypassId = 0;
  bool mHasBypass = false;
  size_t mFlagOffset = SIZE_MAX;  // no flag found: every parameter comes before it
  int mChannels = 0;
};
