// The vocabulary of key functions. A key's function on one Fn layer is a KEY_MACRO_DATA
// row: its kind (macro_type), three integers and a caption (macro_desc). What each kind
// keeps:
//   1 disabled   value 1; caption the picker's disable entry
//   2 key        value the keyboard usage; value2 0, a modifier usage 0xE0..0xE7 held with
//                it (the picker writes 0xE1 for shifted symbols) or the keyboard's modifier
//                bit mask (as decoded); caption the key's name
//   3 macro      value the macro number 1..10; caption "M%d"
//   5 mouse      value a mouse function 1..8 (kMouseFunctions); caption its language text
//   6 media      value the 16-bit consumer usage; caption from the media table
//   12 function  value the 16-bit function code, low byte the function, high byte its
//                parameter; caption from the function table
//   14..19       advanced keys: value the macro_id of the t_magnetic_key_data row; for RS,
//                SOCD and OKS value2 the pair of keys (first in bits 0..15); caption the
//                kind's name
// The key page offers functions in seven groups (KeyFunctionGroupAt), and the keyboard's
// 3-byte key-map entries decode into rows with DecodeKeyFunction.
//
// Every table here is a compile-time constant and every function is pure apart from the
// language texts it reads, so any thread may call them.
#pragma once

#include <cstdint>

#include "storage/ConfigRecords.h"
#include "ui/core/CString.h"

// Kinds of key function (KEY_MACRO_DATA::macro_type).
enum : int {
  MACRO_TYPE_NONE = 0,
  MACRO_TYPE_DISABLED = 1,
  MACRO_TYPE_KEY = 2,
  MACRO_TYPE_MACRO = 3,
  MACRO_TYPE_MOUSE = 5,
  MACRO_TYPE_MEDIA = 6,
  MACRO_TYPE_FUNCTION = 12,
  MACRO_TYPE_DKS = 14,
  MACRO_TYPE_MT = 15,
  MACRO_TYPE_TGL = 16,
  MACRO_TYPE_RS = 17,
  MACRO_TYPE_SOCD = 18,
  MACRO_TYPE_OKS = 19,
};

// The type byte of a key-map entry (type, b1, b2) as the keyboard stores it.
enum : uint8_t {
  KEYMAP_ENTRY_KEY = 0x10,           // b1 modifier bit mask, b2 keyboard usage
  KEYMAP_ENTRY_MOUSE_BUTTON = 0x20,  // b1 button bit, b2 1 for a double click
  KEYMAP_ENTRY_WHEEL = 0x21,         // b2 1 up, 0xFF down
  KEYMAP_ENTRY_MEDIA = 0x30,         // consumer usage, little-endian
  KEYMAP_ENTRY_MACRO = 0x70,         // b1 macro position from 0
  KEYMAP_ENTRY_DKS = 0x90,
  KEYMAP_ENTRY_TGL = 0x91,
  KEYMAP_ENTRY_MT = 0x92,
  KEYMAP_ENTRY_RS = 0x93,
  KEYMAP_ENTRY_SOCD = 0x94,
  KEYMAP_ENTRY_OKS = 0x95,
  KEYMAP_ENTRY_FUNCTION = 0xF0,      // function code, little-endian
};

// The Fn key of the layouts, and its default function FN1 (kind 12).
constexpr int FN_KEY_CODE = 255;
constexpr int FN1_FUNCTION_CODE = 0x1FF;

// Function code of the layer function FNn: function 0xFF with n as its parameter
// (FN10 and FN11 have parameters 26 and 27).
constexpr int FnLayerFunctionCode(int parameter) { return 0xFF + 256 * parameter; }

// A mouse function (kind 5): its value, its language text, and its key-map entry.
struct MouseFunction {
  int value;
  int textId;
  uint8_t type;
  uint8_t b1;
  uint8_t b2;
};

// The mouse function with this value, or null.
const MouseFunction* FindMouseFunction(int value);

// One tile of a function group: its value, and its caption as a literal, else as language
// text textId, else (both unset) the caption of the value for the group's kind.
struct KeyFunctionEntry {
  int value;
  const wchar_t* caption = nullptr;
  int textId = 0;
};

// A function group of the key page: the language text of its tab, the kind of function it
// assigns and its tiles in order. Group 0 is the keyboard-shaped picker and has no tiles;
// it assigns keys (kind 2), and kind 1 for the picker's disable entry.
struct KeyFunctionGroup {
  int tabTextId;
  int macroType;
  const KeyFunctionEntry* entries;
  int count;
};

constexpr int KEY_FUNCTION_GROUP_COUNT = 7;

// Group 0..6, or null for any other index.
const KeyFunctionGroup* KeyFunctionGroupAt(int group);

// Captions of single values; empty when the value is not in its table.
CString MediaCaption(int usage);
CString FunctionCaption(int code);
CString MouseFunctionCaption(int value);  // the language text; empty also when the text is missing
CString AdvancedKeyKindName(int macroType);
// "M%d" of the macro number, with "\n(%d)" of the event count when it is above 0.
CString MacroCaption(int number, int eventCount);

// The caption of a group's tile; eventCount is the stored event count of a macro tile.
CString KeyFunctionEntryCaption(const KeyFunctionGroup& group, const KeyFunctionEntry& entry, int eventCount = 0);

// Fills macro_type, the three values and macro_desc of row from a 3-byte key-map entry
// (type, b1, b2); the row's other fields stay as the caller set them. macro_type 0 means
// the entry gives no function: an unknown type, an advanced key (its slot says nothing
// without the areas it points into), or a value that none of the tables knows. A null
// entry gives macro_type 0.
void DecodeKeyFunction(const uint8_t* entry, KEY_MACRO_DATA& row);

// The key code that a key-map entry stands for when the keyboard reports key events:
// type 0x10 gives the modifier usage of a single-bit b1 and b2 otherwise; type 0xF0 with
// b1 0xFF gives the Fn key (255); anything else gives 0.
int ModifierBitToUsage(int type, int b1, int b2);
