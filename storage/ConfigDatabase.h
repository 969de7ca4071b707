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

  // Configuration values (t_config_data) and profiles (t_profile_data).
  bool SetConfigValue(int profile, const CString& key, const CString& value);  // never inserts
  bool GetConfigValue(int profile, const CString& key, CString& value);
  int InsertProfile(const PROFILE_DATA& profile);  // stores type and name, status 0
  int GetProfiles(ProfileList& list);              // type-1 profiles

  // Key assignments (t_key_macro_data).
  int CountKeyMacros(int profile);
  void InsertKeyMacros(const std::vector<KEY_MACRO_DATA>& rows);

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
