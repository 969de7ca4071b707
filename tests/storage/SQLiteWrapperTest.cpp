#include <sqlite3.h>

#include <gtest/gtest.h>

#include <string>

#include "StoreFixture.h"
#include "TempFolder.h"
#include "storage/SQLiteAutoTransaction.h"
#include "storage/SQLiteDB.h"
#include "storage/SQLiteStatement.h"

namespace {

constexpr int kReadWriteCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

class SQLiteWrapperTest : public testing::Test {
protected:
  std::string FilePath(const wchar_t* name) { return Utf8Of(m_temp.Path() + name); }
  testsupport::TempFolder m_temp;
};

TEST_F(SQLiteWrapperTest, WithoutConnectionOrStatementEveryCallReportsMisuse) {
  SQLiteDB closed;
  SQLiteStatement statement;
  EXPECT_EQ(SQLITE_MISUSE, closed.Prepare(&statement, "SELECT 1", -1));
  EXPECT_EQ(SQLITE_MISUSE, closed.Execute("SELECT 1"));
  EXPECT_EQ(-1, closed.LastInsertRowId());
  EXPECT_TRUE(closed.Close());

  EXPECT_EQ(SQLITE_MISUSE, statement.BindInt(1, 5));
  EXPECT_EQ(SQLITE_MISUSE, statement.BindText(1, "x", 1));
  EXPECT_EQ(SQLITE_MISUSE, statement.Step());
  EXPECT_EQ(0, statement.ColumnInt(0));
  EXPECT_EQ(nullptr, statement.ColumnText(0));

  SQLiteDB db;
  ASSERT_TRUE(db.Open(FilePath(L"a.db").c_str(), kReadWriteCreate));
  EXPECT_EQ(SQLITE_MISUSE, db.Execute(nullptr));
  EXPECT_EQ(SQLITE_MISUSE, db.Prepare(&statement, nullptr, -1));
  // A failed prepare leaves no statement behind, so binding and stepping say misuse.
  EXPECT_EQ(SQLITE_ERROR, db.Prepare(&statement, "SELECT * FROM no_such_table", -1));
  EXPECT_EQ(SQLITE_MISUSE, statement.BindInt(1, 5));
  EXPECT_EQ(SQLITE_MISUSE, statement.Step());
}

TEST_F(SQLiteWrapperTest, OpenFailsCleanlyAndReopenSwitchesFiles) {
  SQLiteDB db;
  EXPECT_FALSE(db.Open(nullptr, kReadWriteCreate));
  EXPECT_FALSE(db.Open(FilePath(L"missing\\a.db").c_str(), kReadWriteCreate));
  EXPECT_FALSE(db.IsOpen());
  EXPECT_FALSE(db.Open(FilePath(L"absent.db").c_str(), SQLITE_OPEN_READWRITE));
  EXPECT_FALSE(db.IsOpen());

  ASSERT_TRUE(db.Open(FilePath(L"first.db").c_str(), kReadWriteCreate));
  {
    SQLiteStatement pragma;
    ASSERT_EQ(SQLITE_OK, db.Prepare(&pragma, "PRAGMA synchronous", -1));
    ASSERT_EQ(SQLITE_ROW, pragma.Step());
    EXPECT_EQ(0, pragma.ColumnInt(0)) << "writes are not synced";
  }
  ASSERT_EQ(SQLITE_OK, db.Execute("CREATE TABLE only_in_first (a INTEGER)"));

  ASSERT_TRUE(db.Open(FilePath(L"second.db").c_str(), kReadWriteCreate));
  EXPECT_NE(SQLITE_OK, db.Execute("SELECT * FROM only_in_first"));
  EXPECT_TRUE(db.Close());
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(SQLiteWrapperTest, PreparingAgainReleasesTheFirstStatementAndTextIsCopied) {
  SQLiteDB db;
  ASSERT_TRUE(db.Open(FilePath(L"a.db").c_str(), kReadWriteCreate));
  ASSERT_EQ(SQLITE_OK, db.Execute("CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, v TEXT)"));
  SQLiteStatement statement;
  ASSERT_EQ(SQLITE_OK, db.Prepare(&statement, "SELECT * FROM t", -1));
  ASSERT_EQ(SQLITE_OK, db.Prepare(&statement, "INSERT INTO t(v) VALUES (?)", -1));
  const sqlite3_stmt* first = sqlite3_next_stmt(db.Handle(), nullptr);
  EXPECT_EQ(nullptr, sqlite3_next_stmt(db.Handle(), const_cast<sqlite3_stmt*>(first))) << "one statement alive";

  {
    std::string temporary = "bound text";
    EXPECT_EQ(SQLITE_OK, statement.BindText(1, temporary.c_str(), static_cast<int>(temporary.size())));
    temporary.assign(temporary.size(), '#');  // the caller's buffer changes before the step
  }
  EXPECT_EQ(SQLITE_DONE, statement.Step());
  EXPECT_EQ(1, db.LastInsertRowId());
  ASSERT_EQ(SQLITE_OK, db.Prepare(&statement, "SELECT v FROM t", -1));
  ASSERT_EQ(SQLITE_ROW, statement.Step());
  EXPECT_STREQ("bound text", statement.ColumnText(0));
  EXPECT_EQ(SQLITE_DONE, statement.Step());
}

TEST_F(SQLiteWrapperTest, TransactionGuardBeginsOnceAndEnds) {
  SQLiteAutoTransaction none(nullptr);
  EXPECT_FALSE(none.Begin());
  EXPECT_FALSE(none.Commit());

  SQLiteDB closed;
  SQLiteAutoTransaction onClosed(&closed);
  EXPECT_TRUE(onClosed.IsActive());
  EXPECT_FALSE(onClosed.Commit());
  EXPECT_FALSE(onClosed.IsActive());

  SQLiteDB db;
  ASSERT_TRUE(db.Open(FilePath(L"a.db").c_str(), kReadWriteCreate));
  ASSERT_EQ(SQLITE_OK, db.Execute("CREATE TABLE t (a INTEGER)"));
  {
    SQLiteAutoTransaction batch(&db);
    EXPECT_EQ(0, sqlite3_get_autocommit(db.Handle())) << "the constructor began the transaction";
    EXPECT_FALSE(batch.Begin()) << "already active";
    EXPECT_EQ(SQLITE_OK, db.Execute("INSERT INTO t VALUES (1)"));
    EXPECT_TRUE(batch.Commit());
    EXPECT_NE(0, sqlite3_get_autocommit(db.Handle()));
  }
  {
    SQLiteAutoTransaction forgotten(&db);
    EXPECT_EQ(SQLITE_OK, db.Execute("INSERT INTO t VALUES (2)"));
  }  // the destructor ends what Commit did not
  EXPECT_NE(0, sqlite3_get_autocommit(db.Handle()));
  SQLiteStatement count;
  ASSERT_EQ(SQLITE_OK, db.Prepare(&count, "SELECT count(*) FROM t", -1));
  ASSERT_EQ(SQLITE_ROW, count.Step());
  EXPECT_EQ(2, count.ColumnInt(0));
}

}  // namespace
