#include "HostLookup.h"

#include <cctype>
#include <cstring>

namespace
{
struct HostFragment
{
  const char* fragment;
  int code;
};

// Searched in this order; the first fragment found decides.
constexpr HostFragment kHostFragments[] = {
    {"cubase", kHostCubase},
    {"reaper", kHostReaper},
    {"nuendo", kHostNuendo},
    {"cakewalk", kHostCakewalk},
    {"samplitude", kHostSamplitude},
    {"fruity", kHostFruity},
    {"live", kHostLive},
    {"melodyne", kHostMelodyne},
    {"vstmanlib", kHostVstManLib},
    {"aulab", kHostAuLab},
    {"garageband", kHostGarageBand},
    {"forte", kHostForte},
    {"chainer", kHostChainer},
    {"audition", kHostAudition},
    {"orion", kHostOrion},
    {"sawstudio", kHostSawStudio},
    {"logic", kHostLogic},
    {"digital", kHostDigital},
    {"audiomulch", kHostAudioMulch},
    {"presonus", kHostPreSonus},
    {"vst3plugintesthost", kHostVst3PluginTestHost},
    {"protools", kHostProTools},
    {"ardour", kHostArdour},
    {"openmpt", kHostOpenMpt},
    {"renoise", kHostRenoise},
    {"standalone", kHostStandalone},
};
}  // namespace

int LookUpHost(const char* name)
{
  if (!name) return kHostUnknown;

  char lower[256];
  size_t n = 0;
  for (; n + 1 < sizeof(lower) && name[n]; ++n)
    lower[n] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[n])));
  lower[n] = '\0';

  for (const HostFragment& entry : kHostFragments)
    if (std::strstr(lower, entry.fragment)) return entry.code;
  return kHostUnknown;
}
