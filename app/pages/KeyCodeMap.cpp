#include "app/pages/KeyCodeMap.h"

namespace {

// Virtual-key codes first..last give usages firstUsage, firstUsage + 1, ...; rows are tried
// in order and the first that holds the code wins.
struct VirtualKeyRun {
  int first;
  int last;
  int firstUsage;
};

constexpr VirtualKeyRun kVirtualKeyRuns[] = {
    {65, 90, 4},    // A..Z
    {49, 57, 30},   // 1..9
    {48, 48, 39},   // 0
    {13, 13, 40},   // Enter
    {27, 27, 41},   // Esc
    {8, 8, 42},     // Backspace
    {9, 9, 43},     // Tab
    {32, 32, 44},   // Space
    {189, 189, 45}, {187, 187, 46}, {219, 219, 47}, {221, 221, 48}, {220, 220, 49}, {666, 666, 50},
    {186, 186, 51}, {222, 222, 52}, {192, 192, 53}, {188, 188, 54}, {190, 190, 55}, {191, 191, 56},
    {20, 20, 57},     // Caps Lock
    {112, 123, 58},   // F1..F12
    {124, 135, 104},  // F13..F24
    {44, 44, 70},     // Print Screen
    {145, 145, 71},   // Scroll Lock
    {19, 19, 72},     // Pause
    {45, 45, 73},     // Insert
    {36, 36, 74},     // Home
    {33, 33, 75},     // Page Up
    {46, 46, 76},     // Delete
    {35, 35, 77},     // End
    {34, 34, 78},     // Page Down
    {39, 39, 79},     // Right
    {37, 37, 80},     // Left
    {40, 40, 81},     // Down
    {38, 38, 82},     // Up
    {144, 144, 83},   // Num Lock
    {111, 111, 84}, {106, 106, 85}, {109, 109, 86}, {107, 107, 87},
    {108, 108, 88},   // keypad Enter
    {97, 105, 89},    // keypad 1..9
    {96, 96, 98},     // keypad 0
    {110, 110, 99},   // keypad point
    {162, 162, 224},  // Left Ctrl
    {160, 160, 225},  // Left Shift
    {164, 164, 226},  // Left Alt
    {91, 91, 227},    // Left GUI
    {163, 163, 228}, {161, 161, 229}, {165, 165, 230},
    {92, 92, 231},    // Right GUI
    {93, 93, 101},    // Application
    {254, 254, 255},  // the Fn key of the layouts
    {226, 226, 100},  // non-US backslash
    {136, 139, 136},  // these four keep their number
    {301, 301, 236}, {302, 302, 235},
    // Media keys give consumer-page usages.
    {166, 166, 0x224}, {167, 167, 0x225}, {168, 168, 0x227}, {169, 169, 0x226}, {170, 170, 0x221},
    {171, 171, 0x22A}, {172, 172, 0x223}, {173, 173, 0xE2}, {174, 174, 0xEA}, {175, 175, 0xE9},
    {176, 176, 0xB5}, {177, 177, 0xB6}, {178, 178, 0xB7}, {179, 179, 0xCD}, {180, 180, 0x18A},
    {181, 181, 0x183}, {182, 182, 0x192}, {183, 183, 0x194},
};

struct KeyCaption {
  int usage;
  const wchar_t* caption;
};

constexpr KeyCaption kKeyCaptions[] = {
    {4, L"A"}, {5, L"B"}, {6, L"C"}, {7, L"D"}, {8, L"E"}, {9, L"F"}, {10, L"G"}, {11, L"H"}, {12, L"I"},
    {13, L"J"}, {14, L"K"}, {15, L"L"}, {16, L"M"}, {17, L"N"}, {18, L"O"}, {19, L"P"}, {20, L"Q"}, {21, L"R"},
    {22, L"S"}, {23, L"T"}, {24, L"U"}, {25, L"V"}, {26, L"W"}, {27, L"X"}, {28, L"Y"}, {29, L"Z"},
    {30, L"1"}, {31, L"2"}, {32, L"3"}, {33, L"4"}, {34, L"5"}, {35, L"6"}, {36, L"7"}, {37, L"8"}, {38, L"9"},
    {39, L"0"},
    {40, L"Enter"}, {41, L"Esc"}, {42, L"Backspace"}, {43, L"Tab"}, {44, L"Space"}, {45, L"-"}, {46, L"="},
    {47, L"["}, {48, L"]"}, {49, L"\\"}, {51, L";"}, {52, L"'"}, {53, L"~"}, {54, L","}, {55, L"."}, {56, L"/"},
    {57, L"Caps"},
    {58, L"F1"}, {59, L"F2"}, {60, L"F3"}, {61, L"F4"}, {62, L"F5"}, {63, L"F6"}, {64, L"F7"}, {65, L"F8"},
    {66, L"F9"}, {67, L"F10"}, {68, L"F11"}, {69, L"F12"},
    {70, L"Print"}, {71, L"Scrl"}, {72, L"Pause"}, {73, L"Ins"}, {74, L"Home"}, {75, L"PgUp"}, {76, L"Del"},
    {77, L"End"}, {78, L"PgDn"}, {79, L"→"}, {80, L"←"}, {81, L"↓"}, {82, L"↑"},
    {83, L"Num Lock"}, {84, L"Num /"}, {85, L"Num *"}, {86, L"Num -"}, {87, L"Num +"}, {88, L"Num Enter"},
    {89, L"Num 1"}, {90, L"Num 2"}, {91, L"Num 3"}, {92, L"Num 4"}, {93, L"Num 5"}, {94, L"Num 6"},
    {95, L"Num 7"}, {96, L"Num 8"}, {97, L"Num 9"},
    {101, L"App"},
    {104, L"F13"}, {105, L"F14"}, {106, L"F15"}, {107, L"F16"}, {108, L"F17"}, {109, L"F18"},
    {110, L"F19"}, {111, L"F20"}, {112, L"F21"}, {113, L"F22"}, {114, L"F23"}, {115, L"F24"},
    {224, L"Ctrl"}, {225, L"Shift"}, {226, L"Alt"}, {227, L"Win"}, {228, L"Ctrl"}, {229, L"Shift"}, {230, L"Alt"},
    {255, L"FN1"},
};

}  // namespace

KeyCodeMap& KeyCodeMap::Instance() {
  // Stateless, so one static object serves every thread; C++ makes its construction safe.
  static KeyCodeMap instance;
  return instance;
}

int KeyCodeMap::VirtualKeyToUsage(const int* code) const {
  if (!code) return 0;
  for (const VirtualKeyRun& run : kVirtualKeyRuns) {
    if (*code >= run.first && *code <= run.last) return run.firstUsage + (*code - run.first);
  }
  return 0;
}

int KeyCodeMap::ModifierUsageToBit(int usage) const {
  if (usage < kFirstModifierUsage || usage > kLastModifierUsage) return usage;
  return 1 << (usage - kFirstModifierUsage);
}

CString& KeyCodeMap::UsageToKeyName(CString& out, int usage) const {
  out.Empty();
  for (const KeyCaption& row : kKeyCaptions) {
    if (row.usage == usage) {
      out = row.caption;
      break;
    }
  }
  return out;
}
