#include "RawDb.h"

#include <windows.h>

std::string Utf8Of(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
  return bytes;
}

RawDb::RawDb(const std::wstring& path) {
  if (sqlite3_open_v2(Utf8Of(path).c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(m_db);
    m_db = nullptr;
    return;
  }
  // The program may be writing: a read waits for its commit instead of coming back empty.
  sqlite3_busy_timeout(m_db, 5000);
}

RawDb::~RawDb() { sqlite3_close(m_db); }

void RawDb::Exec(const std::string& sql) {
  char* error = nullptr;
  const int result = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(SQLITE_OK, result) << sql << ": " << (error ? error : "");
  sqlite3_free(error);
}

std::vector<std::vector<std::string>> RawDb::Rows(const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot prepare " << sql << ": " << sqlite3_errmsg(m_db);
    return rows;
  }
  while (sqlite3_step(statement) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
      const unsigned char* text = sqlite3_column_text(statement, i);
      row.push_back(text ? reinterpret_cast<const char*>(text) : "NULL");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(statement);
  return rows;
}

int RawDb::Number(const std::string& sql) {
  const auto rows = Rows(sql);
  return rows.empty() || rows[0].empty() ? -1 : std::stoi(rows[0][0]);
}

std::optional<int> RawDb::TryNumber(const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  if (!m_db || sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return std::nullopt;
  std::optional<int> number;
  if (sqlite3_step(statement) == SQLITE_ROW) number = sqlite3_column_int(statement, 0);
  sqlite3_finalize(statement);
  return number;
}

std::vector<std::string> RawDb::InsertDistinctRow(const std::string& table, int first,
                                                  const std::map<std::string, std::string>& fixed) {
  std::vector<std::string> row;
  std::string values;
  int n = first;
  for (const auto& column : Rows("PRAGMA table_info(" + table + ")")) {
    const auto given = fixed.find(column[1]);
    std::string value;
    if (given != fixed.end()) {
      value = given->second;
    } else if (column[2] == "TEXT") {
      value = "\xC3\xA9" + std::to_string(n) + "\xE2\x82\xAC";  // é<n>€
    } else {
      value = std::to_string(n);
    }
    ++n;
    row.push_back(value);
    values += (values.empty() ? "'" : ", '") + value + "'";
  }
  Exec("INSERT INTO " + table + " VALUES (" + values + ")");
  return row;
}

