// An independent reader of SQLite database files: a second connection with raw SQLite calls
// (never through the store), for checking what the program wrote and for writing rows behind
// its back. One per test; used on the test's thread.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

std::string Utf8Of(const std::wstring& text);

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
  // The first column of the first row as a number; nullopt, without failing the test, when the
  // query does not run (while another process is still making the tables) or gives no row.
  std::optional<int> TryNumber(const std::string& sql);
  // Inserts into table a row whose every column holds a distinct value (integers counting
  // up from first, non-ASCII texts), except the columns given by name; returns the row.
  std::vector<std::string> InsertDistinctRow(const std::string& table, int first,
                                             const std::map<std::string, std::string>& fixed = {});

private:
  sqlite3* m_db = nullptr;
};

