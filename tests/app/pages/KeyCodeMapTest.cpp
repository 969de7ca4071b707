#include "app/pages/KeyCodeMap.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/pages/KeyFunctionCatalogue.h"

namespace {

int Usage(int code) { return KeyCodeMap::Instance().VirtualKeyToUsage(&code); }

std::wstring Name(int usage) {
  CString out = L"stale";
  return KeyCodeMap::Instance().UsageToKeyName(out, usage).GetString();
}

// Every virtual-key code that has a usage, written out run by run.
std::map<int, int> ExpectedUsages() {
  std::map<int, int> usage;
  auto run = [&usage](int first, int last, int firstUsage) {
    for (int code = first; code <= last; ++code) usage[code] = firstUsage + code - first;
  };
  run('A', 'Z', 4);
  run('1', '9', 30);
  run(VK_F1, VK_F12, 58);
  run(VK_F13, VK_F24, 104);
  run(VK_NUMPAD1, VK_NUMPAD9, 89);
  run(136, 139, 136);
  const std::pair<int, int> singles[] = {
      {'0', 39}, {VK_RETURN, 40}, {VK_ESCAPE, 41}, {VK_BACK, 42}, {VK_TAB, 43}, {VK_SPACE, 44},
      {VK_OEM_MINUS, 45}, {VK_OEM_PLUS, 46}, {VK_OEM_4, 47}, {VK_OEM_6, 48}, {VK_OEM_5, 49}, {666, 50},
      {VK_OEM_1, 51}, {VK_OEM_7, 52}, {VK_OEM_3, 53}, {VK_OEM_COMMA, 54}, {VK_OEM_PERIOD, 55}, {VK_OEM_2, 56},
      {VK_CAPITAL, 57}, {VK_SNAPSHOT, 70}, {VK_SCROLL, 71}, {VK_PAUSE, 72}, {VK_INSERT, 73}, {VK_HOME, 74},
      {VK_PRIOR, 75}, {VK_DELETE, 76}, {VK_END, 77}, {VK_NEXT, 78}, {VK_RIGHT, 79}, {VK_LEFT, 80},
      {VK_DOWN, 81}, {VK_UP, 82}, {VK_NUMLOCK, 83}, {VK_DIVIDE, 84}, {VK_MULTIPLY, 85}, {VK_SUBTRACT, 86},
      {VK_ADD, 87}, {VK_SEPARATOR, 88}, {VK_NUMPAD0, 98}, {VK_DECIMAL, 99},
      {VK_LCONTROL, 224}, {VK_LSHIFT, 225}, {VK_LMENU, 226}, {VK_LWIN, 227},
      {VK_RCONTROL, 228}, {VK_RSHIFT, 229}, {VK_RMENU, 230}, {VK_RWIN, 231}, {VK_APPS, 101},
      {254, 255}, {VK_OEM_102, 100}, {301, 236}, {302, 235},
      {VK_BROWSER_BACK, 0x224}, {VK_BROWSER_FORWARD, 0x225}, {VK_BROWSER_REFRESH, 0x227},
      {VK_BROWSER_STOP, 0x226}, {VK_BROWSER_SEARCH, 0x221}, {VK_BROWSER_FAVORITES, 0x22A},
      {VK_BROWSER_HOME, 0x223}, {VK_VOLUME_MUTE, 0xE2}, {VK_VOLUME_DOWN, 0xEA}, {VK_VOLUME_UP, 0xE9},
      {VK_MEDIA_NEXT_TRACK, 0xB5}, {VK_MEDIA_PREV_TRACK, 0xB6}, {VK_MEDIA_STOP, 0xB7},
      {VK_MEDIA_PLAY_PAUSE, 0xCD}, {VK_LAUNCH_MAIL, 0x18A}, {VK_LAUNCH_MEDIA_SELECT, 0x183},
      {VK_LAUNCH_APP1, 0x192}, {VK_LAUNCH_APP2, 0x194},
  };
  for (const auto& [code, u] : singles) usage[code] = u;
  return usage;
}

// Every usage that has a caption.
std::map<int, std::wstring> ExpectedNames() {
  std::map<int, std::wstring> name;
  for (int i = 0; i < 26; ++i) name[4 + i] = std::wstring(1, static_cast<wchar_t>(L'A' + i));
  for (int i = 1; i <= 9; ++i) name[29 + i] = std::to_wstring(i);
  for (int i = 1; i <= 12; ++i) name[57 + i] = L"F" + std::to_wstring(i);
  for (int i = 13; i <= 24; ++i) name[91 + i] = L"F" + std::to_wstring(i);
  for (int i = 1; i <= 9; ++i) name[88 + i] = L"Num " + std::to_wstring(i);
  const std::pair<int, const wchar_t*> singles[] = {
      {39, L"0"}, {40, L"Enter"}, {41, L"Esc"}, {42, L"Backspace"}, {43, L"Tab"}, {44, L"Space"}, {45, L"-"},
      {46, L"="}, {47, L"["}, {48, L"]"}, {49, L"\\"}, {51, L";"}, {52, L"'"}, {53, L"~"}, {54, L","},
      {55, L"."}, {56, L"/"}, {57, L"Caps"}, {70, L"Print"}, {71, L"Scrl"}, {72, L"Pause"}, {73, L"Ins"},
      {74, L"Home"}, {75, L"PgUp"}, {76, L"Del"}, {77, L"End"}, {78, L"PgDn"}, {79, L"\u2192"},
      {80, L"\u2190"}, {81, L"\u2193"}, {82, L"\u2191"}, {83, L"Num Lock"}, {84, L"Num /"}, {85, L"Num *"},
      {86, L"Num -"}, {87, L"Num +"}, {88, L"Num Enter"}, {101, L"App"}, {224, L"Ctrl"}, {228, L"Ctrl"},
      {225, L"Shift"}, {229, L"Shift"}, {226, L"Alt"}, {230, L"Alt"}, {227, L"Win"}, {255, L"FN1"},
  };
  for (const auto& [usage, text] : singles) name[usage] = text;
  return name;
}

TEST(KeyCodeMapTest, EveryVirtualKeyGivesItsUsageAndEveryOtherCodeZero) {
  const std::map<int, int> expected = ExpectedUsages();
  for (int code = -300; code <= 1100; ++code) {
    const auto row = expected.find(code);
    EXPECT_EQ(row == expected.end() ? 0 : row->second, Usage(code)) << "virtual-key code " << code;
  }
  struct Case {
    int code;
    int usage;
    const char* why;
  } const cases[] = {
      {65, 4, "A"},
      {48, 39, "0 comes after 9"},
      {124, 104, "F13 continues at 104"},
      {173, 0xE2, "Mute shares 0xE2 with Left Alt"},
      {164, 0xE2, "Left Alt"},
      {182, 0x192, "a consumer usage"},
      {255, 0, "no key"},
      {-1, 0, "negative"},
      {1000, 0, "beyond every table"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.usage, Usage(c.code)) << c.why;
  EXPECT_EQ(0, KeyCodeMap::Instance().VirtualKeyToUsage(nullptr));
}

TEST(KeyCodeMapTest, EveryUsageGivesItsCaptionAndEveryOtherAnEmptyOne) {
  const std::map<int, std::wstring> expected = ExpectedNames();
  for (int usage = -10; usage <= 0x300; ++usage) {
    const auto row = expected.find(usage);
    EXPECT_EQ(row == expected.end() ? L"" : row->second, Name(usage)) << "usage " << usage;
  }
  for (int usage : {0, 50, 98, 99, 100, 231, 0x1000, 0x10000 + 4}) EXPECT_EQ(L"", Name(usage)) << usage;
  CString out;
  EXPECT_EQ(&out, &KeyCodeMap::Instance().UsageToKeyName(out, 53)) << "returns the string it filled";
  EXPECT_STREQ(L"~", out.GetString());
}

TEST(KeyCodeMapTest, ModifierUsagesAndKeyboardBitsConvertBothWays) {
  const KeyCodeMap& map = KeyCodeMap::Instance();
  for (int n = 0; n < 8; ++n) {
    const int usage = 224 + n;
    const int bit = map.ModifierUsageToBit(usage);
    EXPECT_EQ(1 << n, bit) << "usage " << usage;
    EXPECT_EQ(usage, ModifierBitToUsage(KEYMAP_ENTRY_KEY, bit, 0x04)) << "bit " << bit;
  }
  for (int value : {4, 5, 0, 223, 232, 255, -1, 0x1E1}) {
    EXPECT_EQ(value, map.ModifierUsageToBit(value)) << value << " is not a modifier usage and passes through";
  }
  EXPECT_EQ(&map, &KeyCodeMap::Instance());
}

}  // namespace
