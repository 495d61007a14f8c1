#ifndef MERO_RESOURCES_H
#define MERO_RESOURCES_H

// The front panel's images: resource IDs (type "PNG", language 1033) in MERO.rc and the
// file names the editor loads them by. One strip per image, frames stacked vertically.
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
#endif

#endif
