// The key page's rules over a store in a scratch folder: locked keys, resets, layout presets,
// the rows of a new profile, and the advanced keys of a layer as the page lists them.
#include "app/pages/KeyAssignment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RawDb.h"
#include "RecordingShell.h"
#include "TempFolder.h"
#include "app/pages/AdvKeyTiles.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "storage/ConfigDatabase.h"

namespace {

KEY_MACRO_DATA Row(int layer, int code, int kind, int value, const wchar_t* caption, int value2 = 0) {
  KEY_MACRO_DATA row;
  row.profile = 1;
  row.fn_layer = layer;
  row.key_code = code;
  row.macro_type = kind;
  row.macro_value = value;
  row.macro_value2 = value2;
  row.macro_desc = caption;
  return row;
}

std::string Describe(const KEY_MACRO_DATA& row) {
  return std::to_string(row.macro_type) + " " + std::to_string(row.macro_value) + " " +
         std::to_string(row.macro_value2) + " " + std::to_string(row.macro_value3) + " \"" +
         Utf8Of(row.macro_desc.GetString()) + "\"";
}

class KeyAssignmentTest : public testing::Test {
 protected:
  void SetUp() override {
    ConfigDatabase::Instance().Close();
    temp.MakeSubFolder(L"db");
    ASSERT_TRUE(ConfigDatabase::Instance().Open(temp.Path().c_str(), L"Key rules"));
  }
  void TearDown() override { ConfigDatabase::Instance().Close(); }

  void Store(std::vector<KEY_MACRO_DATA> rows) { ConfigDatabase::Instance().InsertKeyMacros(rows); }
  int AdvancedKey(int kind, int keyValue, int key1Value, const wchar_t* name1 = L"", const wchar_t* name2 = L"") {
    MAGNETIC_KEY_DATA key;
    key.profile = 1;
    key.macro_type = kind;
    key.key_value = keyValue;
    key.key1_value = key1Value;
    key.key1_name = name1;
    key.key2_name = name2;
    return ConfigDatabase::Instance().InsertMagneticKey(key);
  }
  void Items(int macroId, std::vector<const wchar_t*> names) {
    for (const wchar_t* name : names) {
      KEY_ITEM_DATA item;
      item.macro_id = macroId;
      item.key_name = name;
      ConfigDatabase::Instance().InsertKeyItem(item);
    }
  }

  testsupport::TempFolder temp{L"key rules"};
};

TEST_F(KeyAssignmentTest, QWAndEAreLockedOnTheFirstFnLayerOfTheCurrentProfileOnly) {
  const struct {
    int layer, profile, code;
    bool locked;
  } cases[] = {{5, 1, 20, true}, {5, 1, 26, true}, {5, 1, 8, true}, {5, 1, 4, false},
               {4, 1, 20, false}, {1, 0, 20, true}, {1, 1, 20, false}, {9, 2, 8, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.locked, IsLockedKey(c.layer, c.profile, c.code)) << c.layer << " " << c.profile << " " << c.code;
  }
}

TEST_F(KeyAssignmentTest, AKeyWithoutARowReadsAsNoFunctionOfItsLayer) {
  bool stored = true;
  const KEY_MACRO_DATA row = ReadKeyRow(3, 4, &stored);
  EXPECT_FALSE(stored);
  EXPECT_EQ(1, row.profile);
  EXPECT_EQ(3, row.fn_layer);
  EXPECT_EQ(4, row.key_code);
  EXPECT_EQ("0 0 0 0 \"\"", Describe(row));
}

TEST_F(KeyAssignmentTest, PickedEntriesGiveTheirKinds) {
  KEY_MACRO_DATA row = Row(0, 4, 12, 99, L"old", 7);
  SetPickerFunction(row, 0x38, 0xE1, 0, L"?");
  EXPECT_EQ("2 56 225 0 \"?\"", Describe(row));
  SetPickerFunction(row, 3, 0, 0, L"\u25BD");
  EXPECT_EQ("1 1 0 0 \"\u25BD\"", Describe(row));
  const int kinds[] = {0, 6, 2, 12, 12, 3, 5, 0};
  for (int group = 0; group < 8; ++group) {
    EXPECT_EQ(kinds[group], KindOfListGroup(group)) << group;
    SetListFunction(row, group, 0xE9, L"Vol+");
    EXPECT_EQ(std::to_string(kinds[group]) + " 233 0 0 \"Vol+\"", Describe(row)) << group;
  }
}

TEST_F(KeyAssignmentTest, ResetsGiveTheKeyItsOwnOrTheKeyboardsDefaultFunction) {
  Store({Row(0, 0x2C, 3, 2, L"M2"), Row(0, 255, 2, 4, L"A"), Row(3, 4, 6, 0xE9, L"Vol+"), Row(3, 5, 2, 9, L"F"),
         Row(103, 5, 12, 0x1FF, L"FN1")});
  const struct {
    const char* name;
    int layer, code;
    std::string expected;
  } cases[] = {
      {"space on layer 0", 0, 0x2C, "2 44 0 0 \"Space\""},
      {"the Fn key on layer 0", 0, 255, "12 511 0 0 \"FN1\""},
      {"layer 3 without a default row", 3, 4, "0 0 0 0 \"\""},
      {"layer 3 with its default row", 3, 5, "12 511 0 0 \"FN1\""},
  };
  for (const auto& c : cases) {
    KEY_MACRO_DATA row = ReadKeyRow(c.layer, c.code);
    std::vector<KEY_MACRO_DATA> partners;
    ResetKeyRow(row, c.layer, &partners);
    EXPECT_EQ(c.expected, Describe(row)) << c.name;
    EXPECT_EQ(c.layer, row.fn_layer) << c.name;
    EXPECT_EQ(1, row.profile) << c.name;
    EXPECT_TRUE(partners.empty()) << c.name;
  }
}

TEST_F(KeyAssignmentTest, ResettingEitherKeyOfAPairGivesThePartnerItsOwnKeyBack) {
  const int pair = 4 | (5 << 16);  // A low, B high
  Store({Row(0, 4, 17, 1, L"RS", pair), Row(0, 5, 17, 1, L"RS", pair), Row(0, 255, 19, 2, L"OKS", 255 | (4 << 16))});
  for (int code : {4, 5}) {
    KEY_MACRO_DATA row = ReadKeyRow(0, code);
    std::vector<KEY_MACRO_DATA> partners;
    ResetKeyRow(row, 0, &partners);
    ASSERT_EQ(1u, partners.size()) << code;
    EXPECT_EQ(code == 4 ? 5 : 4, partners[0].key_code);
    EXPECT_EQ(code == 4 ? "2 5 0 0 \"B\"" : "2 4 0 0 \"A\"", Describe(partners[0]));
  }
  KEY_MACRO_DATA row = ReadKeyRow(0, 4);
  row.macro_type = 19;
  row.macro_value2 = 255 | (4 << 16);
  std::vector<KEY_MACRO_DATA> partners;
  ResetKeyRow(row, 0, &partners);
  ASSERT_EQ(1u, partners.size());
  EXPECT_EQ("12 511 0 0 \"FN1\"", Describe(partners[0])) << "the Fn key as a partner";
}

TEST_F(KeyAssignmentTest, PresetsMoveTheirKeysAndLeaveTheRestAsThemselves) {
  const struct {
    const char* name;
    int preset, code;
    std::string expected;
  } cases[] = {
      {"Dvorak Q", LAYOUT_PRESET_DVORAK, 20, "2 52 0 0 \"'\""},
      {"Dvorak Esc", LAYOUT_PRESET_DVORAK, 41, "2 53 0 0 \"~\""},
      {"Dvorak A", LAYOUT_PRESET_DVORAK, 4, "2 4 0 0 \"A\""},
      {"Dvorak Fn", LAYOUT_PRESET_DVORAK, 255, "12 511 0 0 \"FN1\""},
      {"Mac left GUI", LAYOUT_PRESET_MAC, 0xE3, "2 226 0 0 \"Opt\""},
      {"Mac left Alt", LAYOUT_PRESET_MAC, 0xE2, "2 227 0 0 \"Cmd\""},
      {"Mac right Alt", LAYOUT_PRESET_MAC, 0xE6, "2 231 0 0 \"Cmd\""},
      {"Colemak D", LAYOUT_PRESET_COLEMAK, 7, "2 22 0 0 \"S\""},
      {"Workman A", LAYOUT_PRESET_WORKMAN, 5, "2 25 0 0 \"V\""},
      {"standard Q", LAYOUT_PRESET_STANDARD, 20, "2 20 0 0 \"Q\""},
      {"the hidden standard item", LAYOUT_PRESET_STANDARD2, 41, "2 41 0 0 \"Esc\""},
  };
  for (const auto& c : cases) {
    const LayoutPreset* preset = FindLayoutPreset(c.preset);
    ASSERT_NE(nullptr, preset) << c.name;
    KEY_MACRO_DATA row = Row(0, c.code, 6, 0xE9, L"Vol+", 3);
    row.macro_value3 = 1;
    SetPresetFunction(row, *preset);
    EXPECT_EQ(c.expected, Describe(row)) << c.name;
  }
  EXPECT_EQ(nullptr, FindLayoutPreset(201));
  EXPECT_EQ(nullptr, FindLayoutPreset(101));
}

TEST_F(KeyAssignmentTest, ANewProfileStartsWithItsKeysOnTheBaseLayerAndEmptyFnLayers) {
  const std::vector<KEY_MACRO_DATA> rows = DefaultKeyRows(7, {{4, L"A"}, {255, L"Fn"}});
  ASSERT_EQ(24u, rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const KEY_MACRO_DATA& row = rows[i];
    EXPECT_EQ(7, row.profile);
    EXPECT_EQ(i < 12 ? 4 : 255, row.key_code);
    EXPECT_EQ(static_cast<int>(i % 12), row.fn_layer);
    if (row.fn_layer == 0) {
      EXPECT_EQ(i < 12 ? "2 4 0 0 \"A\"" : "2 255 0 0 \"Fn\"", Describe(row));
    } else {
      EXPECT_EQ("0 0 0 0 \"\"", Describe(row)) << i;
    }
  }
}

TEST_F(KeyAssignmentTest, AdvancedKeysOfALayerBecomeTilesWithTheirDetails) {
  using testsupport::LanText;
  const int dks = AdvancedKey(14, 0, 0);
  Items(dks, {L"A", L"B", L"C", L"D", L"E"});
  const int dksShort = AdvancedKey(14, 0, 0);
  Items(dksShort, {L"X"});
  const int dksEmpty = AdvancedKey(14, 0, 0);
  const int mt = AdvancedKey(15, 0, 0, L"Ctrl", L"Z");
  const int tgl = AdvancedKey(16, 0, 0, L"Shift");
  const int rs = AdvancedKey(17, 4 | (5 << 16), 0);
  std::vector<int> socd, oks;
  for (int s = 0; s < 5; ++s) socd.push_back(AdvancedKey(18, 4 | (5 << 16), 16 * s + 1));
  for (int s = 0; s < 4; ++s) oks.push_back(AdvancedKey(19, 7 | (9 << 16), 16 * s + 1));

  KeyMacroList rows;
  auto add = [&rows](int code, int kind, int id, const wchar_t* caption) {
    rows.push_back(std::make_unique<KEY_MACRO_DATA>(Row(0, code, kind, id, caption)));
  };
  add(20, 14, dks, L"DKS");
  add(21, 14, dksShort, L"DKS");
  add(22, 14, dksEmpty, L"DKS");
  add(23, 15, mt, L"MT");
  add(24, 16, tgl, L"TGL");
  add(4, 17, rs, L"RS");
  for (int id : socd) add(6, 18, id, L"SOCD");
  for (int id : oks) add(8, 19, id, L"OKS");
  add(30, 16, 9999, L"TGL");  // its advanced key is gone
  add(31, 2, 4, L"A");        // not an advanced key
  const AdvKeyLayer layer = ReadAdvKeyLayer(rows);

  EXPECT_EQ(16, layer.count);
  const CString fmt1 = LanText(776) + L"\xFF08" L"A" + LanText(777) + L"\xFF09";
  const CString fmt2 = LanText(776) + L"\xFF08" L"B" + LanText(777) + L"\xFF09";
  const CString oks2 = LanText(786) + L"\xFF08" L"D" + LanText(785) + L"\xFF09";
  const CString oks3 = LanText(786) + L"\xFF08" L"F" + LanText(785) + L"\xFF09";
  const struct {
    bool pair;
    int kind;
    CString caption, caption2, keys[4], detail;
    int macroId;
  } expected[] = {
      {false, 14, L"Q", L"", {L"A", L"B", L"C", L"D"}, L"", dks},
      {false, 14, L"R", L"", {L"X", L"", L"", L""}, L"", dksShort},
      {false, 15, L"T", L"", {L"Ctrl", L"Z", L"", L""}, L"", mt},
      {false, 16, L"U", L"", {L"Shift", L"", L"", L""}, L"", tgl},
      {true, 17, L"A", L"B", {}, L"", rs},
      {true, 18, L"A", L"B", {}, LanText(770), socd[0]},
      {true, 18, L"A", L"B", {}, fmt1, socd[1]},
      {true, 18, L"A", L"B", {}, fmt2, socd[2]},
      {true, 18, L"A", L"B", {}, LanText(773), socd[3]},
      {true, 18, L"A", L"B", {}, L"", socd[4]},
      {true, 19, L"D", L"F", {}, L"", oks[0]},
      {true, 19, L"D", L"F", {}, LanText(782), oks[1]},
      {true, 19, L"D", L"F", {}, oks2, oks[2]},
      {true, 19, L"D", L"F", {}, oks3, oks[3]},
  };
  ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), layer.tiles.size());
  for (size_t i = 0; i < layer.tiles.size(); ++i) {
    const AdvKeyTile& t = layer.tiles[i];
    const auto& e = expected[i];
    EXPECT_EQ(e.pair, t.pair) << i;
    EXPECT_EQ(e.kind, t.kind) << i;
    EXPECT_EQ(e.caption, t.caption) << i;
    EXPECT_EQ(e.caption2, t.caption2) << i;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(e.keys[k], t.keys[k]) << i << " key " << k;
    EXPECT_EQ(e.detail, t.detail) << i;
    EXPECT_EQ(e.macroId, t.macroId) << i;
  }
  // Captions: the row's key for DKS, MT and TGL (also without a stored key), both keys of a pair.
  std::vector<int> codes;
  for (const AdvKeyCaption& c : layer.captions) codes.push_back(c.keyCode);
  std::vector<int> expectedCodes = {20, 21, 22, 23, 24, 4, 5};
  for (int s = 0; s < 5; ++s) expectedCodes.insert(expectedCodes.end(), {4, 5});
  for (int s = 0; s < 4; ++s) expectedCodes.insert(expectedCodes.end(), {7, 9});
  expectedCodes.push_back(30);
  EXPECT_EQ(expectedCodes, codes);
  EXPECT_EQ(CString(L"SOCD"), layer.captions[7].caption);
  EXPECT_EQ(18, layer.captions[7].kind);
}

}  // namespace
