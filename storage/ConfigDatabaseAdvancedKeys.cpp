// Advanced keys and the actions of DKS keys in the settings store.
#include "storage/ConfigDatabase.h"

#include "storage/StoreQuery.h"

namespace {

// The two values the editors keep in memory are not columns and stay 0.
void FillMagneticKey(StoreQuery& row, MAGNETIC_KEY_DATA& key) {
  key.macro_id = row.ColumnInt(0);
  key.profile = row.ColumnInt(1);
  key.name = row.ColumnText(2);
  key.key_value = row.ColumnInt(3);
  key.fn_layer = row.ColumnInt(4);
  key.macro_type = row.ColumnInt(5);
  key.key1_value = row.ColumnInt(6);
  key.key2_value = row.ColumnInt(7);
  key.key1_name = row.ColumnText(8);
  key.key2_name = row.ColumnText(9);
  key.reserved = row.ColumnInt(10);
}

void FillKeyItem(StoreQuery& row, KEY_ITEM_DATA& item) {
  item.keyitem_id = row.ColumnInt(0);
  item.macro_id = row.ColumnInt(1);
  item.trigger_state1 = row.ColumnInt(2);
  item.trigger_state2 = row.ColumnInt(3);
  item.trigger_state3 = row.ColumnInt(4);
  item.trigger_state4 = row.ColumnInt(5);
  item.key_value = row.ColumnInt(6);
  item.key_name = row.ColumnText(7);
}

}  // namespace

int ConfigDatabase::InsertMagneticKey(const MAGNETIC_KEY_DATA& row) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db,
                    "INSERT INTO t_magnetic_key_data(profile, name, key_value, fn_layer, macro_type, key1_value, "
                    "key2_value, key1_name, key2_name, reserved) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);")
      .Int(row.profile)
      .Text(row.name)
      .Int(row.key_value)
      .Int(row.fn_layer)
      .Int(row.macro_type)
      .Int(row.key1_value)
      .Int(row.key2_value)
      .Text(row.key1_name)
      .Text(row.key2_name)
      .Int(row.reserved)
      .Insert();
}

int ConfigDatabase::GetMagneticKeys(MagneticKeyList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_magnetic_key_data WHERE profile = ?");
  query.Int(1);
  return query.ReadList(list, FillMagneticKey);
}

bool ConfigDatabase::GetMagneticKey(int macroId, MAGNETIC_KEY_DATA& row) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_magnetic_key_data WHERE macro_id = ?");
  query.Int(macroId);
  return query.ReadRow(row, FillMagneticKey);
}

bool ConfigDatabase::UpdateMagneticKey(int macroId, const MAGNETIC_KEY_DATA& row) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db,
                    "UPDATE t_magnetic_key_data SET key1_value = ?, key2_value = ?, key1_name = ?, key2_name = ?, "
                    "reserved = ? WHERE macro_id = ?;")
      .Int(row.key1_value)
      .Int(row.key2_value)
      .Text(row.key1_name)
      .Text(row.key2_name)
      .Int(row.reserved)
      .Int(macroId)
      .Write();
}

bool ConfigDatabase::DeleteMagneticKey(int macroId) {
  StoreLock hold(m_lock);
  const bool deleted = StoreQuery(m_db, "DELETE FROM t_magnetic_key_data WHERE macro_id = ?").Int(macroId).Write();
  DeleteKeyItems(macroId);
  return deleted;
}

int ConfigDatabase::InsertKeyItem(const KEY_ITEM_DATA& row) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db,
                    "INSERT INTO t_key_item_data(macro_id, trigger_state1, trigger_state2, trigger_state3, "
                    "trigger_state4, key_value, key_name) VALUES (?, ?, ?, ?, ?, ?, ?);")
      .Int(row.macro_id)
      .Int(row.trigger_state1)
      .Int(row.trigger_state2)
      .Int(row.trigger_state3)
      .Int(row.trigger_state4)
      .Int(row.key_value)
      .Text(row.key_name)
      .Insert();
}

bool ConfigDatabase::DeleteKeyItems(int macroId) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "DELETE FROM t_key_item_data WHERE macro_id = ?").Int(macroId).Write();
}

int ConfigDatabase::GetKeyItems(int macroId, KeyItemList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_key_item_data WHERE macro_id = ?");
  query.Int(macroId);
  return query.ReadList(list, FillKeyItem);
}
