// ConfigDatabase: the program's single settings store. One SQLite connection to the
// database file of the selected keyboard model ("db\<model>_datav8.db" under the data
// folder), one re-entrant lock, one accessor per query. Instance() builds it on first
// use; it lives until the process ends.
//
// Threads: the UI thread (pages) and the worker thread (device tasks, model selection)
// both call it. Every operation, opening and closing included, holds m_lock for its
// whole run; a batch writer holds it from "BEGIN" to "END", so no other thread's
// statement falls inside a batch. Accessors may call each other (the lock re-enters).
//
// Failures are results, never messages: with no connection or a failing statement,
// writers return false, inserts and counts 0, single-row readers false (leaving the
// record as it was), list readers an empty list. Row records and list ownership are
// described in ConfigRecords.h.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "storage/ConfigRecords.h"
#include "storage/SQLiteDB.h"
#include "ui/core/CString.h"

class ConfigDatabase {
public:
  static ConfigDatabase& Instance();
  ConfigDatabase(const ConfigDatabase&) = delete;
  ConfigDatabase& operator=(const ConfigDatabase&) = delete;

  // Opens folder + "db\<modelName>_datav8.db", creating it with the schema and the
  // default rows of profile 0 when it does not exist. An open connection is kept as it
  // is: callers close before they open another model's file.
  bool Open(const CString& folder, const CString& modelName);
  // Closes the connection; the only way the connection is ever closed.
  void Close();
  // Deletes that model's database file; a missing or locked file is left alone.
  void RemoveFile(const CString& folder, const CString& modelName);
  // Creates the file of the path last given to Open with every table and index and the
  // default rows; false when the file cannot be created or a statement failed.
  bool CreateSchema();
  // Adds the default configuration rows of a profile (no check for rows already there).
  void InsertDefaultConfig(int profile);

  // Configuration values (t_config_data) and profiles (t_profile_data). Only type-1
  // profiles are listed, activated or reported active.
  bool SetConfigValue(int profile, const CString& key, const CString& value);  // never inserts a row
  bool GetConfigValue(int profile, const CString& key, CString& value);        // value emptied first
  int InsertProfile(const PROFILE_DATA& profile);  // stores type and name with status 0; the new id
  bool DeleteProfile(int profile);                 // the profile row only
  bool RenameProfile(int profile, const CString& name);
  bool GetProfileName(int profile, CString& name);  // name emptied first
  int GetProfiles(ProfileList& list);
  bool SetActiveProfile(int profile);  // an unknown id leaves none active
  int GetActiveProfile();              // 0 when none is active

  // Key assignments (t_key_macro_data) and per-key performance (t_key_perf_data). The
  // readers without a profile argument read profile 1; writers take each row's profile.
  // Rows are addressed by (profile, fn_layer, key_code) and (profile, key_code); an
  // update changes every matching row and never inserts.
  int CountKeyMacros(int profile);
  void InsertKeyMacros(const std::vector<KEY_MACRO_DATA>& rows);
  void UpdateKeyMacro(const KEY_MACRO_DATA& row);
  void UpdateKeyMacros(const std::vector<KEY_MACRO_DATA>& rows);
  bool GetKeyMacro(int fnLayer, int keyCode, KEY_MACRO_DATA& row);
  int GetLayerKeyMacros(int fnLayer, KeyMacroList& list);
  int GetProfileKeyMacros(KeyMacroList& list);
  int GetAllKeyMacros(KeyMacroList& list);  // every profile
  int CountKeyPerfs(int profile);
  void InsertKeyPerfs(const std::vector<KEY_PERF_DATA>& rows);
  void UpdateKeyPerfs(const std::vector<KEY_PERF_DATA>& rows);
  int GetKeyPerfs(int profile, KeyPerfList& list);

  // Lighting (t_light_data, t_userlightrgb_data) and music layers (t_musiclayer_data).
  int CountLights(int profile);
  int InsertLight(const LIGHT_DATA& row);
  // Writes the row of row.profile and the given mode (not row.mode).
  bool UpdateLight(int mode, const LIGHT_DATA& row);
  bool SetActiveLightMode(int profile, int mode);  // an unknown mode leaves none active
  int GetActiveLightMode(int profile);             // 0 when none is active
  bool GetLight(int profile, int mode, LIGHT_DATA& row);
  int GetLights(int profile, LightList& list);
  // Returns the number of rows given, whether or not they were stored.
  int InsertUserLightRgbs(const std::vector<USERLIGHTRGB_DATA>& rows);
  bool DeleteUserLightRgbs(int userlightId);
  int GetUserLightRgbs(int userlightId, UserLightRgbList& list);
  int CountMusicLayers(int profile);
  // A new layer: deviceindex 0, fore_amplitude 4, backmode 0, backb_right 20, sel 0.
  int InsertMusicLayer(int profile, const CString& name, int foremode);
  bool GetMusicLayer(int profile, MUSICLAYER_DATA& row);
  bool UpdateMusicLayer(int profile, const MUSICLAYER_DATA& row);

  // Macros (t_macro_data) and their events (t_macrorecord), shared by all profiles.
  int CreateMacro(const CString& name);  // play_times 1, delay_type 1, delay_time 0, link_count 0
  int InsertMacro(const MACRO_DATA& row);
  bool UpdateMacro(const MACRO_DATA& row);  // play_times, delay_type, delay_time only
  // Deletes the macro and its events; the key assignments that ran it become the plain
  // key they stand on again.
  bool DeleteMacro(int macroId);
  bool GetMacro(int macroId, MACRO_DATA& row);
  int GetMacros(MacroList& list);
  int InsertMacroRecord(const MACRO_RECORD& row);
  void InsertMacroRecords(const std::vector<MACRO_RECORD>& rows);
  int GetMacroRecords(int macroId, MacroRecordList& list);  // ordered by record_index
  bool DeleteMacroRecords(int macroId);
  int CountAllMacroRecords();
  int CountMacroRecords(int macroId);

  // Advanced keys (t_magnetic_key_data) and the actions of DKS keys (t_key_item_data).
  int InsertMagneticKey(const MAGNETIC_KEY_DATA& row);
  int GetMagneticKeys(MagneticKeyList& list);  // profile 1
  bool GetMagneticKey(int macroId, MAGNETIC_KEY_DATA& row);
  // Changes the two bound keys, their names and reserved only.
  bool UpdateMagneticKey(int macroId, const MAGNETIC_KEY_DATA& row);
  bool DeleteMagneticKey(int macroId);  // its items go too
  int InsertKeyItem(const KEY_ITEM_DATA& row);
  bool DeleteKeyItems(int macroId);
  int GetKeyItems(int macroId, KeyItemList& list);

  // The model whose database is open (101, 102, 103); set by model selection.
  int m_modelId;

private:
  friend struct ConfigDatabaseProbe;  // tests reach the connection through it

  ConfigDatabase();
  ~ConfigDatabase();
  // Brings an existing file up to date: the schema statements only add what is
  // missing, and a file left without its default rows gets them.
  bool CompleteExistingFile();
  int RunSchema();

  SQLiteDB m_db;
  CRITICAL_SECTION m_lock;
  std::string m_path;  // UTF-8 path of the file last opened or created
  bool m_opened;
};
