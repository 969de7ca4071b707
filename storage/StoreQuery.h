// Building blocks of the settings store's accessors (private to storage/): the scoped
// hold of the store's lock, one statement with its parameters bound in order, and the
// step conventions of each kind of accessor.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "storage/SQLiteAutoTransaction.h"
#include "storage/SQLiteDB.h"
#include "storage/SQLiteStatement.h"
#include "storage/Utf8Text.h"
#include "ui/core/CString.h"

class StoreLock {
public:
  explicit StoreLock(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
  ~StoreLock() { LeaveCriticalSection(&m_lock); }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

private:
  CRITICAL_SECTION& m_lock;
};

// One query of an accessor. Prepare replaces the previous query on the same statement.
// Parameters are bound in call order from index 1. On a closed connection nothing is
// prepared and every step answers 21 (misuse), so each kind reports its failure value.
class StoreQuery {
public:
  explicit StoreQuery(SQLiteDB& db) : m_db(db) {}
  StoreQuery(SQLiteDB& db, const char* sql) : m_db(db) { Prepare(sql); }

  void Prepare(const char* sql) {
    m_next = 1;
    m_db.Prepare(&m_statement, sql, -1);
  }
  StoreQuery& Int(int value) {
    m_statement.BindInt(m_next++, value);
    return *this;
  }
  // Text already in UTF-8 (the program's own ASCII constants).
  StoreQuery& Bytes(const char* utf8) {
    m_statement.BindText(m_next++, utf8, -1);
    return *this;
  }
  StoreQuery& Text(const CString& value) {
    const std::string bytes = ToUtf8(value);
    m_statement.BindText(m_next++, bytes.c_str(), static_cast<int>(bytes.size()));
    return *this;
  }

  // UPDATE or DELETE: true when the step succeeded.
  bool Write() { return Succeeded(m_statement.Step()); }
  // INSERT: the new row's id, or 0.
  int Insert() { return Succeeded(m_statement.Step()) ? static_cast<int>(m_db.LastInsertRowId()) : 0; }
  // count(*) or a single number: column 0 of the first row, or 0.
  int Number() { return NextRow() ? m_statement.ColumnInt(0) : 0; }
  bool NextRow() { return m_statement.Step() == kRow; }

  int ColumnInt(int column) { return m_statement.ColumnInt(column); }
  CString ColumnText(int column) { return FromUtf8(m_statement.ColumnText(column)); }

  // Fills the caller's record from the first row; without a row the record stays as it was.
  template <typename Record, typename Fill>
  bool ReadRow(Record& record, Fill fill) {
    if (!NextRow()) return false;
    fill(*this, record);
    return true;
  }

  // Fills a list of owned records from every remaining row (after destroying what the
  // list held) and returns how many there are.
  template <typename Record, typename Fill>
  int ReadList(std::vector<std::unique_ptr<Record>>& list, Fill fill) {
    list.clear();
    while (NextRow()) {
      auto record = std::make_unique<Record>();
      fill(*this, *record);
      list.push_back(std::move(record));
    }
    return static_cast<int>(list.size());
  }

  static bool Succeeded(int result) { return result == 0 || result == kRow || result == kDone; }

private:
  static constexpr int kRow = 100;
  static constexpr int kDone = 101;

  SQLiteDB& m_db;
  SQLiteStatement m_statement;
  int m_next = 1;
};

// Writes rows in one transaction, preparing the statement anew per row; a row that
// fails is skipped and the others are committed.
template <typename Row, typename Bind>
void WriteBatch(SQLiteDB& db, const char* sql, const std::vector<Row>& rows, Bind bind) {
  SQLiteAutoTransaction transaction(&db);
  transaction.Begin();
  StoreQuery query(db);
  for (const Row& row : rows) {
    query.Prepare(sql);
    bind(query, row);
    query.Write();
  }
  transaction.Commit();
}
