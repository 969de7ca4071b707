#include "storage/SQLiteDB.h"

#include <cstring>

#include <sqlite3.h>

#include "storage/SQLiteStatement.h"

SQLiteDB::SQLiteDB() : m_db(nullptr) {}

SQLiteDB::~SQLiteDB() {
  if (!m_db) return;
  sqlite3_interrupt(m_db);
  if (sqlite3_close(m_db) == SQLITE_OK) m_db = nullptr;
}

namespace {

constexpr int kBusyWaitMs = 1000;

}  // namespace

bool SQLiteDB::Open(const char* path, int flags) {
  if (m_db) {
    sqlite3_interrupt(m_db);
    // A connection that cannot close (a statement still alive) is kept rather than
    // overwritten and leaked.
    if (!Close()) return false;
  }
  if (!path) return false;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path, &db, flags, nullptr) != SQLITE_OK) {
    // A failed open may still hand back a handle that must be released.
    if (db) sqlite3_close(db);
    return false;
  }
  m_db = db;
  sqlite3_exec(m_db, "PRAGMA synchronous = OFF; ", nullptr, nullptr, nullptr);
  // Another connection reading the file (a backup tool, an editor) holds a lock for a moment:
  // a write waits for it rather than failing half-way through an operation.
  sqlite3_busy_timeout(m_db, kBusyWaitMs);
  return true;
}

bool SQLiteDB::Close() {
  if (!m_db) return true;
  if (sqlite3_close(m_db) != SQLITE_OK) return false;
  m_db = nullptr;
  return true;
}

int SQLiteDB::Prepare(SQLiteStatement* statement, const char* sql, int length) {
  if (statement && statement->m_stmt) {
    sqlite3_finalize(statement->m_stmt);
    statement->m_stmt = nullptr;
  }
  if (!m_db || !sql || !statement) return SQLITE_MISUSE;
  if (length < 0) length = static_cast<int>(std::strlen(sql)) + 1;
  return sqlite3_prepare_v2(m_db, sql, length, &statement->m_stmt, nullptr);
}

int SQLiteDB::Execute(const char* sql, int (*callback)(void*, int, char**, char**), void* argument) {
  if (!m_db || !sql) return SQLITE_MISUSE;
  return sqlite3_exec(m_db, sql, callback, argument, nullptr);
}

int64_t SQLiteDB::LastInsertRowId() const {
  if (!m_db) return -1;
  return sqlite3_last_insert_rowid(m_db);
}
