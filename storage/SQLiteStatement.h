// SQLiteStatement: one prepared statement, made by SQLiteDB::Prepare and finalized by
// the next Prepare on the same object or by the destructor. Each accessor call of the
// settings store creates one on its stack; it is never shared between threads. Without
// a prepared statement every call returns 21 (SQLITE_MISUSE), 0 or null.
#pragma once

struct sqlite3_stmt;

class SQLiteStatement {
public:
  SQLiteStatement();
  virtual ~SQLiteStatement();
  SQLiteStatement(const SQLiteStatement&) = delete;
  SQLiteStatement& operator=(const SQLiteStatement&) = delete;

  // Parameter indexes start at 1.
  int BindInt(int index, int value);
  // The bytes are copied into the statement, so the caller's buffer may go at once.
  int BindText(int index, const char* utf8, int length);
  // 100 (SQLITE_ROW) while rows come, 101 (SQLITE_DONE) at the end.
  int Step();
  // Column indexes start at 0. The text stays valid until the next Step.
  int ColumnInt(int column);
  const char* ColumnText(int column);

private:
  friend class SQLiteDB;
  sqlite3_stmt* m_stmt;
};
