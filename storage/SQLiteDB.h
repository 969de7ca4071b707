// SQLiteDB: one SQLite connection. A thin face on the C interface: it adds no lock, no
// cache and no error text; every call returns SQLite's result code or a plain truth
// value (21, SQLITE_MISUSE, when there is no connection or no SQL text). The settings
// store owns the one instance the program uses and serializes every call with its lock.
#pragma once

#include <cstdint>

struct sqlite3;
class SQLiteStatement;

class SQLiteDB {
public:
  SQLiteDB();
  virtual ~SQLiteDB();
  SQLiteDB(const SQLiteDB&) = delete;
  SQLiteDB& operator=(const SQLiteDB&) = delete;

  // Closes a connection still held, then opens the UTF-8 path with the sqlite3_open_v2
  // flags given. Writes are not synced to disk (PRAGMA synchronous = OFF).
  bool Open(const char* path, int flags);
  // True when there was nothing to close or the close succeeded; a failed close keeps
  // the connection.
  bool Close();
  bool IsOpen() const { return m_db != nullptr; }

  // Prepares sql on statement, first releasing whatever statement it held, so one
  // statement object serves a sequence of queries. A negative length takes the whole
  // text with its terminating zero.
  int Prepare(SQLiteStatement* statement, const char* sql, int length);
  int Execute(const char* sql, int (*callback)(void*, int, char**, char**) = nullptr, void* argument = nullptr);
  // -1 without a connection.
  int64_t LastInsertRowId() const;

  sqlite3* Handle() const { return m_db; }

private:
  sqlite3* m_db;
};
