// Key assignments and per-key performance rows of the settings store.
#include "storage/ConfigDatabase.h"

#include "storage/StoreQuery.h"

namespace {

constexpr const char* kInsertKeyMacro =
    "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, macro_type, macro_value, macro_value2, "
    "macro_value3, macro_desc) VALUES (?, ?, ?, ?, ?, ?, ?, ?);";
constexpr const char* kUpdateKeyMacro =
    "UPDATE t_key_macro_data SET macro_type = ?, macro_value = ?, macro_value2 = ?, macro_value3 = ?, "
    "macro_desc = ? WHERE profile = ? AND fn_layer = ? AND key_code = ?;";
constexpr const char* kInsertKeyPerf =
    "INSERT INTO t_key_perf_data(profile, key_code, switch_type, key_mode, key_actuation, rt_press, rt_release, "
    "deadzone_state, press_deadzone, release_deadzone) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
constexpr const char* kUpdateKeyPerf =
    "UPDATE t_key_perf_data SET switch_type = ?, key_mode = ?, key_actuation = ?, rt_press = ?, rt_release = ?, "
    "deadzone_state = ?, press_deadzone = ?, release_deadzone = ? WHERE profile = ? AND key_code = ?;";

void FillKeyMacro(StoreQuery& row, KEY_MACRO_DATA& key) {
  key.key_id = row.ColumnInt(0);
  key.profile = row.ColumnInt(1);
  key.fn_layer = row.ColumnInt(2);
  key.key_code = row.ColumnInt(3);
  key.macro_type = row.ColumnInt(4);
  key.macro_value = row.ColumnInt(5);
  key.macro_value2 = row.ColumnInt(6);
  key.macro_value3 = row.ColumnInt(7);
  key.macro_desc = row.ColumnText(8);
}

void BindKeyMacroUpdate(StoreQuery& query, const KEY_MACRO_DATA& key) {
  query.Int(key.macro_type)
      .Int(key.macro_value)
      .Int(key.macro_value2)
      .Int(key.macro_value3)
      .Text(key.macro_desc)
      .Int(key.profile)
      .Int(key.fn_layer)
      .Int(key.key_code);
}

void FillKeyPerf(StoreQuery& row, KEY_PERF_DATA& perf) {
  perf.perf_id = row.ColumnInt(0);
  perf.profile = row.ColumnInt(1);
  perf.key_code = row.ColumnInt(2);
  perf.switch_type = row.ColumnInt(3);
  perf.key_mode = row.ColumnInt(4);
  perf.key_actuation = row.ColumnInt(5);
  perf.rt_press = row.ColumnInt(6);
  perf.rt_release = row.ColumnInt(7);
  perf.deadzone_state = row.ColumnInt(8);
  perf.press_deadzone = row.ColumnInt(9);
  perf.release_deadzone = row.ColumnInt(10);
}

// The eight settings in the order both the INSERT (after profile, key_code) and the
// UPDATE (before profile, key_code) name them.
void BindPerfSettings(StoreQuery& query, const KEY_PERF_DATA& perf) {
  query.Int(perf.switch_type)
      .Int(perf.key_mode)
      .Int(perf.key_actuation)
      .Int(perf.rt_press)
      .Int(perf.rt_release)
      .Int(perf.deadzone_state)
      .Int(perf.press_deadzone)
      .Int(perf.release_deadzone);
}

}  // namespace

int ConfigDatabase::CountKeyMacros(int profile) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "select count(*) FROM t_key_macro_data WHERE profile = ?").Int(profile).Number();
}

void ConfigDatabase::InsertKeyMacros(const std::vector<KEY_MACRO_DATA>& rows) {
  StoreLock hold(m_lock);
  WriteBatch(m_db, kInsertKeyMacro, rows, [](StoreQuery& query, const KEY_MACRO_DATA& row) {
    query.Int(row.profile)
        .Int(row.fn_layer)
        .Int(row.key_code)
        .Int(row.macro_type)
        .Int(row.macro_value)
        .Int(row.macro_value2)
        .Int(row.macro_value3)
        .Text(row.macro_desc);
  });
}

void ConfigDatabase::UpdateKeyMacro(const KEY_MACRO_DATA& row) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, kUpdateKeyMacro);
  BindKeyMacroUpdate(query, row);
  query.Write();
}

void ConfigDatabase::UpdateKeyMacros(const std::vector<KEY_MACRO_DATA>& rows) {
  StoreLock hold(m_lock);
  WriteBatch(m_db, kUpdateKeyMacro, rows, BindKeyMacroUpdate);
}

bool ConfigDatabase::GetKeyMacro(int fnLayer, int keyCode, KEY_MACRO_DATA& row) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
  query.Int(1).Int(fnLayer).Int(keyCode);
  return query.ReadRow(row, FillKeyMacro);
}

int ConfigDatabase::GetLayerKeyMacros(int fnLayer, KeyMacroList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
  query.Int(1).Int(fnLayer);
  return query.ReadList(list, FillKeyMacro);
}

int ConfigDatabase::GetProfileKeyMacros(KeyMacroList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_key_macro_data WHERE profile = ?");
  query.Int(1);
  return query.ReadList(list, FillKeyMacro);
}

int ConfigDatabase::GetAllKeyMacros(KeyMacroList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_key_macro_data");
  return query.ReadList(list, FillKeyMacro);
}

int ConfigDatabase::CountKeyPerfs(int profile) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "select count(*) FROM t_key_perf_data WHERE profile = ?").Int(profile).Number();
}

void ConfigDatabase::InsertKeyPerfs(const std::vector<KEY_PERF_DATA>& rows) {
  StoreLock hold(m_lock);
  WriteBatch(m_db, kInsertKeyPerf, rows, [](StoreQuery& query, const KEY_PERF_DATA& row) {
    query.Int(row.profile).Int(row.key_code);
    BindPerfSettings(query, row);
  });
}

void ConfigDatabase::UpdateKeyPerfs(const std::vector<KEY_PERF_DATA>& rows) {
  StoreLock hold(m_lock);
  WriteBatch(m_db, kUpdateKeyPerf, rows, [](StoreQuery& query, const KEY_PERF_DATA& row) {
    BindPerfSettings(query, row);
    query.Int(row.profile).Int(row.key_code);
  });
}

int ConfigDatabase::GetKeyPerfs(int profile, KeyPerfList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_key_perf_data WHERE profile = ?");
  query.Int(profile);
  return query.ReadList(list, FillKeyPerf);
}
