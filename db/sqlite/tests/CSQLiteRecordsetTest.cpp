#include "db/sqlite/CSQLiteRecordset.h"

#include "db/sqlite/CSQLiteDatabase.h"
#include "foundation/WideText.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

using namespace kroDB;

namespace {

class CSQLiteRecordsetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_db.Open(FromUtf8(m_dir.File("rs.dat")), m_err), 1);
        ASSERT_EQ(m_db.Execute(L"CREATE TABLE HandHistory(HandID TEXT, n INTEGER, x REAL);"
                               L"INSERT INTO HandHistory VALUES ('42', 7, 2.5);"
                               L"INSERT INTO HandHistory VALUES (NULL, NULL, NULL);",
                               m_err),
                  1)
            << ToUtf8(m_err);
        ASSERT_EQ(m_db.Query(L"SELECT * FROM HandHistory", m_err, m_rs), 1);
    }

    vxtest::CTempDir m_dir;
    CSQLiteDatabase m_db;
    std::wstring m_err;
    std::unique_ptr<CAbstractRecordset> m_rs;
};

TEST_F(CSQLiteRecordsetTest, ColumnsAreFoundByNameWhateverTheCase)
{
    EXPECT_EQ(m_rs->ColumnCount(), 3);
    EXPECT_EQ(m_rs->ColumnName(0), L"HandID");
    EXPECT_EQ(m_rs->ColumnName(3), L"");
    EXPECT_EQ(m_rs->ColumnIndex(L"HANDID"), 0);
    EXPECT_EQ(m_rs->ColumnIndex(L"x"), 2);
    EXPECT_EQ(m_rs->ColumnIndex(L"HandI"), -1);

    std::unique_ptr<CAbstractRecordset> noColumns;
    ASSERT_EQ(m_db.Query(L"DELETE FROM HandHistory WHERE 0", m_err, noColumns), 1);
    EXPECT_EQ(noColumns->ColumnIndex(L""), -1);
}

TEST_F(CSQLiteRecordsetTest, ValuesAndTypesOfEachRow)
{
    ASSERT_EQ(m_rs->MoveNext(), 1);
    EXPECT_EQ(m_rs->GetStringByName(L"handid"), L"42");
    EXPECT_EQ(m_rs->GetIntByName(L"N"), 7);
    EXPECT_DOUBLE_EQ(m_rs->GetDoubleByName(L"x"), 2.5);
    EXPECT_TRUE(m_rs->IsTextOrBlob(0));
    EXPECT_TRUE(m_rs->IsInteger(1));
    EXPECT_TRUE(m_rs->IsFloat(2));
    EXPECT_FALSE(m_rs->IsNull(1));
    EXPECT_EQ(m_rs->GetString(1), L"7");

    ASSERT_EQ(m_rs->MoveNext(), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(m_rs->IsNull(i));
        EXPECT_FALSE(m_rs->IsInteger(i) || m_rs->IsFloat(i) || m_rs->IsTextOrBlob(i));
    }
    EXPECT_EQ(m_rs->GetString(0), L"");
    EXPECT_EQ(m_rs->GetInt(1), 0);
}

TEST_F(CSQLiteRecordsetTest, ReadsOutsideARowGiveDefaults)
{
    // Before the first row, past the columns, by a missing name, after the end.
    EXPECT_EQ(m_rs->GetString(0), L"");
    EXPECT_TRUE(m_rs->IsNull(0));
    ASSERT_EQ(m_rs->MoveNext(), 1);
    EXPECT_EQ(m_rs->GetInt(3), 0);
    EXPECT_EQ(m_rs->GetString(-1), L"");
    EXPECT_EQ(m_rs->GetStringByName(L"missing"), L"");
    EXPECT_DOUBLE_EQ(m_rs->GetDouble(99), 0.0);
    ASSERT_EQ(m_rs->MoveNext(), 1);
    EXPECT_EQ(m_rs->MoveNext(), 0);
    EXPECT_EQ(m_rs->LastError(), L"");
    EXPECT_EQ(m_rs->GetString(0), L"");
    // A query is not restarted by stepping past its end.
    EXPECT_EQ(m_rs->MoveNext(), 0);
}

TEST_F(CSQLiteRecordsetTest, OutlivesItsDatabaseAndIsInertOnceClosed)
{
    EXPECT_EQ(m_db.Close(m_err), 1);
    ASSERT_EQ(m_rs->MoveNext(), 1);
    EXPECT_EQ(m_rs->GetString(0), L"42");
    m_rs->Close();
    EXPECT_FALSE(m_rs->IsOpen());
    EXPECT_EQ(m_rs->MoveNext(), 0);
    EXPECT_EQ(m_rs->ColumnIndex(L"HandID"), -1);
}

TEST_F(CSQLiteRecordsetTest, AnErrorWhileSteppingIsNotTheEnd)
{
    std::unique_ptr<CAbstractRecordset> rs;
    ASSERT_EQ(m_db.Query(L"SELECT abs(-9223372036854775807 - 1)", m_err, rs), 1);
    EXPECT_EQ(rs->MoveNext(), 0);
    EXPECT_EQ(rs->LastError(), L"integer overflow");
    EXPECT_EQ(m_db.Reset(*rs, m_err), 0);
    EXPECT_EQ(m_err, L"integer overflow");
    EXPECT_EQ(rs->LastError(), L"");
}

}  // namespace
