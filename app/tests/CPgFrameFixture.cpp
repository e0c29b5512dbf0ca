#include "app/tests/CPgFrameFixture.h"

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/DatabaseAdmin.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"

void CPgFrameFixture::SetUp()
{
    VX_REQUIRE_PG(m_server);
    m_name = vxtest::UniqueDatabaseName("vxdesk");
    m_connect = m_server.ConnectString(m_name);
}

void CPgFrameFixture::MakeFrame(const std::function<void(CMainFrameContext&)>& prepare)
{
    const std::wstring server = FromUtf8(m_server.server);
    const std::wstring port = FromUtf8(m_server.port);
    const std::wstring name = FromUtf8(m_name);
    const std::wstring user = FromUtf8(m_server.user);
    const std::wstring password = FromUtf8(m_server.password);
    m_h = std::make_unique<CFrameHarness>([&](CMainFrameContext& c) {
        c.profile.WriteProfileString(L"Base", L"ServerIP", server);
        c.profile.WriteProfileString(L"Base", L"PortDB", port);
        c.profile.WriteProfileString(L"Base", L"NameDB", name);
        c.profile.WriteProfileString(L"Base", L"UserDB", user);
        c.profile.WriteProfileString(L"Base", L"PasswordDB", password);
        if (prepare) {
            prepare(c);
        }
    });
}

void CPgFrameFixture::CreateDatabase()
{
    ASSERT_TRUE(kroDB::CreateDatabase(m_h->Db(), m_connect));
}

void CPgFrameFixture::TearDown()
{
    if (m_name.empty()) {
        return;
    }
    m_h.reset();
    CNullLogSink log;
    CNullUserNotifier notifier;
    CStatDefinitions definitions;
    kroDB::CDbContext admin(definitions, notifier, log);
    (void)admin.AllocateEnvironment();
    if (kroDB::CheckDatabase(admin, m_connect)) {
        (void)kroDB::DropDatabase(admin, m_connect);
    }
}

std::wstring CPgFrameFixture::Scalar(const std::wstring& sql)
{
    CDatabase db(m_h->Db().Environment());
    if (!db.Open(m_connect).IsOk()) {
        return L"<no database>";
    }
    CODBCRecordset rs(db);
    if (!rs.Open(sql).IsOk() || rs.IsEOF()) {
        return L"";
    }
    return rs.Field(size_t{0}).AsString();
}
