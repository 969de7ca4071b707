// The rules of the key assignment page over the settings store, without any control: which
// keys are locked, what a key's row is when the page reads it, the function a picked entry
// gives, what a key returns to when it is reset, what the layout presets make of each key, and
// the rows a new profile starts with. The page (KeyPage) reads its selection from its controls
// and hands it to these; tests call them directly.
//
// Key rows live under profile 1 of t_key_macro_data; the on-board profile is carried by the
// layer id (4 x on-board profile + Fn layer, 0 to 11), and the keyboard's own defaults of
// layer id L are the rows of layer id L + 100. Any thread (the store has its own lock).
#pragma once

#include <utility>
#include <vector>

#include "storage/ConfigRecords.h"
#include "ui/core/CString.h"

// Layer id of the keyboard's own default row of a key on layer id layer.
constexpr int kDefaultLayerOffset = 100;

// On the first Fn layer of the current on-board profile (layer id 4 x deviceProfile + 1) the
// keys Q, W and E keep their function: a click or a drop assigns nothing to them.
bool IsLockedKey(int fnLayer, int deviceProfile, int keyCode);

// The key's stored row of layer id fnLayer. A key without a row gets a record of profile 1,
// that layer and key with no function, and *stored says so (the page then changes nothing).
KEY_MACRO_DATA ReadKeyRow(int fnLayer, int keyCode, bool* stored = nullptr);

// The function of a keyboard-shaped picker entry (code, data, extra, label): a key (kind 2
// with the entry's values), or "disabled" (kind 1, value 1) for the no-function entry
// (code 3, data 0, extra 0). The row's kind, values and caption are replaced.
void SetPickerFunction(KEY_MACRO_DATA& row, int code, int data, int extra, const CString& label);
// The kind of function a list group assigns (groups 1 to 6: media, key, function, function,
// macro, mouse); 0 for any other group.
int KindOfListGroup(int group);
// The function of a list entry of a group: the group's kind with the entry's value and caption.
void SetListFunction(KEY_MACRO_DATA& row, int group, int value, const CString& caption);

// A key's own function: kind 2 with its usage and name, or FN1 (kind 12, 0x1FF, "FN1") for the
// Fn key (code 255). The row's kind, values and caption are replaced.
void SetOwnKeyFunction(KEY_MACRO_DATA& row, int keyCode);

// What a reset gives row (of layer id fnLayer) before it is stored:
// - on layer ids other than 0 the key's default row of layer id fnLayer + 100 (kind, values and
//   caption), or no function (kind 0) when the key has none;
// - on layer id 0 the key's own function. A key of a pair (RS, SOCD, OKS) also gives its
//   partner back its own function: the partner's changed row is appended to partners.
// profile, fn_layer and key_code stay as they were.
void ResetKeyRow(KEY_MACRO_DATA& row, int fnLayer, std::vector<KEY_MACRO_DATA>* partners);

// The layout presets of the preset menu, by their menu item ids.
enum LayoutPresetId : int {
  LAYOUT_PRESET_STANDARD = 202,
  LAYOUT_PRESET_MAC = 203,
  LAYOUT_PRESET_STANDARD2 = 204,  // no menu shows it; it means the standard layout too
  LAYOUT_PRESET_DVORAK = 205,
  LAYOUT_PRESET_COLEMAK = 206,
  LAYOUT_PRESET_WORKMAN = 207,
};
struct LayoutPreset;
// The preset of a menu item id, or null.
const LayoutPreset* FindLayoutPreset(int itemId);
// What the preset puts on the key of row: kind 2 with the mapped usage and its name (or the
// preset's own caption), the Fn key FN1.
void SetPresetFunction(KEY_MACRO_DATA& row, const LayoutPreset& preset);

// The rows a new profile starts with: for every key (code, name) in order, twelve rows: layer
// id 0 the key itself (kind 2, its code, its name), layer ids 1 to 11 no function (kind 0).
std::vector<KEY_MACRO_DATA> DefaultKeyRows(int profile, const std::vector<std::pair<int, CString>>& keys);

// The name drawn for a usage (empty when it has none).
CString KeyName(int usage);
