// The performance page's rules over the settings store, without any control: the page's
// configuration keys and how their texts read as numbers, a key's default performance row,
// the captions of positions, the rapid-trigger mode the switches give and the switch type of
// each row of the switch picker. The page (PerfPage) reads its controls and hands their values
// to these; tests call them directly. Any thread (the store has its own lock).
//
// Positions (actuation point, rapid-trigger distances, dead zones) are counted in steps of
// 0.02 mm.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "storage/ConfigRecords.h"
#include "ui/core/CString.h"

// The page's configuration keys of t_config_data (per profile, decimal text).
extern const wchar_t* const kPerfRapidTriggerMode;      // "1" rapid trigger on
extern const wchar_t* const kPerfSensitivityMode;       // "1" one distance for press and release
extern const wchar_t* const kPerfContinuousMode;        // "1" continuous rapid trigger
extern const wchar_t* const kPerfBottomRapidTrigger;    // "1" bottom rapid trigger
extern const wchar_t* const kPerfGlobalActuation;       // the page's actuation point
extern const wchar_t* const kPerfSensitivityPos;        // the single distance
extern const wchar_t* const kPerfRtPressPos;            // the press distance
extern const wchar_t* const kPerfRtReleasePos;          // the release distance
extern const wchar_t* const kPerfSwitchType;            // the switch type last chosen
extern const wchar_t* const kPerfDebugMode;             // "1" live travel shown
extern const wchar_t* const kPerfDeadZone;              // "1" dead zones on
extern const wchar_t* const kPerfDeadZoneTop;           // the top dead zone
extern const wchar_t* const kPerfDeadZoneBottom;        // the bottom dead zone

// Low 4 bits of key_mode: the rapid-trigger mode.
constexpr int kRapidTriggerMask = 0xF;
enum RapidTriggerMode : int { RT_MODE_OFF = 0, RT_MODE_ON = 1, RT_MODE_CONTINUOUS = 2 };

// The release dead zone that bottom rapid trigger gives every key.
constexpr int kBottomRtReleaseDeadzone = 10;

// The dead zone the dead-zone switch gives, above and below, whatever the switch type.
constexpr int kDefaultDeadZone = 12;
// The actuation point the reset-actuation button gives every key.
constexpr int kResetActuation = 26;

// A ready-made trigger setting of the preset menu: every key takes its rapid-trigger mode,
// actuation point and press and release distances, with no dead zones.
struct PerfPreset {
  int itemId;  // the menu item's id
  int textId;  // its caption, a language text
  int mode, actuation, press, release;
};
// The presets in menu order.
extern const std::vector<PerfPreset> kPerfPresets;
// The preset of a menu item, or null for an id that names none.
const PerfPreset* FindPerfPreset(int itemId);

// A number read from a stored text: the whole text (spaces around it allowed) must be a
// decimal integer in int's range, else 0 (an empty, missing or unreadable value).
int ParseConfigInt(const CString& text);
// The profile's value of a configuration key as a number (0 when missing or unreadable).
int ReadPerfConfig(int profile, const wchar_t* key);
// Stores "%d" of value; an existing row only (the store never inserts one).
void WritePerfConfig(int profile, const wchar_t* key, int value);

// "%0.2fmm" of steps x 0.02: 1 -> "0.02mm", 75 -> "1.50mm".
CString PositionCaption(int steps);

// The mode the rapid-trigger switches give: off, or on and continuous or not.
int RapidTriggerModeOf(bool rapidTriggerOn, bool continuousOn);

// The switch type of a row of the switch picker (0 -> 5, 1 -> 2); -1 for any other row.
int PickerSwitchType(int row);

// A key's default row: switch type 5, rapid trigger on, actuation 75 (1.50 mm), press and
// release distances 5 (0.10 mm), no dead zones.
KEY_PERF_DATA DefaultKeyPerf(int profile, int keyCode);
std::vector<KEY_PERF_DATA> DefaultKeyPerfRows(int profile, const std::vector<int>& keyCodes);

// Gives a profile its default rows, one per key code in order, when it has no row yet;
// returns the number of rows added (0 when it had rows or no key code was given).
int CreateDefaultKeyPerfRows(int profile, const std::vector<int>& keyCodes);
