#include "app/pages/PerfRules.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <cwctype>

#include "storage/ConfigDatabase.h"

const wchar_t* const kPerfRapidTriggerMode = L"perf_rapidtrigger_mode";
const wchar_t* const kPerfSensitivityMode = L"perf_sensitivity_mode";
const wchar_t* const kPerfContinuousMode = L"perf_continuerapidtrigger_mode";
const wchar_t* const kPerfBottomRapidTrigger = L"perf_bottomrapidtrigger_mode";
const wchar_t* const kPerfGlobalActuation = L"global_key_actuation";
const wchar_t* const kPerfSensitivityPos = L"global_sensitivity_pos";
const wchar_t* const kPerfRtPressPos = L"global_rt1_pos";
const wchar_t* const kPerfRtReleasePos = L"global_rt2_pos";
const wchar_t* const kPerfSwitchType = L"switch_type";
const wchar_t* const kPerfDebugMode = L"debug_mode";
const wchar_t* const kPerfDeadZone = L"dead_zone";
const wchar_t* const kPerfDeadZoneTop = L"dead_zone_topvalue";
const wchar_t* const kPerfDeadZoneBottom = L"dead_zone_bottomvalue";

const std::vector<PerfPreset> kPerfPresets = {
    {201, 261, RT_MODE_ON, 75, 5, 5},
    {202, 262, RT_MODE_ON, 50, 5, 5},
    {203, 263, RT_MODE_OFF, 90, 0, 0},
    {204, 264, RT_MODE_ON, 10, 1, 1},
    {206, 266, RT_MODE_ON, 16, 1, 2},
};

namespace {

constexpr int kDefaultSwitchType = 5;
constexpr int kDefaultKeyMode = RT_MODE_ON;
constexpr int kDefaultActuation = 75;
constexpr int kDefaultRtDistance = 5;

}  // namespace

const PerfPreset* FindPerfPreset(int itemId) {
  for (const PerfPreset& preset : kPerfPresets) {
    if (preset.itemId == itemId) return &preset;
  }
  return nullptr;
}

int ParseConfigInt(const CString& text) {
  const wchar_t* start = text.GetString();
  if (start == nullptr) return 0;
  wchar_t* end = nullptr;
  errno = 0;
  const long value = std::wcstol(start, &end, 10);
  if (end == start || errno == ERANGE || value < INT_MIN || value > INT_MAX) return 0;
  while (*end != L'\0' && std::iswspace(*end)) ++end;
  return *end == L'\0' ? static_cast<int>(value) : 0;
}

int ReadPerfConfig(int profile, const wchar_t* key) {
  CString value;
  ConfigDatabase::Instance().GetConfigValue(profile, key, value);
  return ParseConfigInt(value);
}

void WritePerfConfig(int profile, const wchar_t* key, int value) {
  CString text;
  text.Format(L"%d", value);
  ConfigDatabase::Instance().SetConfigValue(profile, key, text);
}

CString PositionCaption(int steps) {
  CString caption;
  caption.Format(L"%0.2fmm", steps * 0.02);
  return caption;
}

int RapidTriggerModeOf(bool rapidTriggerOn, bool continuousOn) {
  if (!rapidTriggerOn) return RT_MODE_OFF;
  return continuousOn ? RT_MODE_CONTINUOUS : RT_MODE_ON;
}

int PickerSwitchType(int row) {
  switch (row) {
    case 0:
      return 5;
    case 1:
      return 2;
    default:
      return -1;
  }
}

KEY_PERF_DATA DefaultKeyPerf(int profile, int keyCode) {
  KEY_PERF_DATA row;
  row.profile = profile;
  row.key_code = keyCode;
  row.switch_type = kDefaultSwitchType;
  row.key_mode = kDefaultKeyMode;
  row.key_actuation = kDefaultActuation;
  row.rt_press = kDefaultRtDistance;
  row.rt_release = kDefaultRtDistance;
  return row;
}

std::vector<KEY_PERF_DATA> DefaultKeyPerfRows(int profile, const std::vector<int>& keyCodes) {
  std::vector<KEY_PERF_DATA> rows;
  rows.reserve(keyCodes.size());
  for (int code : keyCodes) rows.push_back(DefaultKeyPerf(profile, code));
  return rows;
}

int CreateDefaultKeyPerfRows(int profile, const std::vector<int>& keyCodes) {
  ConfigDatabase& store = ConfigDatabase::Instance();
  if (store.CountKeyPerfs(profile) >= 1 || keyCodes.empty()) return 0;
  store.InsertKeyPerfs(DefaultKeyPerfRows(profile, keyCodes));
  return static_cast<int>(keyCodes.size());
}
