// Equipment of the settings-store tests: a fixture that opens the store on a fresh data
// folder and closes it again after each test (the independent reader is RawDb, shared).
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RawDb.h"
#include "TempFolder.h"
#include "storage/ConfigDatabase.h"

// The tests' way to the store's connection (for SQLite's trace hook).
struct ConfigDatabaseProbe {
  static sqlite3* Handle(ConfigDatabase& store) { return store.m_db.Handle(); }
};

// Values as the independent reader shows them: integers in decimal, texts in UTF-8.
std::string Col(int value);
std::string Col(const CString& text);

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
