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
  const char* fileName2x;
  int nFrames;
  int x, y;
};

constexpr double kKnobGearing = 4.0;
// The most common colour of the background's right and bottom edges, which a window
// larger than the panel continues.
constexpr unsigned int kBorderColor = 0x121315;

const ControlPlace kKnobs[] = {
    {MERO::kLevel, kLevelId, kLevelFile, kLevel2xFile, 21, 50, 381},
    {MERO::kLow, kLowId, kLowFile, kLow2xFile, 3, 52, 163},
    {MERO::kHigh, kHighId, kHighFile, kHigh2xFile, 4, 137, 163},
    {MERO::kOutput, kOutId, kOutFile, kOut2xFile, 61, 89, 556},
};

const ControlPlace kSwitches[] = {
    {MERO::kMode, kModeId, kModeFile, kMode2xFile, 2, 71, 285},
    {MERO::kGain, kGainId, kGainFile, kGain2xFile, 2, 96, 71},
    {MERO::kPad, kPadId, kPadFile, kPad2xFile, 2, 110, 283},
    {MERO::kPhase, kPhaseId, kPhaseFile, kPhase2xFile, 2, 152, 283},
    {MERO::kBypas, kById, kByFile, kBy2xFile, 2, 85, 13},
    {MERO::kQuality, kQualityId, kQualityFile, kQuality2xFile, 3, 180, 94},
};

// Each image with its 2x image, which scales above 1 draw from.
IBitmapStrip Load(IGraphics* graphics, const ControlPlace& place)
{
  return graphics->LoadBitmapStrip(place.imageId, place.fileName, place.nFrames, Image2xId(place.imageId),
                                   place.fileName2x);
}
}  // namespace

void MEROEditor::Build(IPlugBase* plug, IGraphics* graphics)
{
  const IBitmapStrip background = Load(graphics, {-1, kBgId, kBgFile, kBg2xFile, 1, 0, 0});
  graphics->SetBorderColor(kBorderColor);
  graphics->AddBackground(new IBitmapControl(plug, 0, 0, -1, background, IBlend::kOpaqueCopy));

  for (const ControlPlace& knob : kKnobs)
    graphics->AddControl(new IKnobMultiControl(plug, knob.x, knob.y, knob.paramIdx, Load(graphics, knob),
                                               IKnobControl::kVertical, kKnobGearing));

  for (const ControlPlace& toggle : kSwitches)
    graphics->AddControl(
        new ISwitchControl(plug, toggle.x, toggle.y, toggle.paramIdx, Load(graphics, toggle), IBlend::kNormal));
}
