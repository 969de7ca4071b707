// Every record against its table, both ways: rows written with raw SQL, each column a
// distinct value, are read through the store and compared field by field (by name); then
// the record read is written back through the store and the new row read with raw SQL.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StoreFixture.h"

namespace {

using Row = std::vector<std::string>;

// Each record's stored fields in its table's column order, named field by field.
Row Columns(const PROFILE_DATA& r) { return {Col(r.profile), Col(r.type), Col(r.name), Col(r.status)}; }
Row Columns(const KEY_MACRO_DATA& r) {
  return {Col(r.key_id),      Col(r.profile),      Col(r.fn_layer),     Col(r.key_code),  Col(r.macro_type),
          Col(r.macro_value), Col(r.macro_value2), Col(r.macro_value3), Col(r.macro_desc)};
}
Row Columns(const KEY_PERF_DATA& r) {
  return {Col(r.perf_id),    Col(r.profile),        Col(r.key_code),       Col(r.switch_type),
          Col(r.key_mode),   Col(r.key_actuation),  Col(r.rt_press),       Col(r.rt_release),
          Col(r.deadzone_state), Col(r.press_deadzone), Col(r.release_deadzone)};
}
Row Columns(const LIGHT_DATA& r) {
  return {Col(r.light_id),   Col(r.profile),    Col(r.name),        Col(r.mode),        Col(r.brightness),
          Col(r.speed),      Col(r.direction),  Col(r.colorful),    Col(r.colorindex),  Col(r.color_value),
          Col(r.config_func), Col(r.reserved),  Col(r.status)};
}
Row Columns(const USERLIGHTRGB_DATA& r) {
  return {Col(r.userlightrgb_id), Col(r.profile), Col(r.userlight_id), Col(r.key_code), Col(r.key_rgb)};
}
Row Columns(const MUSICLAYER_DATA& r) {  // sel, the last column, is not held
  return {Col(r.layer_id), Col(r.profile),  Col(r.name),     Col(r.deviceindex),
          Col(r.foremode), Col(r.fore_amplitude), Col(r.backmode), Col(r.backb_right)};
}
Row Columns(const MACRO_DATA& r) {
  return {Col(r.macro_id), Col(r.play_times), Col(r.delay_type), Col(r.delay_time), Col(r.link_count), Col(r.name)};
}
Row Columns(const MACRO_RECORD& r) {
  return {Col(r.record_id), Col(r.macro_id), Col(r.type), Col(r.record_index), Col(r.desc), Col(r.value),
          Col(r.delay_time)};
}
Row Columns(const MAGNETIC_KEY_DATA& r) {
  return {Col(r.macro_id),   Col(r.profile),    Col(r.name),      Col(r.key_value),
          Col(r.fn_layer),   Col(r.macro_type), Col(r.key1_value), Col(r.key2_value),
          Col(r.key1_name),  Col(r.key2_name),  Col(r.reserved)};
}
Row Columns(const KEY_ITEM_DATA& r) {
  return {Col(r.keyitem_id),     Col(r.macro_id),       Col(r.trigger_state1), Col(r.trigger_state2),
          Col(r.trigger_state3), Col(r.trigger_state4), Col(r.key_value),      Col(r.key_name)};
}

class StoreColumnMappingTest : public OpenStoreTest {
protected:
  Row RawRow(const std::string& table, const std::string& idColumn, int id) {
    const auto rows = m_raw->Rows("SELECT * FROM " + table + " WHERE " + idColumn + " = " + std::to_string(id));
    return rows.empty() ? Row() : rows[0];
  }
  // The row as the store should have written it under a new id.
  static Row WithId(Row row, int id) {
    row[0] = std::to_string(id);
    return row;
  }
};

TEST_F(StoreColumnMappingTest, Profiles) {
  const Row stored = m_raw->InsertDistinctRow("t_profile_data", 500, {{"type", "1"}});
  ProfileList profiles;
  ASSERT_EQ(1, Store().GetProfiles(profiles));
  EXPECT_EQ(stored, Columns(*profiles[0]));
  CString name;
  EXPECT_TRUE(Store().GetProfileName(500, name));
  EXPECT_EQ(stored[2], Col(name));

  const int id = Store().InsertProfile(*profiles[0]);
  ASSERT_EQ(501, id);
  Row expected = WithId(stored, id);
  expected[3] = "0";  // a new profile is never active
  EXPECT_EQ(expected, RawRow("t_profile_data", "profile", id));
}

TEST_F(StoreColumnMappingTest, KeyAssignments) {
  const Row stored = m_raw->InsertDistinctRow("t_key_macro_data", 600, {{"profile", "1"}});
  const int layer = std::stoi(stored[2]), key = std::stoi(stored[3]);
  KEY_MACRO_DATA single;
  ASSERT_TRUE(Store().GetKeyMacro(layer, key, single));
  EXPECT_EQ(stored, Columns(single));
  KeyMacroList layerRows, profileRows, allRows;
  ASSERT_EQ(1, Store().GetLayerKeyMacros(layer, layerRows));
  ASSERT_EQ(1, Store().GetProfileKeyMacros(profileRows));
  ASSERT_EQ(1, Store().GetAllKeyMacros(allRows));
  EXPECT_EQ(stored, Columns(*layerRows[0]));
  EXPECT_EQ(stored, Columns(*profileRows[0]));
  EXPECT_EQ(stored, Columns(*allRows[0]));

  Store().InsertKeyMacros({single});
  EXPECT_EQ(WithId(stored, 601), RawRow("t_key_macro_data", "key_id", 601));

  // The update addresses the row by profile, layer and key and writes the rest.
  KEY_MACRO_DATA changed = single;
  changed.macro_type = 71, changed.macro_value = 72, changed.macro_value2 = 73, changed.macro_value3 = 74;
  changed.macro_desc = L"\u00e4nderung";
  Store().UpdateKeyMacro(changed);
  changed.key_id = 600;
  EXPECT_EQ(Columns(changed), RawRow("t_key_macro_data", "key_id", 600));
}

TEST_F(StoreColumnMappingTest, KeyPerformance) {
  const Row stored = m_raw->InsertDistinctRow("t_key_perf_data", 700);
  KeyPerfList perfs;
  ASSERT_EQ(1, Store().GetKeyPerfs(std::stoi(stored[1]), perfs));
  EXPECT_EQ(stored, Columns(*perfs[0]));

  Store().InsertKeyPerfs({*perfs[0]});
  EXPECT_EQ(WithId(stored, 701), RawRow("t_key_perf_data", "perf_id", 701));

  KEY_PERF_DATA changed = *perfs[0];
  int n = 80;
  for (int* field : {&changed.switch_type, &changed.key_mode, &changed.key_actuation, &changed.rt_press,
                     &changed.rt_release, &changed.deadzone_state, &changed.press_deadzone, &changed.release_deadzone}) {
    *field = n++;
  }
  Store().UpdateKeyPerfs({changed});
  EXPECT_EQ(Columns(changed), RawRow("t_key_perf_data", "perf_id", 700));
  changed.perf_id = 701;
  EXPECT_EQ(Columns(changed), RawRow("t_key_perf_data", "perf_id", 701)) << "every matching row changes";
}

TEST_F(StoreColumnMappingTest, LightModes) {
  const Row stored = m_raw->InsertDistinctRow("t_light_data", 800);
  const int profile = std::stoi(stored[1]), mode = std::stoi(stored[3]);
  LIGHT_DATA single;
  ASSERT_TRUE(Store().GetLight(profile, mode, single));
  EXPECT_EQ(stored, Columns(single));
  LightList lights;
  ASSERT_EQ(1, Store().GetLights(profile, lights));
  EXPECT_EQ(stored, Columns(*lights[0]));

  const int id = Store().InsertLight(single);
  ASSERT_EQ(801, id);
  EXPECT_EQ(WithId(stored, id), RawRow("t_light_data", "light_id", id));

  // The update takes the profile from the record and the mode from its argument.
  LIGHT_DATA changed = single;
  changed.mode = 1;
  int n = 90;
  for (int* field : {&changed.brightness, &changed.speed, &changed.direction, &changed.colorful, &changed.colorindex,
                     &changed.color_value, &changed.config_func, &changed.reserved, &changed.status}) {
    *field = n++;
  }
  m_raw->Exec("UPDATE t_light_data SET mode = 5 WHERE light_id = 801");
  ASSERT_TRUE(Store().UpdateLight(mode, changed));
  changed.light_id = 800, changed.mode = mode;
  EXPECT_EQ(Columns(changed), RawRow("t_light_data", "light_id", 800));
  EXPECT_EQ(WithId(stored, 801)[4], RawRow("t_light_data", "light_id", 801)[4]) << "another mode's row stays";
}

TEST_F(StoreColumnMappingTest, UserColours) {
  const Row stored = m_raw->InsertDistinctRow("t_userlightrgb_data", 900);
  UserLightRgbList colours;
  ASSERT_EQ(1, Store().GetUserLightRgbs(std::stoi(stored[2]), colours));
  EXPECT_EQ(stored, Columns(*colours[0]));
  EXPECT_EQ(1, Store().InsertUserLightRgbs({*colours[0]}));
  EXPECT_EQ(WithId(stored, 901), RawRow("t_userlightrgb_data", "userlightrgb_id", 901));
}

TEST_F(StoreColumnMappingTest, MusicLayers) {
  Row stored = m_raw->InsertDistinctRow("t_musiclayer_data", 1000);
  const int profile = std::stoi(stored[1]);
  MUSICLAYER_DATA layer;
  ASSERT_TRUE(Store().GetMusicLayer(profile, layer));
  EXPECT_EQ(Row(stored.begin(), stored.end() - 1), Columns(layer));

  const int id = Store().InsertMusicLayer(profile + 1, layer.name, layer.foremode);
  ASSERT_EQ(1001, id);
  EXPECT_EQ((Row{"1001", Col(profile + 1), stored[2], "0", stored[4], "4", "0", "20", "0"}),
            RawRow("t_musiclayer_data", "layer_id", id));

  MUSICLAYER_DATA changed = layer;
  changed.profile = 0;  // the profile argument, not the record's, picks the row
  changed.deviceindex = 61, changed.foremode = 62, changed.fore_amplitude = 63, changed.backmode = 64;
  changed.backb_right = 65;
  ASSERT_TRUE(Store().UpdateMusicLayer(profile, changed));
  stored[3] = "61", stored[4] = "62", stored[5] = "63", stored[6] = "64", stored[7] = "65";
  EXPECT_EQ(stored, RawRow("t_musiclayer_data", "layer_id", 1000));
}

TEST_F(StoreColumnMappingTest, Macros) {
  const Row stored = m_raw->InsertDistinctRow("t_macro_data", 1100);
  MACRO_DATA single;
  ASSERT_TRUE(Store().GetMacro(1100, single));
  EXPECT_EQ(stored, Columns(single));
  MacroList macros;
  ASSERT_EQ(1, Store().GetMacros(macros));
  EXPECT_EQ(stored, Columns(*macros[0]));

  const int id = Store().InsertMacro(single);
  ASSERT_EQ(1101, id);
  EXPECT_EQ(WithId(stored, id), RawRow("t_macro_data", "macro_id", id));

  MACRO_DATA changed = single;
  changed.name = L"other", changed.link_count = 51;
  changed.play_times = 52, changed.delay_type = 53, changed.delay_time = 54;
  ASSERT_TRUE(Store().UpdateMacro(changed));
  EXPECT_EQ((Row{stored[0], "52", "53", "54", stored[4], stored[5]}), RawRow("t_macro_data", "macro_id", 1100))
      << "name and link count stay";
}

TEST_F(StoreColumnMappingTest, MacroEvents) {
  const Row stored = m_raw->InsertDistinctRow("t_macrorecord", 1200);
  MacroRecordList events;
  ASSERT_EQ(1, Store().GetMacroRecords(std::stoi(stored[1]), events));
  EXPECT_EQ(stored, Columns(*events[0]));

  const int id = Store().InsertMacroRecord(*events[0]);
  ASSERT_EQ(1201, id);
  EXPECT_EQ(WithId(stored, id), RawRow("t_macrorecord", "record_id", id));
  Store().InsertMacroRecords({*events[0]});
  EXPECT_EQ(WithId(stored, 1202), RawRow("t_macrorecord", "record_id", 1202));
}

TEST_F(StoreColumnMappingTest, AdvancedKeys) {
  const Row stored = m_raw->InsertDistinctRow("t_magnetic_key_data", 1300, {{"profile", "1"}});
  MAGNETIC_KEY_DATA single;
  ASSERT_TRUE(Store().GetMagneticKey(1300, single));
  EXPECT_EQ(stored, Columns(single));
  MagneticKeyList keys;
  ASSERT_EQ(1, Store().GetMagneticKeys(keys));
  EXPECT_EQ(stored, Columns(*keys[0]));
  EXPECT_EQ(0, keys[0]->edit_value1);
  EXPECT_EQ(0, keys[0]->edit_value2);

  const int id = Store().InsertMagneticKey(single);
  ASSERT_EQ(1301, id);
  EXPECT_EQ(WithId(stored, id), RawRow("t_magnetic_key_data", "macro_id", id));

  // Only the bound keys, their names and reserved change.
  MAGNETIC_KEY_DATA changed = single;
  changed.profile = 41, changed.name = L"x", changed.key_value = 42, changed.fn_layer = 43, changed.macro_type = 44;
  changed.key1_value = 45, changed.key2_value = 46, changed.key1_name = L"\u952e1", changed.key2_name = L"k2";
  changed.reserved = 47;
  ASSERT_TRUE(Store().UpdateMagneticKey(1300, changed));
  Row expected = stored;
  expected[6] = "45", expected[7] = "46", expected[8] = Col(changed.key1_name), expected[9] = "k2", expected[10] = "47";
  EXPECT_EQ(expected, RawRow("t_magnetic_key_data", "macro_id", 1300));
}

TEST_F(StoreColumnMappingTest, AdvancedKeyActions) {
  const Row stored = m_raw->InsertDistinctRow("t_key_item_data", 1400);
  KeyItemList items;
  ASSERT_EQ(1, Store().GetKeyItems(std::stoi(stored[1]), items));
  EXPECT_EQ(stored, Columns(*items[0]));
  const int id = Store().InsertKeyItem(*items[0]);
  ASSERT_EQ(1401, id);
  EXPECT_EQ(WithId(stored, id), RawRow("t_key_item_data", "keyitem_id", id));
}

}  // namespace
