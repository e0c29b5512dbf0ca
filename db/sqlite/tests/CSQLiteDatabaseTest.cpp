#include "db/sqlite/CSQLiteDatabase.h"

#include "foundation/WideText.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kroDB;

namespace {

class CSQLiteDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_db.Open(FromUtf8(m_dir.File("test.dat")), m_err), 1) << ToUtf8(m_err);
        ASSERT_EQ(m_db.Execute(L"CREATE TABLE t(id INTEGER, name TEXT, x REAL, b BLOB);", m_err),
                  1);
    }

    int CountRows()
    {
        std::unique_ptr<CAbstractRecordset> rs;
        EXPECT_EQ(m_db.Query(L"SELECT count(*) FROM t", m_err, rs), 1);
        EXPECT_EQ(rs->MoveNext(), 1);
        return rs->GetInt(0);
    }

    vxtest::CTempDir m_dir;
    CSQLiteDatabase m_db;
    std::wstring m_err;
};

TEST_F(CSQLiteDatabaseTest, OpenFailuresAreReportedAndLeaveItClosed)
{
    CSQLiteDatabase db;
    std::wstring err;
    EXPECT_EQ(db.Open(FromUtf8(m_dir.File("missing/folder/x.dat")), err), 0);
    EXPECT_EQ(err, L"Failed to open database");
    EXPECT_FALSE(db.IsOpen());
    err.clear();
    EXPECT_EQ(db.Open(L"", err), 0);
    EXPECT_EQ(err, L"Failed to open database");
    EXPECT_EQ(db.Open(FromUtf8(m_dir.File("a")) + std::wstring(1, L'\0') + L"b", err), 0);
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("a")));
}

TEST_F(CSQLiteDatabaseTest, OperationsOnAClosedDatabaseFailWithoutCrashing)
{
    CSQLiteDatabase db;
    std::wstring err;
    std::unique_ptr<CAbstractRecordset> rs;
    EXPECT_EQ(db.Execute(L"SELECT 1", err), 0);
    EXPECT_EQ(err, L"Not connected to the database");
    EXPECT_EQ(db.Query(L"SELECT 1", err, rs), 0);
    EXPECT_EQ(rs, nullptr);
    EXPECT_EQ(db.ExecuteBlob(L"SELECT ?", "x", 1, err), 0);
    for (auto op : {&CSQLiteDatabase::BeginTransaction, &CSQLiteDatabase::BeginTransactionUnchecked,
                    &CSQLiteDatabase::Commit, &CSQLiteDatabase::Rollback}) {
        err.clear();
        EXPECT_EQ((db.*op)(err), 0);
        EXPECT_EQ(err, L"Not connected to the database");
    }
    EXPECT_EQ(db.Close(err), 1);
}

TEST_F(CSQLiteDatabaseTest, TransactionsFollowTheMarker)
{
    EXPECT_EQ(m_db.Commit(m_err), 0);
    EXPECT_EQ(m_err, L"No transaction started");
    EXPECT_EQ(m_db.Rollback(m_err), 0);
    EXPECT_EQ(m_err, L"No transaction started");

    ASSERT_EQ(m_db.BeginTransaction(m_err), 1);
    ASSERT_EQ(m_db.Execute(L"INSERT INTO t(id) VALUES (1);", m_err), 1);
    ASSERT_EQ(m_db.EndTransaction(false, m_err), 1);
    EXPECT_EQ(CountRows(), 0);

    ASSERT_EQ(m_db.BeginTransactionUnchecked(m_err), 1);
    ASSERT_EQ(m_db.Execute(L"INSERT INTO t(id) VALUES (1);", m_err), 1);
    ASSERT_EQ(m_db.EndTransaction(true, m_err), 1);
    EXPECT_EQ(CountRows(), 1);
    EXPECT_EQ(m_db.Commit(m_err), 0);
    EXPECT_EQ(m_err, L"No transaction started");

    // Closing ends the marker along with the connection.
    ASSERT_EQ(m_db.BeginTransaction(m_err), 1);
    EXPECT_EQ(m_db.Close(m_err), 1);
    ASSERT_EQ(m_db.Open(FromUtf8(m_dir.File("test.dat")), m_err), 1);
    EXPECT_EQ(m_db.Commit(m_err), 0);
    EXPECT_EQ(m_err, L"No transaction started");
}

TEST_F(CSQLiteDatabaseTest, FailedStatementsCarryTheLibraryMessage)
{
    std::unique_ptr<CAbstractRecordset> rs;
    EXPECT_EQ(m_db.Execute(L"SELEC 1", m_err), 0);
    EXPECT_EQ(m_err, L"near \"SELEC\": syntax error");
    EXPECT_EQ(m_db.Query(L"SELECT * FROM nowhere", m_err, rs), 0);
    EXPECT_EQ(m_err, L"no such table: nowhere");
    EXPECT_EQ(rs, nullptr);
    EXPECT_EQ(m_db.QueryAlias(L"  -- nothing", m_err, rs), 0);
    EXPECT_EQ(rs, nullptr);
}

TEST_F(CSQLiteDatabaseTest, ParameterNamesLoseTheirPrefix)
{
    EXPECT_EQ(CSQLiteDatabase::ParameterNameWithoutPrefix(L":name"), L"name");
    EXPECT_EQ(CSQLiteDatabase::ParameterNameWithoutPrefix(L":"), L":");

    std::unique_ptr<CAbstractRecordset> rs;
    ASSERT_EQ(m_db.Query(L"SELECT :name, @at, $dollar, ?7, ?", m_err, rs), 1);
    int count = 0;
    ASSERT_EQ(m_db.GetParameterCount(*rs, count, m_err), 1);
    EXPECT_EQ(count, 8);  // ?7 numbers the parameter, and the plain ? takes the next
    std::wstring name;
    ASSERT_EQ(m_db.GetParameterName(*rs, 0, name, m_err), 1);
    EXPECT_EQ(name, L"name");
    ASSERT_EQ(m_db.GetParameterName(*rs, 2, name, m_err), 1);
    EXPECT_EQ(name, L"dollar");
    ASSERT_EQ(m_db.GetParameterName(*rs, 6, name, m_err), 1);
    EXPECT_EQ(name, L"7");
    ASSERT_EQ(m_db.GetParameterName(*rs, 7, name, m_err), 1);
    EXPECT_EQ(name, L"");

    int index = -5;
    for (const auto& [given, expected] :
         {std::pair{L"name", 0}, {L"@at", 1}, {L"at", 1}, {L"dollar", 2}, {L"7", 6}}) {
        ASSERT_EQ(m_db.GetParameterIndex(*rs, given, index, m_err), 1) << ToUtf8(given);
        EXPECT_EQ(index, expected);
    }
    EXPECT_EQ(m_db.GetParameterIndex(*rs, L"other", index, m_err), 0);
    EXPECT_EQ(m_err, L"Cannot find the index of the unnamed parameter when searching by name");
}

TEST_F(CSQLiteDatabaseTest, BadIndexesAndClosedRecordsetsAreRefused)
{
    std::unique_ptr<CAbstractRecordset> rs;
    ASSERT_EQ(m_db.Query(L"INSERT INTO t(id) VALUES (?)", m_err, rs), 1);
    std::wstring name;
    EXPECT_EQ(m_db.GetParameterName(*rs, -1, name, m_err), 0);
    EXPECT_EQ(m_err, L"Wrong parameter index: (-1)");
    EXPECT_EQ(m_db.BindInt(*rs, 1, 5, m_err), 0);
    EXPECT_EQ(m_err, L"Wrong parameter index: (1)");
    EXPECT_EQ(m_db.BindText(*rs, -1, L"x", m_err), 0);
    EXPECT_EQ(m_err, L"Wrong parameter index: (-1)");

    rs->Close();
    int count = 0;
    int index = 0;
    EXPECT_EQ(m_db.GetParameterCount(*rs, count, m_err), 0);
    EXPECT_EQ(m_err, L"The recordset is not prepared");
    EXPECT_EQ(m_db.GetParameterName(*rs, 0, name, m_err), 0);
    EXPECT_EQ(m_err, L"The recordset is closed");
    EXPECT_EQ(m_db.GetParameterIndex(*rs, L"a", index, m_err), 0);
    EXPECT_EQ(m_err, L"The recordset is closed");
    EXPECT_EQ(m_db.BindDouble(*rs, 0, 1.5, m_err), 0);
    EXPECT_EQ(m_err, L"The recordset is closed");
    EXPECT_EQ(m_db.Reset(*rs, m_err), 0);
    EXPECT_EQ(m_err, L"The recordset is not open");
}

TEST_F(CSQLiteDatabaseTest, BoundValuesRoundTripAcrossResets)
{
    std::unique_ptr<CAbstractRecordset> insert;
    ASSERT_EQ(m_db.Query(L"INSERT INTO t(id, name, x) VALUES (:id, :name, :x)", m_err, insert), 1);
    const std::wstring names[] = {L"Игрок", L"玩家'; DROP TABLE t; --", L"😀 émile"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(m_db.Reset(*insert, m_err), 1);
        ASSERT_EQ(i == 0 ? m_db.BindInt(*insert, 0, i, m_err)
                         : m_db.BindInt64(*insert, 0, 5000000000LL + i, m_err),
                  1);
        ASSERT_EQ(m_db.BindText(*insert, 1, names[i], m_err), 1);
        ASSERT_EQ(m_db.BindDouble(*insert, 2, i + 0.25, m_err), 1);
        EXPECT_EQ(insert->MoveNext(), 0);
        EXPECT_EQ(insert->LastError(), L"");
    }
    std::unique_ptr<CAbstractRecordset> rs;
    ASSERT_EQ(m_db.Query(L"SELECT id, name, x FROM t ORDER BY rowid", m_err, rs), 1);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(rs->MoveNext(), 1);
        EXPECT_EQ(rs->GetString(1), names[i]);
        EXPECT_DOUBLE_EQ(rs->GetDouble(2), i + 0.25);
    }
    EXPECT_EQ(rs->MoveNext(), 0);
    ASSERT_EQ(m_db.Query(L"SELECT max(id) FROM t", m_err, rs), 1);
    ASSERT_EQ(rs->MoveNext(), 1);
    EXPECT_EQ(rs->GetString(0), L"5000000002");
}

TEST_F(CSQLiteDatabaseTest, ExecuteBlobStoresEveryByte)
{
    const unsigned char bytes[] = {0, 1, 0xff, 0, 'a'};
    ASSERT_EQ(m_db.ExecuteBlob(L"INSERT INTO t(id, b) VALUES (1, ?)", bytes, 5, m_err), 1);
    ASSERT_EQ(m_db.ExecuteBlob(L"INSERT INTO t(id, b) VALUES (2, ?)", nullptr, 0, m_err), 1);
    EXPECT_EQ(m_db.ExecuteBlob(L"INSERT INTO t(id) VALUES (3)", bytes, 5, m_err), 0);
    EXPECT_EQ(m_db.ExecuteBlob(L"INSERT INTO t(id, b) VALUES (3, ?)", bytes, -1, m_err), 0);
    EXPECT_EQ(m_db.ExecuteBlob(L"INSERT INTO nowhere VALUES (?)", bytes, 5, m_err), 0);
    EXPECT_EQ(m_err, L"no such table: nowhere");
    EXPECT_EQ(CountRows(), 2);

    std::unique_ptr<CAbstractRecordset> rs;
    ASSERT_EQ(m_db.Query(L"SELECT b FROM t ORDER BY id", m_err, rs), 1);
    std::unique_ptr<unsigned char[]> data;
    int size = -1;
    ASSERT_EQ(rs->MoveNext(), 1);
    rs->GetBlobByName(L"B", data, size);
    ASSERT_EQ(size, 5);
    EXPECT_EQ(std::vector<unsigned char>(data.get(), data.get() + size),
              std::vector<unsigned char>(bytes, bytes + 5));
    ASSERT_EQ(rs->MoveNext(), 1);
    EXPECT_TRUE(rs->IsTextOrBlob(0));
    rs->GetBlob(0, data, size);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(data, nullptr);
}

TEST_F(CSQLiteDatabaseTest, AFileThatIsNotADatabaseFailsAtTheFirstQuery)
{
    const std::string path = m_dir.Write("junk.dat", std::string(4096, '\x5a'));
    CSQLiteDatabase db;
    std::wstring err;
    ASSERT_EQ(db.Open(FromUtf8(path), err), 1);
    std::unique_ptr<CAbstractRecordset> rs;
    EXPECT_EQ(db.Query(L"SELECT * FROM HandHistory", err, rs), 0);
    EXPECT_EQ(err, L"file is not a database");
    EXPECT_EQ(db.Execute(L"CREATE TABLE x(a)", err), 0);
    EXPECT_EQ(err, L"file is not a database");
}

}  // namespace
