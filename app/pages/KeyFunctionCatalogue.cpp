#include "app/pages/KeyFunctionCatalogue.h"

#include <cstddef>

#include "app/Language.h"
#include "app/pages/KeyCodeMap.h"

namespace {

template <typename Row, size_t N>
constexpr int CountOf(const Row (&)[N]) {
  return static_cast<int>(N);
}

// Mouse functions in the order the mouse group lists them. A button entry is matched by b1,
// the wheel by b2; the double click is the only row that needs both bytes.
constexpr MouseFunction kMouseFunctions[] = {
    {1, 151, KEYMAP_ENTRY_MOUSE_BUTTON, 0x01, 0x00},  // left button
    {2, 152, KEYMAP_ENTRY_MOUSE_BUTTON, 0x04, 0x00},  // middle button
    {3, 153, KEYMAP_ENTRY_MOUSE_BUTTON, 0x02, 0x00},  // right button
    {4, 154, KEYMAP_ENTRY_MOUSE_BUTTON, 0x01, 0x01},  // double click
    {7, 155, KEYMAP_ENTRY_MOUSE_BUTTON, 0x10, 0x00},  // forward
    {8, 156, KEYMAP_ENTRY_MOUSE_BUTTON, 0x08, 0x00},  // back
    {5, 157, KEYMAP_ENTRY_WHEEL, 0x00, 0x01},         // wheel up
    {6, 158, KEYMAP_ENTRY_WHEEL, 0x00, 0xFF},         // wheel down
};

// The media table: consumer usages and their captions, in the order the media group lists them.
constexpr KeyFunctionEntry kMediaFunctions[] = {
    {0x183, L"Player", 0},        {0xE9, L"Vol+", 0},           {0xEA, L"Vol-", 0},
    {0xE2, L"Mute", 0},           {0xCD, L"Play", 0},           {0xB7, L"Stop", 0},
    {0xB6, L"Previous", 0},       {0xB5, L"Next", 0},           {0x6F, L"Screen Bright+", 0},
    {0x70, L"Screen Bright-", 0}, {0x223, L"Web Home", 0},      {0x227, L"Web Refresh", 0},
    {0x226, L"Web Stop", 0},      {0x224, L"Web Backward", 0},  {0x225, L"Web Forward", 0},
    {0x22A, L"Web Favorites", 0}, {0x221, L"Web Search", 0},    {0x194, L"PC", 0},
    {0x192, L"Calculator", 0},    {0x18A, L"Email", 0},
};

struct FunctionName {
  int code;
  const wchar_t* caption;
};

// Captions of the function codes (kind 12), family by family.
constexpr FunctionName kFunctionNames[] = {
    // Single functions, parameter 0.
    {1, L"Lock"}, {2, L"WinLock"}, {3, L"WASD Change"}, {4, L"WinOS"}, {5, L"MacOS"}, {6, L"Win/Mac"},
    {7, L"Boot"}, {8, L"Reset"}, {9, L"Wheel"}, {0x42, L"RF ADV"}, {254, L"Recalibration"},
    {253, L"板载1"}, {252, L"板载2"}, {251, L"板载3"},
    // Connection modes: function 0x40, the mode as parameter.
    {0x0040, L"USB"}, {0x0140, L"BT1"}, {0x0240, L"BT2"}, {0x0340, L"BT3"}, {0x0440, L"RF 2.4G"},
    // Layers: function 0xFF, the layer as parameter.
    {FnLayerFunctionCode(0), L"标准层"}, {FnLayerFunctionCode(1), L"FN1"}, {FnLayerFunctionCode(2), L"FN2"},
    {FnLayerFunctionCode(3), L"FN3"}, {FnLayerFunctionCode(4), L"FN4"}, {FnLayerFunctionCode(5), L"FN5"},
    {FnLayerFunctionCode(6), L"FN6"}, {FnLayerFunctionCode(7), L"FN7"}, {FnLayerFunctionCode(8), L"FN8"},
    {FnLayerFunctionCode(9), L"FN9"}, {FnLayerFunctionCode(26), L"FN10"}, {FnLayerFunctionCode(27), L"FN11"},
    // Lighting functions, parameter 0.
    {46, L"RGB Mode-"}, {47, L"RGB Mode+"}, {48, L"RGB Mode"}, {49, L"RGB Test"}, {50, L"Bright+"},
    {51, L"Bright-"}, {52, L"Bright"}, {53, L"Bright Off"}, {54, L"Speed+"}, {55, L"Speed-"}, {56, L"Speed"},
    {57, L"Light Left"}, {58, L"Light Right"}, {59, L"Light Trend"}, {60, L"Color +"}, {61, L"Color -"},
    {62, L"Color"},
};

constexpr FunctionName kAdvancedKeyNames[] = {
    {MACRO_TYPE_DKS, L"DKS"}, {MACRO_TYPE_MT, L"MT"},     {MACRO_TYPE_TGL, L"TGL"},
    {MACRO_TYPE_RS, L"RS"},   {MACRO_TYPE_SOCD, L"SOCD"}, {MACRO_TYPE_OKS, L"OKS"},
};

// The tiles of groups 2 to 6. A tile without caption or text takes its value's caption.
constexpr KeyFunctionEntry kExtraKeys[] = {
    {104}, {105}, {106}, {107}, {108}, {109}, {110}, {111}, {112}, {113}, {114}, {115},  // F13..F24
    {50, L"NUHS"}, {100, L"NUBS"}, {135, L"Ro"}, {137, L"￥"}, {248, L"Reset"}, {139, L"無変換"},
    {145, L"漢字"}, {144, L"한영"}, {138, L"変換"}, {136, L"かな"},
};

constexpr KeyFunctionEntry kFnFunctions[] = {
    {1}, {2, L"Win\nLock"}, {3}, {7}, {8}, {FnLayerFunctionCode(0), nullptr, 150},
    {FnLayerFunctionCode(1)}, {FnLayerFunctionCode(2)}, {FnLayerFunctionCode(3)}, {FnLayerFunctionCode(4)},
    {FnLayerFunctionCode(5)}, {FnLayerFunctionCode(6)}, {FnLayerFunctionCode(7)}, {FnLayerFunctionCode(8)},
    {FnLayerFunctionCode(9)}, {FnLayerFunctionCode(26)}, {FnLayerFunctionCode(27)},
};

constexpr KeyFunctionEntry kLightingFunctions[] = {
    {46}, {47}, {48}, {49}, {51}, {50}, {52}, {53}, {55}, {54}, {56}, {57}, {58}, {59}, {60}, {61}, {62},
};

constexpr KeyFunctionEntry kMacros[] = {{1}, {2}, {3}, {4}, {5}, {6}, {7}, {8}, {9}, {10}};

constexpr KeyFunctionEntry kMouseGroup[] = {{1}, {2}, {3}, {4}, {7}, {8}, {5}, {6}};

constexpr KeyFunctionGroup kGroups[KEY_FUNCTION_GROUP_COUNT] = {
    {120, MACRO_TYPE_KEY, nullptr, 0},
    {121, MACRO_TYPE_MEDIA, kMediaFunctions, CountOf(kMediaFunctions)},
    {122, MACRO_TYPE_KEY, kExtraKeys, CountOf(kExtraKeys)},
    {123, MACRO_TYPE_FUNCTION, kFnFunctions, CountOf(kFnFunctions)},
    {124, MACRO_TYPE_FUNCTION, kLightingFunctions, CountOf(kLightingFunctions)},
    {125, MACRO_TYPE_MACRO, kMacros, CountOf(kMacros)},
    {126, MACRO_TYPE_MOUSE, kMouseGroup, CountOf(kMouseGroup)},
};

template <typename Row, size_t N>
const wchar_t* FindCaption(const Row (&rows)[N], int value) {
  for (const Row& row : rows) {
    if (row.code == value) return row.caption;
  }
  return nullptr;
}

CString LanguageText(int textId) { return LoadLanString(L"KB.DIALOG", textId); }

// A button entry names its button in b1 and a wheel entry its direction in b2; bytes the
// row leaves 0 are not looked at, once no row matches the entry exactly.
const MouseFunction* MatchMouseFunction(int type, int b1, int b2) {
  for (const MouseFunction& f : kMouseFunctions) {
    if (f.type == type && f.b1 == b1 && f.b2 == b2) return &f;
  }
  for (const MouseFunction& f : kMouseFunctions) {
    if (f.type == type && (f.b1 == 0 || f.b1 == b1) && (f.b2 == 0 || f.b2 == b2)) return &f;
  }
  return nullptr;
}

// The modifier usage of a mask with exactly one of the eight modifier bits set, else 0.
int SingleModifierUsage(int mask) {
  for (int bit = 0; bit < 8; ++bit) {
    if (mask == (1 << bit)) return kFirstModifierUsage + bit;
  }
  return 0;
}

}  // namespace

const MouseFunction* FindMouseFunction(int value) {
  for (const MouseFunction& f : kMouseFunctions) {
    if (f.value == value) return &f;
  }
  return nullptr;
}

const KeyFunctionGroup* KeyFunctionGroupAt(int group) {
  if (group < 0 || group >= KEY_FUNCTION_GROUP_COUNT) return nullptr;
  return &kGroups[group];
}

CString MediaCaption(int usage) {
  for (const KeyFunctionEntry& row : kMediaFunctions) {
    if (row.value == usage) return row.caption;
  }
  return CString();
}

CString FunctionCaption(int code) { return FindCaption(kFunctionNames, code); }

CString AdvancedKeyKindName(int macroType) { return FindCaption(kAdvancedKeyNames, macroType); }

CString MouseFunctionCaption(int value) {
  const MouseFunction* f = FindMouseFunction(value);
  return f ? LanguageText(f->textId) : CString();
}

CString MacroCaption(int number, int eventCount) {
  CString caption;
  if (eventCount > 0) {
    caption.Format(L"M%d\n(%d)", number, eventCount);
  } else {
    caption.Format(L"M%d", number);
  }
  return caption;
}

CString KeyFunctionEntryCaption(const KeyFunctionGroup& group, const KeyFunctionEntry& entry, int eventCount) {
  if (entry.caption) return entry.caption;
  if (entry.textId) return LanguageText(entry.textId);
  CString caption;
  switch (group.macroType) {
    case MACRO_TYPE_KEY: KeyCodeMap::Instance().UsageToKeyName(caption, entry.value); break;
    case MACRO_TYPE_MACRO: caption = MacroCaption(entry.value, eventCount); break;
    case MACRO_TYPE_MOUSE: caption = MouseFunctionCaption(entry.value); break;
    case MACRO_TYPE_MEDIA: caption = MediaCaption(entry.value); break;
    case MACRO_TYPE_FUNCTION: caption = FunctionCaption(entry.value); break;
    default: break;
  }
  return caption;
}

void DecodeKeyFunction(const uint8_t* entry, KEY_MACRO_DATA& row) {
  row.macro_type = MACRO_TYPE_NONE;
  row.macro_value = row.macro_value2 = row.macro_value3 = 0;
  row.macro_desc.Empty();
  if (!entry) return;
  const int type = entry[0], b1 = entry[1], b2 = entry[2];
  switch (type) {
    case KEYMAP_ENTRY_KEY:
      row.macro_type = MACRO_TYPE_KEY;
      if (b1 == 0) {
        row.macro_value = b2;
      } else if (b2 != 0) {
        row.macro_value = b2;
        row.macro_value2 = b1;  // the keyboard's modifier mask, kept as it came
      } else {
        row.macro_value = SingleModifierUsage(b1);
      }
      KeyCodeMap::Instance().UsageToKeyName(row.macro_desc, row.macro_value);
      break;
    case KEYMAP_ENTRY_MOUSE_BUTTON:
    case KEYMAP_ENTRY_WHEEL:
      // The kind rests on the table alone: a missing language text must not lose the key.
      if (const MouseFunction* f = MatchMouseFunction(type, b1, b2)) {
        row.macro_type = MACRO_TYPE_MOUSE;
        row.macro_value = f->value;
        row.macro_desc = LanguageText(f->textId);
      }
      return;
    case KEYMAP_ENTRY_MEDIA:
      row.macro_type = MACRO_TYPE_MEDIA;
      row.macro_value = b1 + 256 * b2;
      row.macro_value2 = b2;
      row.macro_desc = MediaCaption(row.macro_value);
      break;
    case KEYMAP_ENTRY_MACRO:
      row.macro_type = MACRO_TYPE_MACRO;
      row.macro_value = b1 + 1;
      row.macro_value2 = b2;
      row.macro_desc = MacroCaption(row.macro_value, 0);
      break;
    case KEYMAP_ENTRY_FUNCTION:
      row.macro_type = MACRO_TYPE_FUNCTION;
      row.macro_value = b1 + 256 * b2;
      row.macro_desc = FunctionCaption(row.macro_value);
      break;
    default:
      return;  // advanced keys and unknown types give no function
  }
  // A value that no table names gives no function.
  if (row.macro_desc.IsEmpty()) row.macro_type = MACRO_TYPE_NONE;
}

int ModifierBitToUsage(int type, int b1, int b2) {
  if (type == KEYMAP_ENTRY_KEY) {
    const int modifier = SingleModifierUsage(b1);
    return modifier ? modifier : b2;
  }
  if (type == KEYMAP_ENTRY_FUNCTION && b1 == 0xFF) return FN_KEY_CODE;
  return 0;
}
