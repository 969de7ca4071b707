// Configuration values and profiles of the settings store.
#include "storage/ConfigDatabase.h"

#include "storage/StoreQuery.h"

namespace {

void FillProfile(StoreQuery& row, PROFILE_DATA& profile) {
  profile.profile = row.ColumnInt(0);
  profile.type = row.ColumnInt(1);
  profile.name = row.ColumnText(2);
  profile.status = row.ColumnInt(3);
}

}  // namespace

bool ConfigDatabase::SetConfigValue(int profile, const CString& key, const CString& value) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "UPDATE t_config_data SET value = ? WHERE profile = ? and key = ?")
      .Text(value)
      .Int(profile)
      .Text(key)
      .Write();
}

bool ConfigDatabase::GetConfigValue(int profile, const CString& key, CString& value) {
  StoreLock hold(m_lock);
  value.Empty();
  StoreQuery query(m_db, "SELECT value FROM t_config_data WHERE profile = ? and key = ?");
  query.Int(profile).Text(key);
  if (!query.NextRow()) return false;
  value = query.ColumnText(0);
  return true;
}

int ConfigDatabase::InsertProfile(const PROFILE_DATA& profile) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "INSERT INTO t_profile_data(type, name, status) VALUES (?, ?, ?);")
      .Int(profile.type)
      .Text(profile.name)
      .Int(0)
      .Insert();
}

int ConfigDatabase::GetProfiles(ProfileList& list) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "SELECT * FROM t_profile_data WHERE type = ?");
  query.Int(1);
  return query.ReadList(list, FillProfile);
}

bool ConfigDatabase::DeleteProfile(int profile) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "DELETE FROM t_profile_data WHERE profile = ?").Int(profile).Write();
}

bool ConfigDatabase::RenameProfile(int profile, const CString& name) {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "UPDATE t_profile_data SET name = ? WHERE profile = ?").Text(name).Int(profile).Write();
}

bool ConfigDatabase::GetProfileName(int profile, CString& name) {
  StoreLock hold(m_lock);
  name.Empty();
  StoreQuery query(m_db, "SELECT name FROM t_profile_data WHERE profile = ?");
  query.Int(profile);
  if (!query.NextRow()) return false;
  name = query.ColumnText(0);
  return true;
}

bool ConfigDatabase::SetActiveProfile(int profile) {
  StoreLock hold(m_lock);
  StoreQuery query(m_db, "UPDATE t_profile_data SET status = ? WHERE type = ?");
  query.Int(0).Int(1).Write();
  query.Prepare("UPDATE t_profile_data SET status = ? WHERE profile = ?");
  return query.Int(1).Int(profile).Write();
}

int ConfigDatabase::GetActiveProfile() {
  StoreLock hold(m_lock);
  return StoreQuery(m_db, "SELECT profile FROM t_profile_data WHERE type = ? AND status = ?").Int(1).Int(1).Number();
}
