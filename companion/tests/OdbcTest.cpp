#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "companion/COdbcEnvironment.h"
#include "companion/TestDSNDriver.h"
#include "testing/PgTestServer.h"

#include <gtest/gtest.h>

#include <chrono>

class OdbcTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_env.Allocate().IsOk()); }
    COdbcEnvironment m_env;
};

TEST_F(OdbcTest, PostgresUnicodeDriverIsRegistered)
{
    EXPECT_TRUE(TestDSNDriver(m_env.Handle(), L"PostgreSQL Unicode"));
    EXPECT_FALSE(TestDSNDriver(m_env.Handle(), L"No Such Driver"));
}

TEST_F(OdbcTest, UnreachableServerFailsQuicklyWithAMessage)
{
    CDatabase db(m_env.Handle());
    const auto start = std::chrono::steady_clock::now();
    const CStatus status =
        db.Open(L"Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Database=x;Uid=u;Pwd=p;", 3);
    EXPECT_FALSE(status.IsOk());
    EXPECT_FALSE(status.Message().empty());
    EXPECT_FALSE(db.IsOpen());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(OdbcTest, TextOfEveryScriptRoundTripsAndNullsReadAsZero)
{
    vxtest::CPgTestServer server;
    VX_REQUIRE_PG(server);
    CDatabase db(m_env.Handle());
    ASSERT_TRUE(db.Open(server.ConnectString("postgres")).IsOk());
    const std::wstring name = L"O'Neil \\ Дмитрий 张伟 😀";
    std::wstring quoted;
    for (wchar_t c : name) {
        quoted += c;
        if (c == L'\'') {
            quoted += c;
        }
    }
    CODBCRecordset rs(db);
    ASSERT_TRUE(rs.Open(L"SELECT '" + quoted +
                        L"'::text AS name, NULL::integer AS n, "
                        L"TRUE AS b, 12345678901 AS big, repeat('x', 10000) AS long")
                    .IsOk());
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.Field(L"name").AsString(), name);
    EXPECT_TRUE(rs.Field(L"n").IsNull());
    EXPECT_EQ(rs.Field(L"n").AsInt(), 0);
    EXPECT_TRUE(rs.Field(L"B").AsBool());
    EXPECT_EQ(rs.Field(L"big").AsLong(), 12345678901LL);
    EXPECT_EQ(rs.Field(L"long").AsString().size(), 10000u);
    EXPECT_TRUE(rs.Field(L"missing").IsNull());
    EXPECT_FALSE(rs.MoveNext());
    EXPECT_TRUE(rs.IsEOF());
}

TEST_F(OdbcTest, FailingStatementReportsTheDriverMessage)
{
    vxtest::CPgTestServer server;
    VX_REQUIRE_PG(server);
    CDatabase db(m_env.Handle());
    ASSERT_TRUE(db.Open(server.ConnectString("postgres")).IsOk());
    const CStatus status = db.ExecuteSQL(L"SELECT * FROM no_such_table");
    EXPECT_FALSE(status.IsOk());
    EXPECT_NE(status.Message().find(L"no_such_table"), std::wstring::npos);
    CODBCRecordset rs(db);
    EXPECT_FALSE(rs.Open(L"SELEKT 1").IsOk());
    EXPECT_TRUE(db.ExecuteSQL(L"SELECT 1").IsOk());
}
