#include "storage/SQLiteStatement.h"

#include <sqlite3.h>

SQLiteStatement::SQLiteStatement() : m_stmt(nullptr) {}

SQLiteStatement::~SQLiteStatement() {
  if (m_stmt) sqlite3_finalize(m_stmt);
  m_stmt = nullptr;
}

int SQLiteStatement::BindInt(int index, int value) {
  if (!m_stmt) return SQLITE_MISUSE;
  return sqlite3_bind_int(m_stmt, index, value);
}

int SQLiteStatement::BindText(int index, const char* utf8, int length) {
  if (!m_stmt) return SQLITE_MISUSE;
  // SQLITE_TRANSIENT: SQLite takes its own copy, so a temporary converted string can
  // never be freed while the statement still refers to it.
  return sqlite3_bind_text(m_stmt, index, utf8, length, SQLITE_TRANSIENT);
}

int SQLiteStatement::Step() {
  if (!m_stmt) return SQLITE_MISUSE;
  return sqlite3_step(m_stmt);
}

int SQLiteStatement::ColumnInt(int column) {
  if (!m_stmt) return 0;
  return sqlite3_column_int(m_stmt, column);
}

const char* SQLiteStatement::ColumnText(int column) {
  if (!m_stmt) return nullptr;
  return reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
}
