#include "app/pages/KeyAssignment.h"

#include "app/pages/KeyCodeMap.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "storage/ConfigDatabase.h"

namespace {

constexpr int kLockedKeys[] = {20, 26, 8};  // Q, W, E
constexpr int kNoFunctionEntry = 3;         // the picker's usage of its no-function entry

// A usage the preset moves, and the caption it shows instead of the usage's name (or null).
struct PresetKey {
  int from;
  int to;
  const wchar_t* caption;
};

}  // namespace

struct LayoutPreset {
  const PresetKey* keys;
  int count;
};

namespace {

constexpr PresetKey kMacKeys[] = {{0xE3, 0xE2, L"Opt"}, {0xE2, 0xE3, L"Cmd"}, {0xE6, 0xE7, L"Cmd"}};
constexpr PresetKey kDvorakKeys[] = {
    {5, 27, nullptr},  {6, 13, nullptr},  {7, 8, nullptr},   {8, 55, nullptr},  {9, 24, nullptr},
    {10, 12, nullptr}, {11, 7, nullptr},  {12, 6, nullptr},  {13, 11, nullptr}, {14, 23, nullptr},
    {15, 17, nullptr}, {17, 5, nullptr},  {18, 21, nullptr}, {19, 15, nullptr}, {20, 52, nullptr},
    {21, 19, nullptr}, {22, 18, nullptr}, {23, 28, nullptr}, {24, 10, nullptr}, {25, 14, nullptr},
    {26, 54, nullptr}, {27, 20, nullptr}, {28, 9, nullptr},  {29, 51, nullptr}, {41, 53, nullptr},
    {45, 47, nullptr}, {46, 48, nullptr}, {47, 56, nullptr}, {48, 46, nullptr}, {51, 22, nullptr},
    {52, 45, nullptr}, {54, 26, nullptr}, {55, 25, nullptr}, {56, 29, nullptr}};
constexpr PresetKey kColemakKeys[] = {
    {7, 22, nullptr},  {8, 9, nullptr},   {9, 23, nullptr},  {10, 7, nullptr},  {12, 24, nullptr},
    {13, 17, nullptr}, {14, 8, nullptr},  {15, 12, nullptr}, {17, 14, nullptr}, {18, 28, nullptr},
    {19, 51, nullptr}, {21, 19, nullptr}, {22, 21, nullptr}, {23, 10, nullptr}, {24, 15, nullptr},
    {28, 13, nullptr}, {51, 18, nullptr}};
constexpr PresetKey kWorkmanKeys[] = {
    {5, 25, nullptr},  {6, 16, nullptr},  {7, 11, nullptr},  {8, 21, nullptr},  {9, 23, nullptr},
    {11, 28, nullptr}, {12, 24, nullptr}, {13, 17, nullptr}, {14, 8, nullptr},  {15, 18, nullptr},
    {16, 15, nullptr}, {17, 14, nullptr}, {18, 19, nullptr}, {19, 51, nullptr}, {21, 26, nullptr},
    {23, 5, nullptr},  {24, 9, nullptr},  {25, 6, nullptr},  {26, 7, nullptr},  {28, 13, nullptr},
    {51, 12, nullptr}};

template <size_t N>
constexpr LayoutPreset PresetOf(const PresetKey (&keys)[N]) {
  return LayoutPreset{keys, static_cast<int>(N)};
}

constexpr LayoutPreset kStandard{nullptr, 0};
constexpr LayoutPreset kMac = PresetOf(kMacKeys);
constexpr LayoutPreset kDvorak = PresetOf(kDvorakKeys);
constexpr LayoutPreset kColemak = PresetOf(kColemakKeys);
constexpr LayoutPreset kWorkman = PresetOf(kWorkmanKeys);

struct PresetItem {
  int itemId;
  const LayoutPreset* preset;
};
constexpr PresetItem kPresetItems[] = {{LAYOUT_PRESET_STANDARD, &kStandard}, {LAYOUT_PRESET_MAC, &kMac},
                                       {LAYOUT_PRESET_STANDARD2, &kStandard}, {LAYOUT_PRESET_DVORAK, &kDvorak},
                                       {LAYOUT_PRESET_COLEMAK, &kColemak},    {LAYOUT_PRESET_WORKMAN, &kWorkman}};

// The kind each list group assigns, by group index.
constexpr int kListGroupKinds[] = {0, MACRO_TYPE_MEDIA, MACRO_TYPE_KEY, MACRO_TYPE_FUNCTION,
                                   MACRO_TYPE_FUNCTION, MACRO_TYPE_MACRO, MACRO_TYPE_MOUSE};

void SetFunction(KEY_MACRO_DATA& row, int kind, int value, int value2, int value3, const CString& caption) {
  row.macro_type = kind;
  row.macro_value = value;
  row.macro_value2 = value2;
  row.macro_value3 = value3;
  row.macro_desc = caption;
}

bool IsPairKind(int kind) { return kind == MACRO_TYPE_RS || kind == MACRO_TYPE_SOCD || kind == MACRO_TYPE_OKS; }

// The other key of the pair packed in value2 (first key low, second high), or 0.
int PartnerOf(int keyCode, int pair) {
  const int low = pair & 0xFFFF, high = (pair >> 16) & 0xFFFF;
  if (keyCode == low) return high;
  if (keyCode == high) return low;
  return 0;
}

}  // namespace

bool IsLockedKey(int fnLayer, int deviceProfile, int keyCode) {
  if (fnLayer != 4 * deviceProfile + 1) return false;
  for (int locked : kLockedKeys) {
    if (keyCode == locked) return true;
  }
  return false;
}

KEY_MACRO_DATA ReadKeyRow(int fnLayer, int keyCode, bool* stored) {
  KEY_MACRO_DATA row;
  const bool found = ConfigDatabase::Instance().GetKeyMacro(fnLayer, keyCode, row);
  if (!found) {
    row = KEY_MACRO_DATA();
    row.profile = 1;
    row.fn_layer = fnLayer;
    row.key_code = keyCode;
  }
  if (stored) *stored = found;
  return row;
}

void SetPickerFunction(KEY_MACRO_DATA& row, int code, int data, int extra, const CString& label) {
  if (code == kNoFunctionEntry && data == 0 && extra == 0) {
    SetFunction(row, MACRO_TYPE_DISABLED, 1, 0, 0, label);
  } else {
    SetFunction(row, MACRO_TYPE_KEY, code, data, extra, label);
  }
}

int KindOfListGroup(int group) {
  if (group < 1 || group >= static_cast<int>(sizeof(kListGroupKinds) / sizeof(kListGroupKinds[0]))) return 0;
  return kListGroupKinds[group];
}

void SetListFunction(KEY_MACRO_DATA& row, int group, int value, const CString& caption) {
  SetFunction(row, KindOfListGroup(group), value, 0, 0, caption);
}

CString KeyName(int usage) {
  CString name;
  return KeyCodeMap::Instance().UsageToKeyName(name, usage);
}

void SetOwnKeyFunction(KEY_MACRO_DATA& row, int keyCode) {
  if (keyCode == FN_KEY_CODE) {
    SetFunction(row, MACRO_TYPE_FUNCTION, FN1_FUNCTION_CODE, 0, 0, KeyName(FN_KEY_CODE));
  } else {
    SetFunction(row, MACRO_TYPE_KEY, keyCode, 0, 0, KeyName(keyCode));
  }
}

void ResetKeyRow(KEY_MACRO_DATA& row, int fnLayer, std::vector<KEY_MACRO_DATA>* partners) {
  if (fnLayer != 0) {
    KEY_MACRO_DATA def;
    if (ConfigDatabase::Instance().GetKeyMacro(fnLayer + kDefaultLayerOffset, row.key_code, def)) {
      SetFunction(row, def.macro_type, def.macro_value, def.macro_value2, def.macro_value3, def.macro_desc);
    } else {
      SetFunction(row, MACRO_TYPE_NONE, 0, 0, 0, CString());
    }
    return;
  }
  if (IsPairKind(row.macro_type)) {
    const int partner = PartnerOf(row.key_code, row.macro_value2);
    KEY_MACRO_DATA other;
    if (partner != 0 && ConfigDatabase::Instance().GetKeyMacro(fnLayer, partner, other)) {
      SetOwnKeyFunction(other, other.key_code);
      if (partners) partners->push_back(other);
    }
  }
  SetOwnKeyFunction(row, row.key_code);
}

const LayoutPreset* FindLayoutPreset(int itemId) {
  for (const PresetItem& item : kPresetItems) {
    if (item.itemId == itemId) return item.preset;
  }
  return nullptr;
}

void SetPresetFunction(KEY_MACRO_DATA& row, const LayoutPreset& preset) {
  SetOwnKeyFunction(row, row.key_code);
  if (row.key_code == FN_KEY_CODE) return;
  for (int i = 0; i < preset.count; ++i) {
    const PresetKey& key = preset.keys[i];
    if (key.from != row.key_code) continue;
    SetFunction(row, MACRO_TYPE_KEY, key.to, 0, 0, key.caption ? CString(key.caption) : KeyName(key.to));
    return;
  }
}

std::vector<KEY_MACRO_DATA> DefaultKeyRows(int profile, const std::vector<std::pair<int, CString>>& keys) {
  constexpr int kLayerIds = 12;
  std::vector<KEY_MACRO_DATA> rows;
  rows.reserve(keys.size() * kLayerIds);
  for (const auto& key : keys) {
    for (int layer = 0; layer < kLayerIds; ++layer) {
      KEY_MACRO_DATA row;
      row.profile = profile;
      row.fn_layer = layer;
      row.key_code = key.first;
      // Only the base layer starts with the key itself: a layer the user never changed stays
      // empty in the keyboard, where the keyboard's own Fn functions then apply.
      if (layer == 0) SetFunction(row, MACRO_TYPE_KEY, key.first, 0, 0, key.second);
      rows.push_back(row);
    }
  }
  return rows;
}
