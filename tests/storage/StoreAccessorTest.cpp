// What the accessors do beyond mapping columns: constants they bind, which rows they
// pick, order, the one-active rules, deletes that cascade, and a closed store.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "StoreFixture.h"

namespace {

using StoreAccessorTest = OpenStoreTest;

KEY_MACRO_DATA KeyRow(int profile, int layer, int key, int type, int value) {
  KEY_MACRO_DATA row;
  row.profile = profile, row.fn_layer = layer, row.key_code = key, row.macro_type = type, row.macro_value = value;
  row.macro_value2 = 7, row.macro_value3 = 8, row.macro_desc = L"desc";
  return row;
}

TEST_F(StoreAccessorTest, ConfigValuesAreOnlyUpdatedAndDefaultsAddUp) {
  CString value = L"stale";
  EXPECT_TRUE(Store().GetConfigValue(0, L"tick_rate", value));
  EXPECT_STREQ(L"0", value);
  EXPECT_FALSE(Store().GetConfigValue(1, L"tick_rate", value)) << "profile 1 has no rows yet";
  EXPECT_TRUE(value.IsEmpty());

  EXPECT_TRUE(Store().SetConfigValue(0, L"no_such_key", L"1")) << "an update of nothing still succeeds";
  EXPECT_EQ(43, m_raw->Number("SELECT count(*) FROM t_config_data"));
  EXPECT_EQ(0, m_raw->Number("SELECT count(*) FROM t_config_data WHERE key = 'no_such_key'"));

  Store().InsertDefaultConfig(2);
  Store().InsertDefaultConfig(2);
  EXPECT_EQ(86, m_raw->Number("SELECT count(*) FROM t_config_data WHERE profile = 2"));
  EXPECT_TRUE(Store().SetConfigValue(2, L"switch_type", L"3"));
  EXPECT_EQ(2, m_raw->Number("SELECT count(*) FROM t_config_data WHERE profile = 2 AND key = 'switch_type' "
                             "AND value = '3'"));
  EXPECT_TRUE(Store().GetConfigValue(0, L"switch_type", value));
  EXPECT_STREQ(L"5", value) << "other profiles untouched";
}

TEST_F(StoreAccessorTest, AReaderOnAnotherConnectionDelaysAWriteInsteadOfBreakingIt) {
  PROFILE_DATA profile;
  profile.type = 1;
  Store().InsertProfile(profile);
  Store().InsertProfile(profile);
  ASSERT_TRUE(Store().SetActiveProfile(1));
  // Another connection in the middle of a read holds the file's shared lock for a moment.
  m_raw->Exec("BEGIN; SELECT count(*) FROM t_profile_data;");
  std::thread reader([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    m_raw->Exec("COMMIT;");
  });
  EXPECT_TRUE(Store().SetActiveProfile(2));
  reader.join();
  EXPECT_EQ(2, Store().GetActiveProfile()) << "one profile is active, the new one";
}

TEST_F(StoreAccessorTest, ProfilesListOneActiveAndNeverReuseIds) {
  PROFILE_DATA profile;
  profile.type = 1, profile.status = 1;
  std::vector<int> ids;
  for (const wchar_t* name : {L"One", L"Two", L"Three"}) {
    profile.name = name;
    ids.push_back(Store().InsertProfile(profile));
  }
  EXPECT_EQ((std::vector<int>{1, 2, 3}), ids);
  PROFILE_DATA other;
  other.type = 2, other.name = L"hidden";
  const int hidden = Store().InsertProfile(other);
  EXPECT_EQ(0, Store().GetActiveProfile()) << "new profiles are inactive";

  ProfileList list;
  list.push_back(std::make_unique<PROFILE_DATA>());  // an earlier reading is dropped
  ASSERT_EQ(3, Store().GetProfiles(list));
  ASSERT_EQ(3u, list.size());
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(ids[i], list[i]->profile);

  EXPECT_TRUE(Store().SetActiveProfile(2));
  EXPECT_TRUE(Store().SetActiveProfile(3));
  EXPECT_EQ(3, Store().GetActiveProfile());
  EXPECT_EQ(1, m_raw->Number("SELECT count(*) FROM t_profile_data WHERE status = 1"));
  EXPECT_TRUE(Store().SetActiveProfile(hidden));
  EXPECT_EQ(0, Store().GetActiveProfile()) << "a type-2 profile is never reported active";
  EXPECT_TRUE(Store().SetActiveProfile(99));
  EXPECT_EQ(0, Store().GetActiveProfile()) << "an unknown id leaves none active";

  EXPECT_TRUE(Store().RenameProfile(2, L"Zwei"));
  CString name = L"stale";
  EXPECT_TRUE(Store().GetProfileName(2, name));
  EXPECT_STREQ(L"Zwei", name);
  EXPECT_TRUE(Store().DeleteProfile(3));
  EXPECT_TRUE(Store().DeleteProfile(hidden));
  EXPECT_FALSE(Store().GetProfileName(3, name));
  EXPECT_TRUE(name.IsEmpty());
  profile.name = L"Four";
  EXPECT_EQ(5, Store().InsertProfile(profile)) << "a deleted id is never reused";
}

TEST_F(StoreAccessorTest, KeyAssignmentReadersTakeProfileOneInInsertionOrder) {
  std::vector<KEY_MACRO_DATA> rows;
  for (int layer = 0; layer < 12; ++layer) {
    for (int key = 0; key < 128; ++key) {
      rows.push_back(KeyRow(1, layer, 127 - key, 2, key));
      if (key % 32 == 0) rows.push_back(KeyRow(2, layer, 127 - key, 2, 1000 + key));
    }
  }
  Store().InsertKeyMacros(rows);
  EXPECT_EQ(1536, Store().CountKeyMacros(1));
  EXPECT_EQ(48, Store().CountKeyMacros(2));

  KeyMacroList layer;
  ASSERT_EQ(128, Store().GetLayerKeyMacros(5, layer));
  for (int i = 0; i < 128; ++i) {
    EXPECT_EQ(1, layer[i]->profile);
    EXPECT_EQ(127 - i, layer[i]->key_code) << "insertion order";
  }
  KeyMacroList profileRows, allRows;
  EXPECT_EQ(1536, Store().GetProfileKeyMacros(profileRows));
  EXPECT_EQ(1584, Store().GetAllKeyMacros(allRows));

  KEY_MACRO_DATA found;
  ASSERT_TRUE(Store().GetKeyMacro(3, 100, found));
  EXPECT_EQ(1, found.profile);
  EXPECT_EQ(27, found.macro_value);

  // A key stored only for profile 2 is not found, and the record stays as it was.
  Store().InsertKeyMacros({KeyRow(2, 40, 9, 2, 9)});
  KEY_MACRO_DATA untouched = KeyRow(0, 0, 0, 77, 0);
  EXPECT_FALSE(Store().GetKeyMacro(40, 9, untouched));
  EXPECT_EQ(77, untouched.macro_type);
}

TEST_F(StoreAccessorTest, KeyUpdatesChangeEveryDuplicateAndAddNothing) {
  Store().InsertKeyMacros({KeyRow(1, 0, 4, 2, 4), KeyRow(1, 0, 4, 2, 4), KeyRow(1, 1, 4, 2, 4)});
  KEY_MACRO_DATA change = KeyRow(1, 0, 4, 6, 0xE2);
  change.macro_desc = L"\u97f3\u91cf \U0001F50A";
  Store().UpdateKeyMacro(change);
  Store().UpdateKeyMacros({KeyRow(1, 0, 99, 3, 1)});  // no such key
  EXPECT_EQ(3, Store().CountKeyMacros(1));
  KeyMacroList rows;
  ASSERT_EQ(2, Store().GetLayerKeyMacros(0, rows));
  for (const auto& row : rows) {
    EXPECT_EQ(6, row->macro_type);
    EXPECT_STREQ(change.macro_desc, row->macro_desc);
  }
  KEY_MACRO_DATA other;
  ASSERT_TRUE(Store().GetKeyMacro(1, 4, other));
  EXPECT_EQ(2, other.macro_type) << "another layer stays";

  std::vector<KEY_PERF_DATA> perfs(3);
  for (int i = 0; i < 3; ++i) perfs[i].profile = 1, perfs[i].key_code = 10 + i, perfs[i].key_actuation = 75;
  Store().InsertKeyPerfs(perfs);
  std::vector<KEY_PERF_DATA> updates = {perfs[1], perfs[2]};
  updates[0].key_actuation = 20, updates[1].key_code = 50, updates[1].key_actuation = 30;
  Store().UpdateKeyPerfs(updates);
  KeyPerfList stored;
  stored.push_back(std::make_unique<KEY_PERF_DATA>());
  ASSERT_EQ(3, Store().GetKeyPerfs(1, stored));
  EXPECT_EQ(75, stored[0]->key_actuation);
  EXPECT_EQ(20, stored[1]->key_actuation);
  EXPECT_EQ(75, stored[2]->key_actuation) << "absent keys are not added";
  EXPECT_EQ(3, Store().CountKeyPerfs(1));
}

TEST_F(StoreAccessorTest, LightModesHaveOneActivePerProfile) {
  LIGHT_DATA light;
  for (int profile : {1, 2}) {
    for (int mode : {1, 2, 3}) {
      light.profile = profile, light.mode = mode, light.status = mode == 1 ? 1 : 0;
      ASSERT_GT(Store().InsertLight(light), 0);
    }
  }
  EXPECT_TRUE(Store().SetActiveLightMode(1, 3));
  EXPECT_EQ(3, Store().GetActiveLightMode(1));
  EXPECT_EQ(1, m_raw->Number("SELECT count(*) FROM t_light_data WHERE profile = 1 AND status = 1"));
  EXPECT_EQ(1, Store().GetActiveLightMode(2)) << "other profiles untouched";
  EXPECT_TRUE(Store().SetActiveLightMode(1, 9));
  EXPECT_EQ(0, Store().GetActiveLightMode(1)) << "an unknown mode leaves none active";
  EXPECT_EQ(0, Store().GetActiveLightMode(3));

  LightList lights;
  ASSERT_EQ(3, Store().GetLights(2, lights));
  EXPECT_EQ(Store().CountLights(2), static_cast<int>(lights.size()));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(i + 1, lights[i]->mode) << "id order";
  LIGHT_DATA untouched;
  untouched.brightness = 33;
  EXPECT_FALSE(Store().GetLight(2, 7, untouched));
  EXPECT_EQ(33, untouched.brightness);
}

TEST_F(StoreAccessorTest, UserColoursAndMusicLayers) {
  std::vector<USERLIGHTRGB_DATA> colours(128);
  for (int i = 0; i < 128; ++i) {
    colours[i].profile = 1, colours[i].userlight_id = 4, colours[i].key_code = i, colours[i].key_rgb = 0x010203 * i;
  }
  EXPECT_EQ(128, Store().InsertUserLightRgbs(colours));
  Store().InsertUserLightRgbs({colours[0]});
  m_raw->Exec("UPDATE t_userlightrgb_data SET userlight_id = 5 WHERE userlightrgb_id = 129");
  UserLightRgbList stored;
  ASSERT_EQ(128, Store().GetUserLightRgbs(4, stored));
  for (int i = 0; i < 128; ++i) {
    EXPECT_EQ(i + 1, stored[i]->userlightrgb_id);
    EXPECT_EQ(i, stored[i]->key_code);
    EXPECT_EQ(0x010203 * i, stored[i]->key_rgb);
  }
  EXPECT_TRUE(Store().DeleteUserLightRgbs(4));
  EXPECT_EQ(0, Store().GetUserLightRgbs(4, stored));
  EXPECT_EQ(1, Store().GetUserLightRgbs(5, stored)) << "another set stays";

  MUSICLAYER_DATA layer;
  EXPECT_FALSE(Store().GetMusicLayer(3, layer));
  EXPECT_TRUE(Store().UpdateMusicLayer(3, layer));
  EXPECT_EQ(0, Store().CountMusicLayers(3)) << "an update adds no layer";
  ASSERT_GT(Store().InsertMusicLayer(3, L"Music", 2), 0);
  ASSERT_TRUE(Store().GetMusicLayer(3, layer));
  EXPECT_STREQ(L"Music", layer.name);
  EXPECT_EQ((std::vector<int>{3, 0, 2, 4, 0, 20}),
            (std::vector<int>{layer.profile, layer.deviceindex, layer.foremode, layer.fore_amplitude, layer.backmode,
                              layer.backb_right}));
  EXPECT_EQ(0, layer.sel);
  m_raw->Exec("UPDATE t_musiclayer_data SET sel = 7 WHERE profile = 3");
  ASSERT_TRUE(Store().GetMusicLayer(3, layer));
  EXPECT_EQ(7, layer.sel);
  layer.sel = 1;
  layer.backmode = 6;
  EXPECT_TRUE(Store().UpdateMusicLayer(3, layer));
  EXPECT_EQ(7, m_raw->Number("SELECT sel FROM t_musiclayer_data WHERE profile = 3")) << "the update leaves sel";
  EXPECT_EQ(6, m_raw->Number("SELECT backmode FROM t_musiclayer_data WHERE profile = 3"));
  EXPECT_EQ(1, Store().CountMusicLayers(3));
}

TEST_F(StoreAccessorTest, MacrosAndTheirEvents) {
  const int id = Store().CreateMacro(L"Makro \u00fc");
  ASSERT_GT(id, 0);
  MACRO_DATA macro;
  ASSERT_TRUE(Store().GetMacro(id, macro));
  EXPECT_EQ((std::vector<int>{1, 1, 0, 0}),
            (std::vector<int>{macro.play_times, macro.delay_type, macro.delay_time, macro.link_count}));
  EXPECT_STREQ(L"Makro \u00fc", macro.name);

  std::vector<MACRO_RECORD> events(3);
  const int order[] = {3, 1, 2};
  for (int i = 0; i < 3; ++i) events[i].macro_id = id, events[i].record_index = order[i], events[i].value = order[i];
  Store().InsertMacroRecords(events);
  MACRO_RECORD single;
  single.macro_id = id + 1;
  ASSERT_GT(Store().InsertMacroRecord(single), 0);
  MacroRecordList stored;
  ASSERT_EQ(3, Store().GetMacroRecords(id, stored));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(i + 1, stored[i]->record_index);
  EXPECT_EQ(3, Store().CountMacroRecords(id));
  EXPECT_EQ(4, Store().CountAllMacroRecords());
  EXPECT_TRUE(Store().DeleteMacroRecords(id));
  EXPECT_EQ(0, Store().CountMacroRecords(id));
  EXPECT_EQ(1, Store().CountAllMacroRecords());
}

TEST_F(StoreAccessorTest, DeletingAMacroFreesTheKeysThatRanIt) {
  const int id = Store().CreateMacro(L"M");
  const int kept = Store().CreateMacro(L"N");
  Store().InsertMacroRecords({MACRO_RECORD{0, id, 1, 1, 4, 10, L"a"}, MACRO_RECORD{0, kept, 1, 1, 5, 10, L"b"}});
  Store().InsertKeyMacros({KeyRow(1, 0, 30, 3, id), KeyRow(2, 7, 31, 3, id), KeyRow(1, 100, 32, 3, id),
                           KeyRow(1, 0, 33, 2, id), KeyRow(1, 0, 34, 3, kept)});

  EXPECT_TRUE(Store().DeleteMacro(id));
  MACRO_DATA gone;
  EXPECT_FALSE(Store().GetMacro(id, gone));
  EXPECT_EQ(0, Store().CountMacroRecords(id));
  EXPECT_EQ(1, Store().CountMacroRecords(kept));
  // Every key that ran the macro, in any profile and layer, is its own key again; no row
  // is lost, so later assignments to those keys still find their row.
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"1", "0", "30", "2", "30", "0", "0", ""},
                                                   {"2", "7", "31", "2", "31", "0", "0", ""},
                                                   {"1", "100", "32", "2", "32", "0", "0", ""},
                                                   {"1", "0", "33", "2", Col(id), "7", "8", "desc"},
                                                   {"1", "0", "34", "3", Col(kept), "7", "8", "desc"}}),
            m_raw->Rows("SELECT profile, fn_layer, key_code, macro_type, macro_value, macro_value2, macro_value3, "
                        "macro_desc FROM t_key_macro_data ORDER BY key_id"));
  EXPECT_TRUE(Store().DeleteMacro(999)) << "deleting nothing succeeds";
}

TEST_F(StoreAccessorTest, AdvancedKeysAndTheirActions) {
  MAGNETIC_KEY_DATA key;
  key.profile = 1, key.macro_type = 14, key.fn_layer = 2, key.name = L"DKS";
  const int dks = Store().InsertMagneticKey(key);
  key.profile = 2;
  const int elsewhere = Store().InsertMagneticKey(key);
  ASSERT_GT(dks, 0);
  KEY_ITEM_DATA item;
  for (int owner : {dks, dks, dks, dks, elsewhere}) {
    item.macro_id = owner;
    ASSERT_GT(Store().InsertKeyItem(item), 0);
  }

  MagneticKeyList keys;
  ASSERT_EQ(1, Store().GetMagneticKeys(keys)) << "profile 1 only";
  EXPECT_EQ(dks, keys[0]->macro_id);
  MAGNETIC_KEY_DATA found;
  EXPECT_TRUE(Store().GetMagneticKey(elsewhere, found));
  EXPECT_EQ(2, found.profile);

  KeyItemList items;
  EXPECT_EQ(4, Store().GetKeyItems(dks, items));
  EXPECT_TRUE(Store().DeleteMagneticKey(dks));
  EXPECT_FALSE(Store().GetMagneticKey(dks, found));
  EXPECT_EQ(0, Store().GetKeyItems(dks, items));
  EXPECT_TRUE(items.empty());
  EXPECT_EQ(1, Store().GetKeyItems(elsewhere, items));
  EXPECT_TRUE(Store().DeleteMagneticKey(999));
  EXPECT_TRUE(Store().DeleteKeyItems(elsewhere));
  EXPECT_EQ(0, Store().GetKeyItems(elsewhere, items));
}

TEST_F(StoreTest, ClosedStoreFailsEveryAccessor) {
  ConfigDatabase& s = Store();
  CString text = L"stale";
  EXPECT_FALSE(s.SetConfigValue(0, L"k", L"v"));
  EXPECT_FALSE(s.GetConfigValue(0, L"k", text));
  EXPECT_TRUE(text.IsEmpty());
  text = L"stale";
  EXPECT_FALSE(s.GetProfileName(1, text));
  EXPECT_TRUE(text.IsEmpty());
  const int inserts[] = {s.InsertProfile(PROFILE_DATA()), s.InsertLight(LIGHT_DATA()), s.InsertMusicLayer(1, L"", 0),
                         s.CreateMacro(L"m"), s.InsertMacro(MACRO_DATA()), s.InsertMacroRecord(MACRO_RECORD()),
                         s.InsertMagneticKey(MAGNETIC_KEY_DATA()), s.InsertKeyItem(KEY_ITEM_DATA())};
  for (int id : inserts) EXPECT_EQ(0, id);
  const int numbers[] = {s.GetActiveProfile(), s.CountKeyMacros(1),    s.CountKeyPerfs(1),     s.CountLights(1),
                         s.GetActiveLightMode(1), s.CountMusicLayers(1), s.CountAllMacroRecords(), s.CountMacroRecords(1)};
  for (int n : numbers) EXPECT_EQ(0, n);
  const bool writers[] = {s.DeleteProfile(1),          s.RenameProfile(1, L"x"),  s.SetActiveProfile(1),
                          s.UpdateLight(1, LIGHT_DATA()), s.SetActiveLightMode(1, 1), s.DeleteUserLightRgbs(1),
                          s.UpdateMusicLayer(1, MUSICLAYER_DATA()), s.UpdateMacro(MACRO_DATA()), s.DeleteMacro(1),
                          s.DeleteMacroRecords(1),     s.UpdateMagneticKey(1, MAGNETIC_KEY_DATA()),
                          s.DeleteMagneticKey(1),      s.DeleteKeyItems(1)};
  for (bool written : writers) EXPECT_FALSE(written);

  KEY_MACRO_DATA key;
  LIGHT_DATA light;
  MUSICLAYER_DATA layer;
  MACRO_DATA macro;
  MAGNETIC_KEY_DATA magnetic;
  EXPECT_FALSE(s.GetKeyMacro(0, 4, key) || s.GetLight(1, 1, light) || s.GetMusicLayer(1, layer) ||
               s.GetMacro(1, macro) || s.GetMagneticKey(1, magnetic));

  auto stale = [](auto& list) {
    list.push_back(std::make_unique<typename std::decay_t<decltype(list)>::value_type::element_type>());
    return &list;
  };
  ProfileList profiles;
  KeyMacroList keys;
  KeyPerfList perfs;
  LightList lights;
  UserLightRgbList colours;
  MacroList macros;
  MacroRecordList events;
  MagneticKeyList magnetics;
  KeyItemList items;
  EXPECT_EQ(0, s.GetProfiles(*stale(profiles)) + s.GetLayerKeyMacros(0, *stale(keys)) +
                   s.GetProfileKeyMacros(*stale(keys)) + s.GetAllKeyMacros(*stale(keys)) +
                   s.GetKeyPerfs(1, *stale(perfs)) + s.GetLights(1, *stale(lights)) +
                   s.GetUserLightRgbs(1, *stale(colours)) + s.GetMacros(*stale(macros)) +
                   s.GetMacroRecords(1, *stale(events)) + s.GetMagneticKeys(*stale(magnetics)) +
                   s.GetKeyItems(1, *stale(items)));
  EXPECT_TRUE(profiles.empty() && keys.empty() && perfs.empty() && lights.empty() && colours.empty() &&
              macros.empty() && events.empty() && magnetics.empty() && items.empty());

  // Batch writers do nothing and report nothing; the colour writer reports the list size.
  s.InsertKeyMacros({key});
  s.UpdateKeyMacros({key});
  s.UpdateKeyMacro(key);
  s.InsertKeyPerfs({KEY_PERF_DATA()});
  s.UpdateKeyPerfs({KEY_PERF_DATA()});
  s.InsertMacroRecords({MACRO_RECORD()});
  EXPECT_EQ(128, s.InsertUserLightRgbs(std::vector<USERLIGHTRGB_DATA>(128)));
}

}  // namespace
