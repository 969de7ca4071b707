#include "app/pages/KeyFunctionCatalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "RecordingShell.h"
#include "app/pages/KeyCodeMap.h"

namespace {

// A row as the device link hands it over: its own fields set, the function fields stale.
KEY_MACRO_DATA CallerRow() {
  KEY_MACRO_DATA row;
  row.key_id = 7, row.profile = 1, row.fn_layer = 102, row.key_code = 0x2C;
  row.macro_type = 99, row.macro_value = 98, row.macro_value2 = 97, row.macro_value3 = 96;
  row.macro_desc = L"stale";
  return row;
}

KEY_MACRO_DATA Decoded(int type, int b1, int b2) {
  const uint8_t entry[3] = {static_cast<uint8_t>(type), static_cast<uint8_t>(b1), static_cast<uint8_t>(b2)};
  KEY_MACRO_DATA row = CallerRow();
  DecodeKeyFunction(entry, row);
  return row;
}

std::string Hex(int type, int b1, int b2) {
  char text[32];
  snprintf(text, sizeof text, "(0x%02X, 0x%02X, 0x%02X)", type, b1, b2);
  return text;
}

void ExpectCallerFieldsKept(const KEY_MACRO_DATA& row, const std::string& what) {
  EXPECT_EQ(7, row.key_id) << what;
  EXPECT_EQ(1, row.profile) << what;
  EXPECT_EQ(102, row.fn_layer) << what;
  EXPECT_EQ(0x2C, row.key_code) << what;
}

TEST(DecodeKeyFunctionTest, DecodesEachKindOfEntry) {
  struct Case {
    uint8_t type, b1, b2;
    int kind, value, value2;
    std::wstring caption;
  } const cases[] = {
      {0x10, 0x00, 0x04, 2, 4, 0, L"A"},
      {0x10, 0x02, 0x04, 2, 4, 2, L"A"},                  // the modifier mask stays as it came
      {0x10, 0x22, 0x1E, 2, 0x1E, 0x22, L"1"},            // two modifiers with a key
      {0x10, 0x02, 0x00, 2, 225, 0, L"Shift"},            // a lone modifier
      {0x10, 0x80, 0x00, 2, 231, 0, L""},                 // Right GUI has no caption: no function
      {0x10, 0x00, 0xFF, 2, 255, 0, L"FN1"},
      {0x20, 0x01, 0x00, 5, 1, 0, testsupport::LanText(151).GetString()},
      {0x20, 0x01, 0x01, 5, 4, 0, testsupport::LanText(154).GetString()},
      {0x20, 0x01, 0x07, 5, 1, 0, testsupport::LanText(151).GetString()},  // only a double click looks at b2
      {0x20, 0x04, 0x00, 5, 2, 0, testsupport::LanText(152).GetString()},
      {0x20, 0x02, 0x00, 5, 3, 0, testsupport::LanText(153).GetString()},
      {0x20, 0x10, 0x00, 5, 7, 0, testsupport::LanText(155).GetString()},
      {0x20, 0x08, 0x00, 5, 8, 0, testsupport::LanText(156).GetString()},
      {0x21, 0x00, 0x01, 5, 5, 0, testsupport::LanText(157).GetString()},
      {0x21, 0x03, 0xFF, 5, 6, 0, testsupport::LanText(158).GetString()},  // the wheel looks at b2 only
      {0x30, 0x83, 0x01, 6, 0x183, 1, L"Player"},
      {0x30, 0x23, 0x02, 6, 0x223, 2, L"Web Home"},
      {0x30, 0xE2, 0x00, 6, 0xE2, 0, L"Mute"},
      {0x70, 0x02, 0x01, 3, 3, 1, L"M3"},
      {0x70, 0x00, 0x00, 3, 1, 0, L"M1"},
      {0xF0, 0xFF, 0x01, 12, 0x1FF, 0, L"FN1"},
      {0xF0, 0x01, 0x00, 12, 1, 0, L"Lock"},
      {0xF0, 0x02, 0x00, 12, 2, 0, L"WinLock"},
      {0xF0, 0xFF, 0x00, 12, 0xFF, 0, L"标准层"},
  };
  for (const Case& c : cases) {
    const std::string what = Hex(c.type, c.b1, c.b2);
    const KEY_MACRO_DATA row = Decoded(c.type, c.b1, c.b2);
    EXPECT_EQ(c.caption.empty() ? 0 : c.kind, row.macro_type) << what;
    EXPECT_EQ(c.value, row.macro_value) << what;
    EXPECT_EQ(c.value2, row.macro_value2) << what;
    EXPECT_EQ(0, row.macro_value3) << what;
    EXPECT_EQ(c.caption, row.macro_desc.GetString()) << what;
    ExpectCallerFieldsKept(row, what);
  }
}

TEST(DecodeKeyFunctionTest, EntriesWithoutAFunctionGiveKindZero) {
  std::vector<std::array<int, 3>> entries = {
      {0x00, 0x00, 0x00}, {0x00, 0x01, 0x04}, {0xFF, 0xFF, 0xFF}, {0x11, 0x00, 0x04}, {0x80, 0x01, 0x01},
      {0x10, 0x00, 0x00},  // no key
      {0x10, 0x03, 0x00},  // two modifiers without a key: no single usage
      {0x10, 0x00, 0x32},  // a usage without caption
      {0x20, 0x00, 0x00}, {0x20, 0x03, 0x00}, {0x20, 0x20, 0x01}, {0x21, 0x01, 0x00}, {0x21, 0x00, 0x02},
      {0x30, 0x00, 0x00}, {0x30, 0xE3, 0x00}, {0x30, 0x83, 0x02},
      {0xF0, 0x00, 0x00}, {0xF0, 0xFF, 0x0A}, {0xF0, 0x40, 0x05}, {0xF0, 0x01, 0x01}, {0xF0, 0x3F, 0x00},
  };
  for (int type = 0x90; type <= 0x95; ++type) entries.push_back({type, 0x01, 0x02});
  for (const auto& e : entries) {
    const std::string what = Hex(e[0], e[1], e[2]);
    const KEY_MACRO_DATA row = Decoded(e[0], e[1], e[2]);
    EXPECT_EQ(0, row.macro_type) << what;
    EXPECT_EQ(L"", std::wstring(row.macro_desc.GetString())) << what;
    ExpectCallerFieldsKept(row, what);
  }
  KEY_MACRO_DATA row = CallerRow();
  DecodeKeyFunction(nullptr, row);
  EXPECT_EQ(0, row.macro_type);
  ExpectCallerFieldsKept(row, "null entry");
}

TEST(DecodeKeyFunctionTest, ReadsBackEveryMediaAndFunctionCaption) {
  const std::pair<int, const wchar_t*> media[] = {
      {0x183, L"Player"}, {0xE9, L"Vol+"}, {0xEA, L"Vol-"}, {0xE2, L"Mute"}, {0xCD, L"Play"},
      {0xB7, L"Stop"}, {0xB6, L"Previous"}, {0xB5, L"Next"}, {0x6F, L"Screen Bright+"},
      {0x70, L"Screen Bright-"}, {0x223, L"Web Home"}, {0x227, L"Web Refresh"}, {0x226, L"Web Stop"},
      {0x224, L"Web Backward"}, {0x225, L"Web Forward"}, {0x22A, L"Web Favorites"}, {0x221, L"Web Search"},
      {0x194, L"PC"}, {0x192, L"Calculator"}, {0x18A, L"Email"},
  };
  for (const auto& [usage, caption] : media) {
    const KEY_MACRO_DATA row = Decoded(0x30, usage & 0xFF, usage >> 8);
    EXPECT_EQ(6, row.macro_type) << caption;
    EXPECT_EQ(usage, row.macro_value) << caption;
    EXPECT_STREQ(caption, row.macro_desc.GetString());
  }
  std::vector<std::pair<int, std::wstring>> functions = {
      {1, L"Lock"}, {2, L"WinLock"}, {3, L"WASD Change"}, {4, L"WinOS"}, {5, L"MacOS"}, {6, L"Win/Mac"},
      {7, L"Boot"}, {8, L"Reset"}, {9, L"Wheel"}, {0x42, L"RF ADV"}, {254, L"Recalibration"},
      {253, L"板载1"}, {252, L"板载2"}, {251, L"板载3"},
      {0x40, L"USB"}, {0x140, L"BT1"}, {0x240, L"BT2"}, {0x340, L"BT3"}, {0x440, L"RF 2.4G"},
      {0xFF, L"标准层"}, {0x1AFF, L"FN10"}, {0x1BFF, L"FN11"},
      {46, L"RGB Mode-"}, {47, L"RGB Mode+"}, {48, L"RGB Mode"}, {49, L"RGB Test"}, {50, L"Bright+"},
      {51, L"Bright-"}, {52, L"Bright"}, {53, L"Bright Off"}, {54, L"Speed+"}, {55, L"Speed-"}, {56, L"Speed"},
      {57, L"Light Left"}, {58, L"Light Right"}, {59, L"Light Trend"}, {60, L"Color +"}, {61, L"Color -"},
      {62, L"Color"},
  };
  for (int n = 1; n <= 9; ++n) functions.push_back({0xFF + 256 * n, L"FN" + std::to_wstring(n)});
  for (const auto& [code, caption] : functions) {
    const std::string what = Hex(0xF0, code & 0xFF, code >> 8);
    const KEY_MACRO_DATA row = Decoded(0xF0, code & 0xFF, code >> 8);
    EXPECT_EQ(12, row.macro_type) << what;
    EXPECT_EQ(code, row.macro_value) << what;
    EXPECT_EQ(caption, row.macro_desc.GetString()) << what;
  }
  EXPECT_EQ(0x1FF, FN1_FUNCTION_CODE);
  EXPECT_EQ(0x1AFF, FnLayerFunctionCode(26));
}

TEST(DecodeKeyFunctionTest, MouseEntriesKeepTheirKindWithoutLanguageTexts) {
  testsupport::LanguageFileMissing missing;
  for (int value = 1; value <= 8; ++value) {
    const MouseFunction* f = FindMouseFunction(value);
    ASSERT_NE(nullptr, f) << value;
    const KEY_MACRO_DATA row = Decoded(f->type, f->b1, f->b2);
    EXPECT_EQ(5, row.macro_type) << "mouse function " << value;
    EXPECT_EQ(value, row.macro_value) << "the table's entry decodes back to its value";
    EXPECT_EQ(L"", std::wstring(row.macro_desc.GetString()));
  }
  EXPECT_EQ(nullptr, FindMouseFunction(0));
  EXPECT_EQ(nullptr, FindMouseFunction(9));
}

TEST(ModifierBitToUsageTest, GivesTheKeyCodeOfAnEntry) {
  struct Case {
    int type, b1, b2, code;
  } const cases[] = {
      {0x10, 0x80, 0x00, 231}, {0x10, 0x01, 0x04, 224}, {0x10, 0x00, 0x2C, 0x2C}, {0x10, 0x05, 0x2C, 0x2C},
      {0x10, 0x100, 0x2C, 0x2C}, {0x10, 0x00, 0x00, 0}, {0xF0, 0xFF, 0x01, 255}, {0xF0, 0xFF, 0x00, 255},
      {0xF0, 0x01, 0x00, 0}, {0x30, 0xE9, 0x00, 0}, {0x20, 0x01, 0x00, 0}, {0x00, 0x00, 0x04, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.code, ModifierBitToUsage(c.type, c.b1, c.b2)) << Hex(c.type, c.b1, c.b2);
}

// Each group's tiles as value:caption, joined.
std::wstring Tiles(int group, int (*eventCount)(int) = nullptr) {
  const KeyFunctionGroup* g = KeyFunctionGroupAt(group);
  std::wstring text;
  for (int i = 0; i < g->count; ++i) {
    const KeyFunctionEntry& e = g->entries[i];
    wchar_t value[16];
    swprintf(value, 16, L"%X:", e.value);
    text += (text.empty() ? L"" : L" | ") + std::wstring(value) +
            KeyFunctionEntryCaption(*g, e, eventCount ? eventCount(e.value) : 0).GetString();
  }
  return text;
}

TEST(KeyFunctionGroupTest, ListsEachGroupInOrder) {
  const std::wstring text150 = testsupport::LanText(150).GetString();
  auto mouse = [](int id) { return std::wstring(testsupport::LanText(id).GetString()); };
  struct Case {
    int group, kind;
    std::wstring tiles;
  } const cases[] = {
      {0, 2, L""},
      {1, 6,
       L"183:Player | E9:Vol+ | EA:Vol- | E2:Mute | CD:Play | B7:Stop | B6:Previous | B5:Next | "
       L"6F:Screen Bright+ | 70:Screen Bright- | 223:Web Home | 227:Web Refresh | 226:Web Stop | "
       L"224:Web Backward | 225:Web Forward | 22A:Web Favorites | 221:Web Search | 194:PC | 192:Calculator | "
       L"18A:Email"},
      {2, 2,
       L"68:F13 | 69:F14 | 6A:F15 | 6B:F16 | 6C:F17 | 6D:F18 | 6E:F19 | 6F:F20 | 70:F21 | 71:F22 | 72:F23 | "
       L"73:F24 | 32:NUHS | 64:NUBS | 87:Ro | 89:￥ | F8:Reset | 8B:無変換 | 91:漢字 | 90:한영 | 8A:変換 | 88:かな"},
      {3, 12,
       L"1:Lock | 2:Win\nLock | 3:WASD Change | 7:Boot | 8:Reset | FF:" + text150 +
           L" | 1FF:FN1 | 2FF:FN2 | 3FF:FN3 | 4FF:FN4 | 5FF:FN5 | 6FF:FN6 | 7FF:FN7 | 8FF:FN8 | 9FF:FN9 | "
           L"1AFF:FN10 | 1BFF:FN11"},
      {4, 12,
       L"2E:RGB Mode- | 2F:RGB Mode+ | 30:RGB Mode | 31:RGB Test | 33:Bright- | 32:Bright+ | 34:Bright | "
       L"35:Bright Off | 37:Speed- | 36:Speed+ | 38:Speed | 39:Light Left | 3A:Light Right | 3B:Light Trend | "
       L"3C:Color + | 3D:Color - | 3E:Color"},
      {5, 3, L"1:M1 | 2:M2 | 3:M3 | 4:M4 | 5:M5 | 6:M6 | 7:M7 | 8:M8 | 9:M9 | A:M10"},
      {6, 5,
       L"1:" + mouse(151) + L" | 2:" + mouse(152) + L" | 3:" + mouse(153) + L" | 4:" + mouse(154) + L" | 7:" +
           mouse(155) + L" | 8:" + mouse(156) + L" | 5:" + mouse(157) + L" | 6:" + mouse(158)},
  };
  for (const Case& c : cases) {
    const KeyFunctionGroup* g = KeyFunctionGroupAt(c.group);
    ASSERT_NE(nullptr, g) << c.group;
    EXPECT_EQ(120 + c.group, g->tabTextId) << "group " << c.group;
    EXPECT_EQ(c.kind, g->macroType) << "group " << c.group;
    EXPECT_EQ(c.tiles, Tiles(c.group)) << "group " << c.group;
  }
  for (int group : {-1, 7, 100}) EXPECT_EQ(nullptr, KeyFunctionGroupAt(group)) << group;
}

TEST(KeyFunctionGroupTest, MacroTilesShowTheirStoredEventCounts) {
  EXPECT_EQ(L"1:M1 | 2:M2\n(3) | 3:M3 | 4:M4 | 5:M5 | 6:M6 | 7:M7 | 8:M8 | 9:M9 | A:M10\n(12)",
            Tiles(5, [](int macro) { return macro == 2 ? 3 : macro == 10 ? 12 : 0; }));
  EXPECT_STREQ(L"M4", MacroCaption(4, -1).GetString());
}

TEST(KeyFunctionCaptionTest, NamesAdvancedKindsAndNothingElse) {
  const std::pair<int, const wchar_t*> names[] = {{14, L"DKS"}, {15, L"MT"},   {16, L"TGL"}, {17, L"RS"},
                                                  {18, L"SOCD"}, {19, L"OKS"}, {13, L""},    {20, L""},
                                                  {2, L""}};
  for (const auto& [kind, name] : names) EXPECT_STREQ(name, AdvancedKeyKindName(kind).GetString()) << kind;
  EXPECT_STREQ(L"", MediaCaption(0x1000).GetString());
  EXPECT_STREQ(L"", FunctionCaption(0x0AFF).GetString());
  EXPECT_STREQ(L"", MouseFunctionCaption(9).GetString());
}

// Everything the tables answer, folded into one text, so two threads can be compared.
std::wstring AllAnswers() {
  std::wstring all;
  const KeyCodeMap& map = KeyCodeMap::Instance();
  CString name;
  for (int code = -2; code < 700; ++code) all += std::to_wstring(map.VirtualKeyToUsage(&code)) + L",";
  for (int usage = 0; usage < 300; ++usage) {
    all += std::wstring(map.UsageToKeyName(name, usage).GetString()) + L"," +
           std::to_wstring(map.ModifierUsageToBit(usage)) + L",";
  }
  for (int type : {0x10, 0x20, 0x21, 0x30, 0x70, 0xF0}) {
    for (int b1 = 0; b1 < 256; b1 += 3) {
      for (int b2 = 0; b2 < 32; ++b2) {
        const KEY_MACRO_DATA row = Decoded(type, b1, b2);
        all += std::to_wstring(row.macro_type) + L":" + std::to_wstring(row.macro_value) + row.macro_desc.GetString() +
               std::to_wstring(ModifierBitToUsage(type, b1, b2));
      }
    }
  }
  return all;
}

TEST(KeyFunctionCatalogueTest, TwoThreadsAtOnceGetTheSameAnswers) {
  std::wstring first, second;
  std::thread a([&first] { first = AllAnswers(); });
  std::thread b([&second] { second = AllAnswers(); });
  a.join();
  b.join();
  const std::wstring alone = AllAnswers();
  EXPECT_GT(alone.size(), 10000u);
  EXPECT_TRUE(first == alone) << "first thread differs";
  EXPECT_TRUE(second == alone) << "second thread differs";
}

}  // namespace
