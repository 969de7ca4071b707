#include "storage/SQLiteAutoTransaction.h"

#include "storage/SQLiteDB.h"

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : m_db(db), m_active(false) {
  if (!m_db) return;
  if (m_db->IsOpen()) m_db->Execute("BEGIN");
  // Active even on a closed connection, so that Commit reports the failure.
  m_active = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
  if (m_active && m_db) {
    if (m_db->IsOpen()) m_db->Execute("END");
    m_active = false;
  }
}

bool SQLiteAutoTransaction::Begin() {
  if (!m_db || m_active) return false;
  m_active = true;
  if (!m_db->IsOpen()) return false;
  return m_db->Execute("BEGIN") == 0;
}

bool SQLiteAutoTransaction::Commit() {
  if (!m_db) return false;
  m_active = false;
  if (!m_db->IsOpen()) return false;
  return m_db->Execute("END") == 0;
}
