// SQLiteAutoTransaction: brackets a batch of writes between "BEGIN" and "END" on a
// connection it does not own. Constructing it on a connection begins the transaction;
// Commit ends it; the destructor ends one still active. There is no rollback: rows that
// fail inside the batch are skipped and the rest is committed. Created on the stack of
// the store's batch writers, which hold the store's lock from construction to Commit.
#pragma once

class SQLiteDB;

class SQLiteAutoTransaction {
public:
  explicit SQLiteAutoTransaction(SQLiteDB* db);
  virtual ~SQLiteAutoTransaction();
  SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
  SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

  // False when no connection was given or the transaction is already active (the
  // constructor has begun it); also false when the connection is closed.
  bool Begin();
  // True when "END" succeeded; false with no connection object or a closed connection.
  bool Commit();
  bool IsActive() const { return m_active; }

private:
  SQLiteDB* m_db;
  bool m_active;
};
