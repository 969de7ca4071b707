// Equipment of the settings-store tests: an independent reader that looks at database
// files with raw SQLite calls (never through the store), and a fixture that opens the
// store on a fresh data folder and closes it again after each test.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "storage/ConfigDatabase.h"

// The tests' way to the store's connection (for SQLite's trace hook).
struct ConfigDatabaseProbe {
  static sqlite3* Handle(ConfigDatabase& store) { return store.m_db.Handle(); }
};

std::string Utf8Of(const std::wstring& text);
// Values as the independent reader shows them: integers in decimal, texts in UTF-8.
std::string Col(int value);
std::string Col(const CString& text);

// A second connection to a database file, for checking what the store wrote and for
// writing rows behind its back.
class RawDb {
public:
  explicit RawDb(const std::wstring& path);
  ~RawDb();
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;

  bool IsOpen() const { return m_db != nullptr; }
  sqlite3* Handle() const { return m_db; }
  // Runs SQL and fails the test when it does not succeed.
  void Exec(const std::string& sql);
  // Every row of a query, each column as text ("NULL" for a null value).
  std::vector<std::vector<std::string>> Rows(const std::string& sql);
  int Number(const std::string& sql);
  // Inserts into table a row whose every column holds a distinct value (integers counting
  // up from first, non-ASCII texts), except the columns given by name; returns the row.
  std::vector<std::string> InsertDistinctRow(const std::string& table, int first,
                                             const std::map<std::string, std::string>& fixed = {});

private:
  sqlite3* m_db = nullptr;
};

// Each test starts with the store closed and an empty data folder holding "db".
class StoreTest : public testing::Test {
protected:
  static constexpr const wchar_t* kModel = L"Lynt 65";

  void SetUp() override;
  void TearDown() override;

  ConfigDatabase& Store() { return ConfigDatabase::Instance(); }
  bool OpenStore() { return Store().Open(m_dataFolder.c_str(), kModel); }
  std::wstring DatabaseFile() const { return m_dataFolder + L"db\\" + kModel + L"_datav8.db"; }

  testsupport::TempFolder m_temp;
  std::wstring m_dataFolder;
};

// The store open on a fresh database, with an independent reader on the same file.
class OpenStoreTest : public StoreTest {
protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<RawDb> m_raw;
};
