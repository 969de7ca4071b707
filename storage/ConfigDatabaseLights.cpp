// Lighting rows, per-key user colours and music layers of the settings store.
#include "storage/ConfigDatabase.h"

#include "storage/StoreQuery.h"

namespace {

void FillLight(StoreQuery& row, LIGHT_DATA& light) {
  light.light_id = row.ColumnInt(0);
  light.profile = row.ColumnInt(1);
  light.name = row.ColumnText(2);
  light.mode = row.ColumnInt(3);
  light.brightness = row.ColumnInt(4);
  light.speed = row.ColumnInt(5);
  light.direction = row.ColumnInt(6);
  light.colorful = row.ColumnInt(7);
  light.colorindex = row.ColumnInt(8);
  light.color_value = row.ColumnInt(9);
  light.config_func = row.ColumnInt(10);
  light.reserved = row.ColumnInt(11);
  light.status = row.ColumnInt(12);
}

void FillUserLightRgb(StoreQuery& row, USERLIGHTRGB_DATA& colour) {
  colour.userlightrgb_id = row.ColumnInt(0);
  colour.profile = row.ColumnInt(1);
  colour.userlight_id = row.ColumnInt(2);
  colour.key_code = row.ColumnInt(3);
  colour.key_rgb = row.ColumnInt(4);
}

// Columns 0 to 7; sel (column 8) is not held.
void FillMusicLayer(StoreQuery& row, MUSICLAYER_DATA& layer) {
  layer.layer_id = row.ColumnInt(0);
  layer.profile = row.ColumnInt(1);
  layer.name = row.ColumnText(2);
  layer.deviceindex = row.ColumnInt(3);
  layer.foremode = row.ColumnInt(4);
  layer.fore_amplitude = row.ColumnInt(5);
  layer.backmode = row.ColumnInt(6);
  layer.backb_right = row.ColumnInt(7);
  layer.sel = row.ColumnInt(8);
}

}  // namespace

int ConfigDatabase::CountLights(int profile) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "select count(*) FROM t_light_data WHERE profile = ?").Int(profile).Number();
}

int ConfigDatabase::InsertLight(const LIGHT_DATA& row) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db,
                    "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
                    "colorindex, color_value, config_func, reserved, status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                    "?, ?);")
      .Int(row.profile)
      .Text(row.name)
      .Int(row.mode)
      .Int(row.brightness)
      .Int(row.speed)
      .Int(row.direction)
      .Int(row.colorful)
      .Int(row.colorindex)
      .Int(row.color_value)
      .Int(row.config_func)
      .Int(row.reserved)
      .Int(row.status)
      .Insert();
}

bool ConfigDatabase::UpdateLight(int mode, const LIGHT_DATA& row) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db,
                    "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, colorindex = ?, "
                    "color_value = ?, config_func = ?, reserved = ?, status = ? WHERE profile = ? AND mode = ?")
      .Int(row.brightness)
      .Int(row.speed)
      .Int(row.direction)
      .Int(row.colorful)
      .Int(row.colorindex)
      .Int(row.color_value)
      .Int(row.config_func)
      .Int(row.reserved)
      .Int(row.status)
      .Int(row.profile)
      .Int(mode)
      .Write();
}

bool ConfigDatabase::SetActiveLightMode(int profile, int mode) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "UPDATE t_light_data SET status = ? WHERE profile = ?");
  query.Int(0).Int(profile).Write();
  query.Prepare("UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?");
  return query.Int(1).Int(profile).Int(mode).Write();
}

int ConfigDatabase::GetActiveLightMode(int profile) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?").Int(profile).Int(1).Number();
}

bool ConfigDatabase::GetLight(int profile, int mode, LIGHT_DATA& row) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?");
  query.Int(profile).Int(mode);
  return query.ReadRow(row, FillLight);
}

int ConfigDatabase::GetLights(int profile, LightList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_light_data WHERE profile = ?");
  query.Int(profile);
  return query.ReadList(list, FillLight);
}

int ConfigDatabase::InsertUserLightRgbs(const std::vector<USERLIGHTRGB_DATA>& rows) {
  StoreLock hold(m_lock);
  WriteBatch(m_db, "INSERT INTO t_userlightrgb_data(profile, userlight_id, key_code, key_rgb) VALUES (?, ?, ?, ?);",
             rows, [](StoreQuery& query, const USERLIGHTRGB_DATA& row) {
               query.Int(row.profile).Int(row.userlight_id).Int(row.key_code).Int(row.key_rgb);
             });
  return static_cast<int>(rows.size());
}

bool ConfigDatabase::DeleteUserLightRgbs(int userlightId) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "DELETE FROM t_userlightrgb_data WHERE userlight_id = ?").Int(userlightId).Write();
}

int ConfigDatabase::GetUserLightRgbs(int userlightId, UserLightRgbList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_userlightrgb_data WHERE userlight_id = ?");
  query.Int(userlightId);
  return query.ReadList(list, FillUserLightRgb);
}

int ConfigDatabase::CountMusicLayers(int profile) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "select count(*) FROM t_musiclayer_data WHERE profile = ?").Int(profile).Number();
}

int ConfigDatabase::InsertMusicLayer(int profile, const CString& name, int foremode) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db,
                    "INSERT INTO t_musiclayer_data(profile, name, deviceindex, foremode, fore_amplitude, backmode, "
                    "backb_right, sel) VALUES (?, ?, ?, ?, ?, ?, ?, ?);")
      .Int(profile)
      .Text(name)
      .Int(0)
      .Int(foremode)
      .Int(4)
      .Int(0)
      .Int(20)
      .Int(0)
      .Insert();
}

bool ConfigDatabase::GetMusicLayer(int profile, MUSICLAYER_DATA& row) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_musiclayer_data WHERE profile = ?");
  query.Int(profile);
  return query.ReadRow(row, FillMusicLayer);
}

bool ConfigDatabase::UpdateMusicLayer(int profile, const MUSICLAYER_DATA& row) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db,
                    "UPDATE t_musiclayer_data SET deviceindex= ?, foremode= ?, fore_amplitude = ?, backmode= ?, "
                    "backb_right= ? WHERE profile = ?")
      .Int(row.deviceindex)
      .Int(row.foremode)
      .Int(row.fore_amplitude)
      .Int(row.backmode)
      .Int(row.backb_right)
      .Int(profile)
      .Write();
}
