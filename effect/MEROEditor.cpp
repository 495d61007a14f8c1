#include "MEROEditor.h"

#include "IBitmapControl.h"
#include "IGraphics.h"
#include "IKnobMultiControl.h"
#include "ISwitchControl.h"
#include "MERO.h"
#include "MEROResources.h"

namespace
{
struct ControlPlace
{
  int paramIdx;
  int imageId;
  const char* fileName;
  int nFrames;
  int x, y;
};

constexpr double kKnobGearing = 4.0;
// The most common colour of the background's right and bottom edges, which a window
// larger than the panel continues.
constexpr unsigned int kBorderColor = 0x121315;

const ControlPlace kKnobs[] = {
    {MERO::kLevel, kLevelId, kLevelFile, 21, 50, 381},
    {MERO::kLow, kLowId, kLowFile, 3, 52, 163},
    {MERO::kHigh, kHighId, kHighFile, 4, 137, 163},
    {MERO::kOutput, kOutId, kOutFile, 61, 89, 556},
};

const ControlPlace kSwitches[] = {
    {MERO::kMode, kModeId, kModeFile, 2, 71, 285}, {MERO::kGain, kGainId, kGainFile, 2, 96, 71},
    {MERO::kPad, kPadId, kPadFile, 2, 110, 283},   {MERO::kPhase, kPhaseId, kPhaseFile, 2, 152, 283},
    {MERO::kBypas, kById, kByFile, 2, 85, 13},     {MERO::kQuality, kQualityId, kQualityFile, 3, 180, 94},
};

IBitmapStrip Load(IGraphics* graphics, const ControlPlace& place)
{
  return graphics->LoadBitmapStrip(place.imageId, place.fileName, place.nFrames);
}
}  // namespace

void MEROEditor::Build(IPlugBase* plug, IGraphics* graphics)
{
  const IBitmapStrip background = graphics->LoadBitmapStrip(kBgId, kBgFile, 1);
  graphics->SetBorderColor(kBorderColor);
  graphics->AddBackground(new IBitmapControl(plug, 0, 0, -1, background, IBlend::kOpaqueCopy));

  for (const ControlPlace& knob : kKnobs)
    graphics->AddControl(new IKnobMultiControl(plug, knob.x, knob.y, knob.paramIdx, Load(graphics, knob),
                                               IKnobControl::kVertical, kKnobGearing));

  for (const ControlPlace& toggle : kSwitches)
    graphics->AddControl(
        new ISwitchControl(plug, toggle.x, toggle.y, toggle.paramIdx, Load(graphics, toggle), IBlend::kNormal));
}
