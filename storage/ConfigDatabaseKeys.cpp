// Key assignments and per-key performance rows of the settings store.
#include "storage/ConfigDatabase.h"

#include "storage/StoreQuery.h"

namespace {

constexpr const char* kInsertKeyMacro =
    "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, macro_type, macro_value, macro_value2, "
    "macro_value3, macro_desc) VALUES (?, ?, ?, ?, ?, ?, ?, ?);";

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
