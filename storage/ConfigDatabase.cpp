#include "storage/ConfigDatabase.h"

#include "storage/StoreQuery.h"

namespace {

// sqlite3_open_v2 flags: read-write in serialized mode, and with create for a new file.
constexpr int kOpenExisting = 0x00010002;  // SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX
constexpr int kOpenCreate = 0x00010006;    // ... | SQLITE_OPEN_CREATE

// The whole schema, each table followed by its index. The column order is shared with
// database files already on users' disks, whose readers take columns by position: it
// must never change. Every statement only adds what is missing, so running the list on
// an existing file is harmless.
constexpr const char* kSchema[] = {
    "CREATE TABLE IF NOT EXISTS t_config_data (config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, key TEXT, value TEXT)",
    "CREATE TABLE IF NOT EXISTS t_profile_data (profile INTEGER PRIMARY KEY AUTOINCREMENT, "
    "type INTEGER, name TEXT, status INTEGER)",
    "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",
    "CREATE TABLE IF NOT EXISTS t_key_macro_data (key_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, fn_layer INTEGER, key_code INTEGER, macro_type INTEGER, macro_value INTEGER, "
    "macro_value2 INTEGER, macro_value3 INTEGER, macro_desc TEXT)",
    "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",
    "CREATE TABLE IF NOT EXISTS t_key_perf_data (perf_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, key_code INTEGER, switch_type INTEGER, key_mode INTEGER, key_actuation INTEGER, "
    "rt_press INTEGER, rt_release INTEGER, deadzone_state INTEGER, press_deadzone INTEGER, "
    "release_deadzone INTEGER)",
    "CREATE INDEX IF NOT EXISTS keyperfindex ON t_key_perf_data(perf_id)",
    "CREATE TABLE IF NOT EXISTS t_key_otherdata (macro_value INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_desc TEXT, param TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",
    "CREATE TABLE IF NOT EXISTS t_magnetic_key_data (macro_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, key_value INTEGER, fn_layer INTEGER, macro_type INTEGER, key1_value INTEGER, "
    "key2_value INTEGER, key1_name TEXT, key2_name TEXT, reserved INTEGER)",
    "CREATE INDEX IF NOT EXISTS magnetic_keyindex ON t_magnetic_key_data(macro_id)",
    "CREATE TABLE IF NOT EXISTS t_key_item_data (keyitem_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_id INTEGER, trigger_state1 INTEGER, trigger_state2 INTEGER, trigger_state3 INTEGER, "
    "trigger_state4 INTEGER, key_value INTEGER, key_name TEXT)",
    "CREATE INDEX IF NOT EXISTS key_itemindex ON t_key_item_data(macro_id)",
    "CREATE TABLE IF NOT EXISTS t_macro_data (macro_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "play_times INTEGER, delay_type INTEGER, delay_time INTEGER, link_count INTEGER, name TEXT)",
    "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",
    "CREATE TABLE IF NOT EXISTS t_macrorecord (record_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_id INTEGER, type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",
    "CREATE TABLE IF NOT EXISTS t_light_data (light_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, direction INTEGER, "
    "colorful INTEGER, colorindex INTEGER, color_value INTEGER, config_func INTEGER, reserved INTEGER, "
    "status INTEGER)",
    "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",
    "CREATE TABLE IF NOT EXISTS t_userlight_data (userlight_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, speed INTEGER, brightness INTEGER, status INTEGER)",
    "CREATE INDEX IF NOT EXISTS userlightindex ON t_userlight_data(userlight_id)",
    "CREATE TABLE IF NOT EXISTS t_userlightrgb_data (userlightrgb_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, userlight_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
    "CREATE INDEX IF NOT EXISTS userlightrgbindex ON t_userlightrgb_data(userlightrgb_id)",
    "CREATE TABLE IF NOT EXISTS t_customlight_data (customlight_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, speed INTEGER, brightness INTEGER, status INTEGER)",
    "CREATE INDEX IF NOT EXISTS customlightindex ON t_customlight_data(customlight_id)",
    "CREATE TABLE IF NOT EXISTS t_customrgb_data (customrgb_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "customlight_id INTEGER, keycode INTEGER, rgbvalue INTEGER, light_mode INTEGER, colortype INTEGER, "
    "light_type INTEGER)",
    "CREATE INDEX IF NOT EXISTS customrgbindex ON t_customrgb_data(customrgb_id)",
    "CREATE TABLE IF NOT EXISTS t_musiclayer_data (layer_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, deviceindex INTEGER, foremode INTEGER, fore_amplitude INTEGER, "
    "backmode INTEGER, backb_right INTEGER, sel INTEGER)",
    "CREATE INDEX IF NOT EXISTS musiclayerindex ON t_musiclayer_data(layer_id)",
    "CREATE TABLE IF NOT EXISTS t_ledlayer_data (led_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, type INTEGER, name TEXT, frame_size INTEGER, file_dir TEXT, first_file TEXT)",
    "CREATE TABLE IF NOT EXISTS t_ledframe_data (frame_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "led_id INTEGER, name TEXT, delay_time INTEGER, frame_index INTEGER, file_name TEXT)",
};

struct ConfigDefault {
  const char* key;
  const char* value;
};

// The configuration rows every profile starts with (profile 0 holds the device-wide
// ones). Values are stored as text; colours are 24-bit values written in decimal.
constexpr ConfigDefault kConfigDefaults[] = {
    {"version", "1.0.1"},
    {"keyboard_layout", "1"},
    {"fn_layer", "0"},
    {"fn_switch", "0"},
    {"lightmode", "1"},
    {"sleep_time", "2"},
    {"key_respondtime", "2"},
    {"sleep_light", "0"},
    {"userlight", "0"},
    {"customlight", "0"},
    {"customlight_run", "0"},
    {"enable_light", "1"},
    {"enable_music", "0"},
    {"gamemode", "0"},
    {"disable_alttab", "0"},
    {"disable_altf4", "0"},
    {"disable_win", "0"},
    {"default_color1", "8331093"},
    {"default_color2", "4114939"},
    {"default_color3", "65280"},
    {"default_color4", "16776960"},
    {"default_color5", "255"},
    {"default_color6", "14237951"},
    {"default_color7", "14237951"},
    {"default_color8", "16777215"},
    {"perf_rapidtrigger_mode", "1"},
    {"perf_sensitivity_mode", "1"},
    {"perf_continuerapidtrigger_mode", "0"},
    {"global_key_actuation", "75"},
    {"global_sensitivity_pos", "5"},
    {"global_rt1_pos", "5"},
    {"global_rt2_pos", "5"},
    {"tick_rate", "0"},
    {"debounce_level", "0"},
    {"reporte_rate", "1"},  // spelled so in every existing file
    {"perf_tachyon_mode", "0"},
    {"perf_bottomrapidtrigger_mode", "0"},
    {"dead_zone", "0"},
    {"dead_zone_topvalue", "0"},
    {"dead_zone_bottomvalue", "10"},
    {"actuation_check", "0"},
    {"debug_mode", "0"},
    {"switch_type", "5"},
};

CString DatabasePath(const CString& folder, const CString& modelName) {
  CString path(folder);
  path.AppendFormat(L"db\\%s_datav8.db", modelName.GetString());
  return path;
}

bool IsFile(const CString& path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

ConfigDatabase& ConfigDatabase::Instance() {
  static ConfigDatabase store;
  return store;
}

ConfigDatabase::ConfigDatabase() : m_modelId(0), m_opened(false) { InitializeCriticalSection(&m_lock); }

ConfigDatabase::~ConfigDatabase() {
  Close();
  DeleteCriticalSection(&m_lock);
}

bool ConfigDatabase::Open(const CString& folder, const CString& modelName) {
  StoreLock hold(m_lock);
  const CString path = DatabasePath(folder, modelName);
  m_path = ToUtf8(path);
  bool opened;
  if (IsFile(path)) {
    opened = m_db.IsOpen() || (m_db.Open(m_path.c_str(), kOpenExisting) && CompleteExistingFile());
  } else {
    opened = CreateSchema();
  }
  m_opened = opened;
  return opened;
}

bool ConfigDatabase::CompleteExistingFile() {
  // A file that is no database, or one another process holds locked, fails here; the
  // store then stays closed so every accessor reports failure instead of half-working.
  if (RunSchema() != 0) {
    m_db.Close();
    return false;
  }
  // A creation interrupted between the schema and the default rows is finished now.
  if (StoreQuery(m_db, "select count(*) FROM t_config_data WHERE profile = ?").Int(0).Number() == 0) {
    InsertDefaultConfig(0);
  }
  return true;
}

int ConfigDatabase::RunSchema() {
  int combined = 0;
  for (const char* statement : kSchema) combined |= m_db.Execute(statement);
  return combined;
}

void ConfigDatabase::Close() {
  StoreLock hold(m_lock);
  // Closed whether or not the last open succeeded: a failed schema leaves the
  // connection open, and the file must be free for deleting.
  m_db.Close();
  m_opened = false;
}

void ConfigDatabase::RemoveFile(const CString& folder, const CString& modelName) {
  StoreLock hold(m_lock);
  DeleteFileW(DatabasePath(folder, modelName));
}

bool ConfigDatabase::CreateSchema() {
  StoreLock hold(m_lock);
  if (m_db.IsOpen()) return true;
  // An empty path would make SQLite open a temporary database instead of a file.
  if (m_path.empty() || !m_db.Open(m_path.c_str(), kOpenCreate)) return false;
  const int combined = RunSchema();
  InsertDefaultConfig(0);
  return combined == 0;
}

void ConfigDatabase::InsertDefaultConfig(int profile) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db);
  for (const ConfigDefault& row : kConfigDefaults) {
    query.Prepare("INSERT INTO t_config_data(profile, key, value) VALUES (?, ?, ?);");
    query.Int(profile).Bytes(row.key).Bytes(row.value).Write();
  }
}
