#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "storage/ConfigDatabase.h"
#include "storage/Utf8Text.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct TableShape {
  const char* name;
  const char* columns;  // "name TYPE" pairs in order, the first being the id column
};

// Written out independently of the store's own statements: the column order is shared
// with database files already on users' disks.
const TableShape kTables[] = {
    {"t_config_data", "config_id INTEGER,profile INTEGER,key TEXT,value TEXT"},
    {"t_profile_data", "profile INTEGER,type INTEGER,name TEXT,status INTEGER"},
    {"t_key_macro_data",
     "key_id INTEGER,profile INTEGER,fn_layer INTEGER,key_code INTEGER,macro_type INTEGER,macro_value INTEGER,"
     "macro_value2 INTEGER,macro_value3 INTEGER,macro_desc TEXT"},
    {"t_key_perf_data",
     "perf_id INTEGER,profile INTEGER,key_code INTEGER,switch_type INTEGER,key_mode INTEGER,key_actuation INTEGER,"
     "rt_press INTEGER,rt_release INTEGER,deadzone_state INTEGER,press_deadzone INTEGER,release_deadzone INTEGER"},
    {"t_key_otherdata", "macro_value INTEGER,macro_desc TEXT,param TEXT,type INTEGER"},
    {"t_magnetic_key_data",
     "macro_id INTEGER,profile INTEGER,name TEXT,key_value INTEGER,fn_layer INTEGER,macro_type INTEGER,"
     "key1_value INTEGER,key2_value INTEGER,key1_name TEXT,key2_name TEXT,reserved INTEGER"},
    {"t_key_item_data",
     "keyitem_id INTEGER,macro_id INTEGER,trigger_state1 INTEGER,trigger_state2 INTEGER,trigger_state3 INTEGER,"
     "trigger_state4 INTEGER,key_value INTEGER,key_name TEXT"},
    {"t_macro_data",
     "macro_id INTEGER,play_times INTEGER,delay_type INTEGER,delay_time INTEGER,link_count INTEGER,name TEXT"},
    {"t_macrorecord",
     "record_id INTEGER,macro_id INTEGER,type INTEGER,record_index INTEGER,desc TEXT,value INTEGER,delay_time INTEGER"},
    {"t_light_data",
     "light_id INTEGER,profile INTEGER,name TEXT,mode INTEGER,brightness INTEGER,speed INTEGER,direction INTEGER,"
     "colorful INTEGER,colorindex INTEGER,color_value INTEGER,config_func INTEGER,reserved INTEGER,status INTEGER"},
    {"t_userlight_data", "userlight_id INTEGER,profile INTEGER,name TEXT,speed INTEGER,brightness INTEGER,status INTEGER"},
    {"t_userlightrgb_data",
     "userlightrgb_id INTEGER,profile INTEGER,userlight_id INTEGER,key_code INTEGER,key_rgb INTEGER"},
    {"t_customlight_data",
     "customlight_id INTEGER,profile INTEGER,name TEXT,speed INTEGER,brightness INTEGER,status INTEGER"},
    {"t_customrgb_data",
     "customrgb_id INTEGER,customlight_id INTEGER,keycode INTEGER,rgbvalue INTEGER,light_mode INTEGER,"
     "colortype INTEGER,light_type INTEGER"},
    {"t_musiclayer_data",
     "layer_id INTEGER,profile INTEGER,name TEXT,deviceindex INTEGER,foremode INTEGER,fore_amplitude INTEGER,"
     "backmode INTEGER,backb_right INTEGER,sel INTEGER"},
    {"t_ledlayer_data",
     "led_id INTEGER,profile INTEGER,type INTEGER,name TEXT,frame_size INTEGER,file_dir TEXT,first_file TEXT"},
    {"t_ledframe_data", "frame_id INTEGER,led_id INTEGER,name TEXT,delay_time INTEGER,frame_index INTEGER,file_name TEXT"},
};

const Rows kIndexes = {
    {"profileindex", "t_profile_data", "profile"},
    {"keyindex", "t_key_macro_data", "key_id"},
    {"keyperfindex", "t_key_perf_data", "perf_id"},
    {"otheridindex", "t_key_otherdata", "macro_value"},
    {"magnetic_keyindex", "t_magnetic_key_data", "macro_id"},
    {"key_itemindex", "t_key_item_data", "macro_id"},
    {"macroidindex", "t_macro_data", "macro_id"},
    {"macrorecordindex", "t_macrorecord", "record_id"},
    {"lightindex", "t_light_data", "light_id"},
    {"userlightindex", "t_userlight_data", "userlight_id"},
    {"userlightrgbindex", "t_userlightrgb_data", "userlightrgb_id"},
    {"customlightindex", "t_customlight_data", "customlight_id"},
    {"customrgbindex", "t_customrgb_data", "customrgb_id"},
    {"musiclayerindex", "t_musiclayer_data", "layer_id"},
};

const Rows kDefaults = {
    {"version", "1.0.1"}, {"keyboard_layout", "1"}, {"fn_layer", "0"}, {"fn_switch", "0"},
    {"lightmode", "1"}, {"sleep_time", "2"}, {"key_respondtime", "2"}, {"sleep_light", "0"},
    {"userlight", "0"}, {"customlight", "0"}, {"customlight_run", "0"}, {"enable_light", "1"},
    {"enable_music", "0"}, {"gamemode", "0"}, {"disable_alttab", "0"}, {"disable_altf4", "0"},
    {"disable_win", "0"}, {"default_color1", "8331093"}, {"default_color2", "4114939"},
    {"default_color3", "65280"}, {"default_color4", "16776960"}, {"default_color5", "255"},
    {"default_color6", "14237951"}, {"default_color7", "14237951"}, {"default_color8", "16777215"},
    {"perf_rapidtrigger_mode", "1"}, {"perf_sensitivity_mode", "1"}, {"perf_continuerapidtrigger_mode", "0"},
    {"global_key_actuation", "75"}, {"global_sensitivity_pos", "5"}, {"global_rt1_pos", "5"},
    {"global_rt2_pos", "5"}, {"tick_rate", "0"}, {"debounce_level", "0"}, {"reporte_rate", "1"},
    {"perf_tachyon_mode", "0"}, {"perf_bottomrapidtrigger_mode", "0"}, {"dead_zone", "0"},
    {"dead_zone_topvalue", "0"}, {"dead_zone_bottomvalue", "10"}, {"actuation_check", "0"},
    {"debug_mode", "0"}, {"switch_type", "5"},
};

Rows ConfigRows(RawDb& raw, int profile) {
  return raw.Rows("SELECT key, value FROM t_config_data WHERE profile = " + std::to_string(profile) +
                  " ORDER BY config_id");
}

std::vector<KEY_MACRO_DATA> KeyRows(int count, int profile) {
  std::vector<KEY_MACRO_DATA> rows(count);
  for (int i = 0; i < count; ++i) {
    rows[i].profile = profile;
    rows[i].fn_layer = i / 128;
    rows[i].key_code = i % 128;
    rows[i].macro_type = 2;
    rows[i].macro_value = i;
    rows[i].macro_desc = L"A";
  }
  return rows;
}

std::string FileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(StoreTest, FreshOpenCreatesEveryTableIndexAndDefaultRow) {
  ASSERT_TRUE(OpenStore());
  RawDb raw(DatabaseFile());
  ASSERT_TRUE(raw.IsOpen()) << "the file is " << Utf8Of(DatabaseFile());

  const Rows tables = raw.Rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name <> 'sqlite_sequence'");
  ASSERT_EQ(17u, tables.size());
  for (const TableShape& table : kTables) {
    std::string columns;
    for (const auto& column : raw.Rows(std::string("PRAGMA table_info(") + table.name + ")")) {
      if (!columns.empty()) columns += ",";
      columns += column[1] + " " + column[2];
      EXPECT_EQ(column[0] == "0" ? "1" : "0", column[5]) << table.name << ": only the first column is the key";
    }
    EXPECT_EQ(table.columns, columns) << table.name;
    const std::string sql = raw.Rows(std::string("SELECT sql FROM sqlite_master WHERE name = '") + table.name + "'")[0][0];
    EXPECT_NE(std::string::npos, sql.find("INTEGER PRIMARY KEY AUTOINCREMENT")) << table.name;
  }

  Rows indexes;
  for (const auto& index : raw.Rows("SELECT name, tbl_name FROM sqlite_master WHERE type = 'index' ORDER BY rowid")) {
    indexes.push_back({index[0], index[1], raw.Rows("PRAGMA index_info(" + index[0] + ")")[0][2]});
  }
  EXPECT_EQ(kIndexes, indexes);

  EXPECT_EQ(kDefaults, ConfigRows(raw, 0));
  EXPECT_EQ(43, raw.Number("SELECT count(*) FROM t_config_data"));
}

TEST_F(StoreTest, ReopeningKeepsRowsAndFactoryResetStartsFresh) {
  ASSERT_TRUE(OpenStore());
  ASSERT_TRUE(Store().SetConfigValue(0, L"tick_rate", L"3"));
  EXPECT_TRUE(OpenStore()) << "open while open";
  Store().Close();
  Store().Close();
  ASSERT_TRUE(OpenStore());
  CString value;
  EXPECT_TRUE(Store().GetConfigValue(0, L"tick_rate", value));
  EXPECT_STREQ(L"3", value);

  // An open file cannot be deleted: removing it now leaves it and the store working.
  Store().RemoveFile(m_dataFolder.c_str(), kModel);
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(DatabaseFile().c_str()));
  EXPECT_TRUE(Store().GetConfigValue(0, L"tick_rate", value));

  Store().Close();
  Store().RemoveFile(m_dataFolder.c_str(), kModel);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(DatabaseFile().c_str()));
  ASSERT_TRUE(OpenStore());
  Store().Close();
  RawDb raw(DatabaseFile());
  EXPECT_EQ(kDefaults, ConfigRows(raw, 0));
  EXPECT_EQ(43, raw.Number("SELECT count(*) FROM t_config_data"));
}

TEST_F(StoreTest, HalfBuiltFileIsCompletedOnOpen) {
  // A creation that stopped after the first table: no other table, no default row.
  sqlite3* db = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(Utf8Of(DatabaseFile()).c_str(), &db));
  ASSERT_EQ(SQLITE_OK, sqlite3_exec(db,
                                    "CREATE TABLE t_config_data (config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                    "profile INTEGER, key TEXT, value TEXT)",
                                    nullptr, nullptr, nullptr));
  sqlite3_close(db);

  ASSERT_TRUE(OpenStore());
  Store().Close();
  RawDb raw(DatabaseFile());
  EXPECT_EQ(17, raw.Number("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name <> 'sqlite_sequence'"));
  EXPECT_EQ(14, raw.Number("SELECT count(*) FROM sqlite_master WHERE type = 'index'"));
  EXPECT_EQ(kDefaults, ConfigRows(raw, 0));
}

// Every kind of accessor on a store that could not open: failure values, no changes.
void ExpectEveryAccessorFails(ConfigDatabase& store) {
  CString value = L"stale";
  EXPECT_FALSE(store.GetConfigValue(0, L"tick_rate", value));
  EXPECT_TRUE(value.IsEmpty());
  EXPECT_FALSE(store.SetConfigValue(0, L"tick_rate", L"1"));
  PROFILE_DATA profile;
  profile.type = 1;
  EXPECT_EQ(0, store.InsertProfile(profile));
  ProfileList profiles;
  profiles.push_back(std::make_unique<PROFILE_DATA>());
  EXPECT_EQ(0, store.GetProfiles(profiles));
  EXPECT_TRUE(profiles.empty());
  store.InsertKeyMacros(KeyRows(3, 1));
  EXPECT_EQ(0, store.CountKeyMacros(1));
}

TEST_F(StoreTest, BadPlacesAndFilesFailWithoutTouchingAnything) {
  {
    SCOPED_TRACE("no db folder");
    const std::wstring bare = m_temp.MakeSubFolder(L"bare");
    EXPECT_FALSE(Store().Open(bare.c_str(), kModel));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((bare + L"db").c_str()));
    ExpectEveryAccessorFails(Store());
    EXPECT_FALSE(Store().CreateSchema());
  }
  const std::string garbage(3000, '\x5a');
  {
    SCOPED_TRACE("garbage file");
    std::ofstream(DatabaseFile().c_str(), std::ios::binary) << garbage;
    EXPECT_FALSE(OpenStore());
    ExpectEveryAccessorFails(Store());
    Store().Close();
    EXPECT_TRUE(garbage == FileBytes(DatabaseFile())) << "the garbage file was changed";
  }
  Store().RemoveFile(m_dataFolder.c_str(), kModel);
  ASSERT_TRUE(OpenStore());
  Store().Close();
  {
    SCOPED_TRACE("another connection holds the file locked");
    RawDb other(DatabaseFile());
    other.Exec("BEGIN EXCLUSIVE");
    EXPECT_FALSE(OpenStore());
    ExpectEveryAccessorFails(Store());
    other.Exec("END");
  }
  {
    SCOPED_TRACE("another handle opened the file without sharing");
    HANDLE held = CreateFileW(DatabaseFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(OpenStore());
    ExpectEveryAccessorFails(Store());
    CloseHandle(held);
  }
  {
    // As a read-only file: the read-only attribute itself does not stop an
    // administrator under Wine, so another handle that lets others only read stands in.
    SCOPED_TRACE("a file that can only be read: reads work, writes fail");
    const std::string before = FileBytes(DatabaseFile());
    HANDLE reader = CreateFileW(DatabaseFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    ASSERT_TRUE(OpenStore());
    CString value;
    EXPECT_TRUE(Store().GetConfigValue(0, L"switch_type", value));
    EXPECT_STREQ(L"5", value);
    EXPECT_FALSE(Store().SetConfigValue(0, L"switch_type", L"1"));
    PROFILE_DATA profile;
    EXPECT_EQ(0, Store().InsertProfile(profile));
    Store().InsertKeyMacros(KeyRows(3, 1));
    EXPECT_EQ(0, Store().CountKeyMacros(1));
    Store().Close();
    CloseHandle(reader);
    EXPECT_TRUE(before == FileBytes(DatabaseFile())) << "the read-only file was changed";
  }
  ASSERT_TRUE(OpenStore()) << "the file is usable again once released";
}

int CountBeginEnd(unsigned, void* context, void* statement, void*) {
  const std::string sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
  auto* counts = static_cast<std::vector<std::string>*>(context);
  if (sql == "BEGIN" || sql == "END") counts->push_back(sql);
  return 0;
}

TEST_F(StoreTest, BatchWriterIssuesOneBeginAndOneEnd) {
  ASSERT_TRUE(OpenStore());
  std::vector<std::string> seen;
  sqlite3_trace_v2(ConfigDatabaseProbe::Handle(Store()), SQLITE_TRACE_STMT, CountBeginEnd, &seen);
  Store().InsertKeyMacros(KeyRows(300, 1));
  EXPECT_EQ((std::vector<std::string>{"BEGIN", "END"}), seen);
  seen.clear();
  Store().InsertKeyMacros({});
  EXPECT_EQ((std::vector<std::string>{"BEGIN", "END"}), seen);
  sqlite3_trace_v2(ConfigDatabaseProbe::Handle(Store()), 0, nullptr, nullptr);
  EXPECT_EQ(300, Store().CountKeyMacros(1));
}

TEST_F(StoreTest, TextRoundTripsAsUtf8) {
  struct Case {
    const char* name;
    std::wstring text;
  };
  const Case cases[] = {
      {"empty", L""},
      {"ASCII", L"Lynt 65 Pro"},
      {"Latin-1", L"Gr\u00fc\u00dfe \u00e9t\u00e9"},
      {"CJK", L"\u914d\u7f6e\u6587\u4ef6"},
      {"surrogate pair", L"key \U0001F3B9 end"},
  };
  ASSERT_TRUE(OpenStore());
  RawDb raw(DatabaseFile());
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8Of(c.text), ToUtf8(c.text.c_str())) << c.name;
    EXPECT_STREQ(c.text.c_str(), FromUtf8(Utf8Of(c.text).c_str())) << c.name;
    ASSERT_TRUE(Store().SetConfigValue(0, L"version", c.text.c_str())) << c.name;
    EXPECT_EQ(Utf8Of(c.text), raw.Rows("SELECT value FROM t_config_data WHERE key = 'version'")[0][0]) << c.name;
    CString back;
    EXPECT_TRUE(Store().GetConfigValue(0, L"version", back)) << c.name;
    EXPECT_STREQ(c.text.c_str(), back) << c.name;
  }
  EXPECT_TRUE(FromUtf8(nullptr).IsEmpty());
}

TEST_F(StoreTest, DataFolderWithNonAsciiNameWorks) {
  const std::wstring folder = m_temp.MakeSubFolder(L"Benutzer \u00d6\u00e4 \u8bbe\u7f6e");
  CreateDirectoryW((folder + L"db").c_str(), nullptr);
  const std::wstring file = folder + L"db\\" + kModel + L"_datav8.db";
  ASSERT_TRUE(Store().Open(folder.c_str(), kModel));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(file.c_str()));
  Store().Close();
  ASSERT_TRUE(Store().Open(folder.c_str(), kModel)) << "the existing file opens";
  CString value;
  EXPECT_TRUE(Store().GetConfigValue(0, L"reporte_rate", value));
  Store().Close();
  Store().RemoveFile(folder.c_str(), kModel);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(file.c_str()));
}

struct ThreadRun {
  int batches = 0;
  std::atomic<bool> writing{true};
  std::vector<int> counts;
};

DWORD WINAPI WriteBatches(void* context) {
  auto* run = static_cast<ThreadRun*>(context);
  const std::vector<KEY_MACRO_DATA> rows = KeyRows(1000, 2);
  for (int i = 0; i < run->batches; ++i) ConfigDatabase::Instance().InsertKeyMacros(rows);
  run->writing = false;
  return 0;
}

DWORD WINAPI ReadCounts(void* context) {
  auto* run = static_cast<ThreadRun*>(context);
  while (run->writing) run->counts.push_back(ConfigDatabase::Instance().CountKeyMacros(2));
  run->counts.push_back(ConfigDatabase::Instance().CountKeyMacros(2));
  return 0;
}

TEST_F(StoreTest, ReadersNeverSeeHalfABatch) {
  ASSERT_TRUE(OpenStore());
  ThreadRun run;
  run.batches = 12;
  HANDLE threads[] = {CreateThread(nullptr, 0, WriteBatches, &run, 0, nullptr),
                      CreateThread(nullptr, 0, ReadCounts, &run, 0, nullptr)};
  ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, threads, TRUE, 60000)) << "threads deadlocked";
  for (HANDLE thread : threads) CloseHandle(thread);

  ASSERT_FALSE(run.counts.empty());
  int previous = 0;
  for (int count : run.counts) {
    EXPECT_EQ(0, count % 1000) << "a reader saw part of a batch";
    EXPECT_GE(count, previous) << "a read failed (busy or misuse)";
    previous = count;
  }
  EXPECT_EQ(run.batches * 1000, run.counts.back());
}

}  // namespace
