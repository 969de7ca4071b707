// The built-in layout of the keyboard-shaped key pickers: 131 entries (the function-key row,
// main block, navigation cluster, numeric keypad, and a row with the no-function cell and the
// twenty shifted symbols), each a caption, a keyboard usage and a modifier, with one cell per
// entry in each of two geometries: 45-pixel keys and the compact 30-pixel keys. The entries'
// order is their index in a picker. Constant data; any thread.
#pragma once

#include <windows.h>

#include "ui/core/TeskApi.h"

namespace TESK {

struct KeyPickerEntry {
  const wchar_t* label;         // in the 45-pixel picker
  const wchar_t* compactLabel;  // in the 30-pixel picker
  int usage;                    // HID Keyboard/Keypad page; 0x03 for the no-function cell
  int data;                     // 0xE1 (Left Shift) for the shifted symbols, else 0
};

constexpr int kKeyPickerEntryCount = 131;
// The no-function cell: an assignment of exactly (usage 0x03, data 0) disables a key.
constexpr int kNoFunctionUsage = 0x03;
constexpr int kShiftedData = 0xE1;

// The entries, in index order (kKeyPickerEntryCount of them).
TESK_API const KeyPickerEntry* KeyPickerEntries();

// A picker's cells in entry order, in control coordinates before scrolling, and the height
// of its content (the last cell's bottom plus 10).
struct KeyPickerGeometry {
  const RECT* cells;
  int contentHeight;
  bool compact;  // takes the entries' compact labels
};

TESK_API const KeyPickerGeometry& KeyPickerFullGeometry();
TESK_API const KeyPickerGeometry& KeyPickerCompactGeometry();

}  // namespace TESK
