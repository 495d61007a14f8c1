#ifndef MERO_RESOURCES_H
#define MERO_RESOURCES_H

// The front panel's images: resource IDs (type "PNG", language 1033) in MERO.rc and the
// file names the editor loads them by. One strip per image, frames stacked vertically.
// Each image also comes drawn at twice the size for high-density screens (twice the
// width and height, the same frames): its ID is the 1x image's ID plus
// MERO_2X_ID_OFFSET, its file the 1x file's name in img/2x/.
// Only the #defines are seen by the resource compiler.

#define MERO_BG_ID 101
#define MERO_LEVEL_ID 102
#define MERO_MODE_ID 103
#define MERO_GAIN_ID 104
#define MERO_PAD_ID 105
#define MERO_PHASE_ID 106
#define MERO_LOW_ID 107
#define MERO_HIGH_ID 108
#define MERO_BY_ID 109
#define MERO_OUT_ID 110
#define MERO_QUALITY_ID 111

#define MERO_2X_ID_OFFSET 100
#define MERO_BG_2X_ID (MERO_BG_ID + MERO_2X_ID_OFFSET)
#define MERO_LEVEL_2X_ID (MERO_LEVEL_ID + MERO_2X_ID_OFFSET)
#define MERO_MODE_2X_ID (MERO_MODE_ID + MERO_2X_ID_OFFSET)
#define MERO_GAIN_2X_ID (MERO_GAIN_ID + MERO_2X_ID_OFFSET)
#define MERO_PAD_2X_ID (MERO_PAD_ID + MERO_2X_ID_OFFSET)
#define MERO_PHASE_2X_ID (MERO_PHASE_ID + MERO_2X_ID_OFFSET)
#define MERO_LOW_2X_ID (MERO_LOW_ID + MERO_2X_ID_OFFSET)
#define MERO_HIGH_2X_ID (MERO_HIGH_ID + MERO_2X_ID_OFFSET)
#define MERO_BY_2X_ID (MERO_BY_ID + MERO_2X_ID_OFFSET)
#define MERO_OUT_2X_ID (MERO_OUT_ID + MERO_2X_ID_OFFSET)
#define MERO_QUALITY_2X_ID (MERO_QUALITY_ID + MERO_2X_ID_OFFSET)

#ifndef RC_INVOKED
constexpr int kBgId = MERO_BG_ID;
constexpr int kLevelId = MERO_LEVEL_ID;
constexpr int kModeId = MERO_MODE_ID;
constexpr int kGainId = MERO_GAIN_ID;
constexpr int kPadId = MERO_PAD_ID;
constexpr int kPhaseId = MERO_PHASE_ID;
constexpr int kLowId = MERO_LOW_ID;
constexpr int kHighId = MERO_HIGH_ID;
constexpr int kById = MERO_BY_ID;
constexpr int kOutId = MERO_OUT_ID;
constexpr int kQualityId = MERO_QUALITY_ID;

// The ID of the 2x image of the image with ID id.
constexpr int Image2xId(int id)
{
  return id + MERO_2X_ID_OFFSET;
}
constexpr int kBg2xId = MERO_BG_2X_ID;
constexpr int kLevel2xId = MERO_LEVEL_2X_ID;
constexpr int kMode2xId = MERO_MODE_2X_ID;
constexpr int kGain2xId = MERO_GAIN_2X_ID;
constexpr int kPad2xId = MERO_PAD_2X_ID;
constexpr int kPhase2xId = MERO_PHASE_2X_ID;
constexpr int kLow2xId = MERO_LOW_2X_ID;
constexpr int kHigh2xId = MERO_HIGH_2X_ID;
constexpr int kBy2xId = MERO_BY_2X_ID;
constexpr int kOut2xId = MERO_OUT_2X_ID;
constexpr int kQuality2xId = MERO_QUALITY_2X_ID;

constexpr const char* kBgFile = "resources/img/BG.png";
constexpr const char* kLevelFile = "resources/img/LEVEL.png";
constexpr const char* kModeFile = "resources/img/MODE.png";
constexpr const char* kGainFile = "resources/img/GAIN.png";
constexpr const char* kPadFile = "resources/img/PAD.png";
constexpr const char* kPhaseFile = "resources/img/PHASE.png";
constexpr const char* kLowFile = "resources/img/LOW.png";
constexpr const char* kHighFile = "resources/img/HIGH.png";
constexpr const char* kByFile = "resources/img/BY.png";
constexpr const char* kOutFile = "resources/img/OUT.png";
constexpr const char* kQualityFile = "resources/img/QUALITY.png";

constexpr const char* kBg2xFile = "resources/img/2x/BG.png";
constexpr const char* kLevel2xFile = "resources/img/2x/LEVEL.png";
constexpr const char* kMode2xFile = "resources/img/2x/MODE.png";
constexpr const char* kGain2xFile = "resources/img/2x/GAIN.png";
constexpr const char* kPad2xFile = "resources/img/2x/PAD.png";
constexpr const char* kPhase2xFile = "resources/img/2x/PHASE.png";
constexpr const char* kLow2xFile = "resources/img/2x/LOW.png";
constexpr const char* kHigh2xFile = "resources/img/2x/HIGH.png";
constexpr const char* kBy2xFile = "resources/img/2x/BY.png";
constexpr const char* kOut2xFile = "resources/img/2x/OUT.png";
constexpr const char* kQuality2xFile = "resources/img/2x/QUALITY.png";
#endif

#endif
