// Macros and their recorded events in the settings store.
#include "storage/ConfigDatabase.h"

#include "storage/StoreQuery.h"

namespace {

constexpr const char* kInsertMacro =
    "INSERT INTO t_macro_data(play_times, delay_type, delay_time, link_count, name) VALUES (?, ?, ?, ?, ?);";
constexpr const char* kInsertMacroRecord =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) VALUES (?, ?, ?, ?, ?, ?);";

// Key-assignment kinds a deleted macro's keys move between.
constexpr int kKindKey = 2;
constexpr int kKindMacro = 3;

void FillMacro(StoreQuery& row, MACRO_DATA& macro) {
  macro.macro_id = row.ColumnInt(0);
  macro.play_times = row.ColumnInt(1);
  macro.delay_type = row.ColumnInt(2);
  macro.delay_time = row.ColumnInt(3);
  macro.link_count = row.ColumnInt(4);
  macro.name = row.ColumnText(5);
}

void FillMacroRecord(StoreQuery& row, MACRO_RECORD& record) {
  record.record_id = row.ColumnInt(0);
  record.macro_id = row.ColumnInt(1);
  record.type = row.ColumnInt(2);
  record.record_index = row.ColumnInt(3);
  record.desc = row.ColumnText(4);
  record.value = row.ColumnInt(5);
  record.delay_time = row.ColumnInt(6);
}

void BindMacroRecord(StoreQuery& query, const MACRO_RECORD& record) {
  query.Int(record.macro_id)
      .Int(record.type)
      .Int(record.record_index)
      .Text(record.desc)
      .Int(record.value)
      .Int(record.delay_time);
}

}  // namespace

int ConfigDatabase::CreateMacro(const CString& name) {
  StoreLock hold(m_lock);
  MACRO_DATA macro;
  macro.name = name;
  macro.play_times = 1;
  macro.delay_type = 1;
  return InsertMacro(macro);
}

int ConfigDatabase::InsertMacro(const MACRO_DATA& row) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, kInsertMacro)
      .Int(row.play_times)
      .Int(row.delay_type)
      .Int(row.delay_time)
      .Int(row.link_count)
      .Text(row.name)
      .Insert();
}

bool ConfigDatabase::UpdateMacro(const MACRO_DATA& row) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "UPDATE t_macro_data SET play_times = ?, delay_type = ?, delay_time = ? WHERE macro_id = ?")
      .Int(row.play_times)
      .Int(row.delay_type)
      .Int(row.delay_time)
      .Int(row.macro_id)
      .Write();
}

bool ConfigDatabase::DeleteMacro(int macroId) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "DELETE FROM t_macro_data WHERE macro_id = ?");
  if (!query.Int(macroId).Write()) return false;
  query.Prepare("DELETE FROM t_macrorecord WHERE macro_id = ?");
  query.Int(macroId).Write();
  // Key rows are only ever updated after they are first stored, never inserted again,
  // so the keys that ran the macro keep their rows and become their own plain key
  // again; deleting the rows would lose every later assignment to those keys.
  query.Prepare(
      "UPDATE t_key_macro_data SET macro_type = ?, macro_value = key_code, macro_value2 = ?, macro_value3 = ?, "
      "macro_desc = ? WHERE macro_type = ? and macro_value = ?");
  return query.Int(kKindKey).Int(0).Int(0).Text(CString()).Int(kKindMacro).Int(macroId).Write();
}

bool ConfigDatabase::GetMacro(int macroId, MACRO_DATA& row) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_macro_data WHERE macro_id = ?");
  query.Int(macroId);
  return query.ReadRow(row, FillMacro);
}

int ConfigDatabase::GetMacros(MacroList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_macro_data");
  return query.ReadList(list, FillMacro);
}

int ConfigDatabase::InsertMacroRecord(const MACRO_RECORD& row) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, kInsertMacroRecord);
  BindMacroRecord(query, row);
  return query.Insert();
}

void ConfigDatabase::InsertMacroRecords(const std::vector<MACRO_RECORD>& rows) {
  StoreLock hold(m_lock);
  WriteBatch(m_db, kInsertMacroRecord, rows, BindMacroRecord);
}

int ConfigDatabase::GetMacroRecords(int macroId, MacroRecordList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC");
  query.Int(macroId);
  return query.ReadList(list, FillMacroRecord);
}

bool ConfigDatabase::DeleteMacroRecords(int macroId) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "DELETE FROM t_macrorecord WHERE macro_id = ?").Int(macroId).Write();
}

int ConfigDatabase::CountAllMacroRecords() {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "select count(*) FROM t_macrorecord").Number();
}

int ConfigDatabase::CountMacroRecords(int macroId) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "select count(*) FROM t_macrorecord WHERE macro_id = ?").Int(macroId).Number();
}
