// A fresh database on the throw-away test server for each test, with the
// shipped stat definitions, a notifier that records what the user would see,
// and a second connection for checking what was stored.
#pragma once

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "testing/PgTestServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class CRecordingNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring& text) override { messages.push_back(text); }
    std::vector<std::wstring> messages;
};

class DbTestFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        ASSERT_TRUE(
            m_definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json"));
        MakeContext();
        m_name = vxtest::UniqueDatabaseName("vxdb");
        m_connect = m_server.ConnectString(m_name);
    }

    void TearDown() override
    {
        if (m_context) {
            m_context.reset();
            MakeContext();
            (void)kroDB::DropDatabase(*m_context, m_connect);
        }
    }

    void MakeContext()
    {
        m_context = std::make_unique<kroDB::CDbContext>(m_definitions, m_notifier, m_log);
        ASSERT_TRUE(m_context->AllocateEnvironment().IsOk());
    }

    // One value of a query on the test database, as text ("" without rows).
    std::wstring Scalar(const std::wstring& sql)
    {
        CDatabase db(m_context->Environment());
        if (!db.Open(m_server.ConnectString(m_name)).IsOk()) {
            return L"<no database>";
        }
        CODBCRecordset rs(db);
        if (!rs.Open(sql).IsOk() || rs.IsEOF()) {
            return L"";
        }
        return rs.Field(size_t{0}).AsString();
    }

    vxtest::CPgTestServer m_server;
    CStatDefinitions m_definitions;
    CRecordingNotifier m_notifier;
    CNullLogSink m_log;
    std::unique_ptr<kroDB::CDbContext> m_context;
    std::string m_name;
    std::wstring m_connect;
};
