#include "db/SqlText.h"

#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"

#include <gtest/gtest.h>

using namespace kroDB;

TEST(SqlTextTest, QuotesAreDoubledAndNulsDropped)
{
    EXPECT_EQ(SqlEscape(L"Hold'em"), L"Hold''em");
    EXPECT_EQ(SqlEscape(std::wstring(L"a\0b", 3)), L"ab");
    EXPECT_EQ(SqlEscape(L"back\\slash"), L"back\\slash");
    EXPECT_EQ(SqlIdentifier(L"KRO\"; DROP"), L"\"KRO\"\"; DROP\"");
}

TEST(SqlTextTest, OnlyPlainColumnNamesAreAccepted)
{
    EXPECT_TRUE(IsPlainColumnName(L"flag_pf_3bet"));
    EXPECT_FALSE(IsPlainColumnName(L"3bet"));
    EXPECT_FALSE(IsPlainColumnName(L"x; DROP TABLE hands"));
    EXPECT_FALSE(IsPlainColumnName(L""));
    EXPECT_TRUE(IsPlainTypeName(L"character varying(255)"));
    EXPECT_TRUE(IsPlainTypeName(L"integer"));
    EXPECT_FALSE(IsPlainTypeName(L"integer; DROP TABLE hands"));
    EXPECT_FALSE(IsPlainTypeName(L"numeric(5"));
}

TEST(SqlTextTest, ConnectStringsParseAndPasswordsAreMasked)
{
    CConnectParts parts;
    ASSERT_TRUE(ParseConnectString(
        L"Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5432;Database=KRO;Uid=postgres;Pwd=;",
        parts));
    EXPECT_EQ(parts.database, L"KRO");
    EXPECT_EQ(parts.password, L"");
    EXPECT_EQ(
        MakeConnectString(parts),
        L"Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5432;Database=KRO;Uid=postgres;Pwd=;");
    EXPECT_FALSE(ParseConnectString(L"Server=x;", parts));
    EXPECT_EQ(MaskPassword(L"Uid=a;Pwd=secret;"), L"Uid=a;Pwd=***;");
}
