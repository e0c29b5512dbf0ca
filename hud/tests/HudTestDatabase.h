// A throw-away database for the HUD tests: made on the test server, filled
// with hands written row by row or imported from the corpus, dropped at the
// end; and a profile that points the HUD statistics at it.
#pragma once

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/DatabaseAdmin.h"
#include "foundation/CMemoryProfile.h"
#include "foundation/WideText.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/tests/ParserTestEnvironment.h"
#include "testing/PgTestServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vxtest {

// The flags of one hand player that the HUD counts.
struct CHudFlags
{
    bool vpipOpp = false;
    bool vpip = false;
    bool pfrOpp = false;
    bool pfr = false;
    bool p3bOpp = false;
    bool p3b = false;
    bool p4bOpp = false;
    bool p4b = false;
};

class CHudTestDatabase
{
public:
    // Creates the database; false (with the test skipped or failed) without
    // a server.
    bool Create()
    {
        if (!PgTestServerFromEnvironment(m_server)) {
            return false;
        }
        m_name = UniqueDatabaseName("vxhud");
        m_connect = m_server.ConnectString(m_name);
        if (!kroDB::CreateDatabase(*m_t.db, m_connect)) {
            return false;
        }
        m_t.db->SetConnectStrings(m_connect);
        profile.WriteProfileString(L"Base", L"ServerIP", FromUtf8(m_server.server));
        profile.WriteProfileString(L"Base", L"PortDB", FromUtf8(m_server.port));
        profile.WriteProfileString(L"Base", L"NameDB", FromUtf8(m_name));
        profile.WriteProfileString(L"Base", L"UserDB", FromUtf8(m_server.user));
        profile.WriteProfileString(L"Base", L"PasswordDB", FromUtf8(m_server.password));
        return true;
    }

    ~CHudTestDatabase()
    {
        m_own.reset();
        if (!m_name.empty()) {
            kroDB::CDbContext admin(m_t.definitions, m_t.sink, m_t.sink);
            (void)admin.AllocateEnvironment();
            m_t.db.reset();
            (void)kroDB::DropDatabase(admin, m_connect);
        }
    }

    kroDB::CDbContext& Db() { return *m_t.db; }
    CParserTestEnvironment& Environment() { return m_t; }

    // Runs statements on a connection of the test's own; false on a failure.
    bool Execute(const std::wstring& sql)
    {
        if (!Open()) {
            return false;
        }
        const CStatus status = m_own->ExecuteSQL(sql);
        EXPECT_TRUE(status.IsOk()) << ToUtf8(status.Message()) << "\n" << ToUtf8(sql);
        return status.IsOk();
    }

    std::wstring Scalar(const std::wstring& sql)
    {
        if (!Open()) {
            return L"<no database>";
        }
        CODBCRecordset rs(*m_own);
        if (!rs.Open(sql).IsOk() || rs.IsEOF()) {
            return L"";
        }
        return rs.Field(size_t{0}).AsString();
    }

    void Player(int32_t id, const std::wstring& name, int32_t site = 1)
    {
        Execute(
            FormatW(L"insert into players (idplayer, name, idsite, hero) values (%d, '%ls', "
                    L"%d, false)",
                    id, name.c_str(), site));
    }

    void GameType(int32_t id, int32_t gameKind, int32_t bigBlind)
    {
        Execute(
            FormatW(L"insert into gametypes (id, idsite, currency, type, idgamekind, "
                    L"maxseats, mix, smallblind, bigblind, ante, fast) values (%d, 1, 0, 1, "
                    L"%d, 6, 0, %d, %d, 0, false)",
                    id, gameKind, bigBlind / 2, bigBlind));
    }

    void Hand(int64_t id, int32_t gameType, int64_t localtime)
    {
        Execute(
            FormatW(L"insert into hands (id, idgametype, \"localtime\") values (%lld, %d, %lld)",
                    static_cast<long long>(id), gameType, static_cast<long long>(localtime)));
    }

    void HandPlayer(int64_t id, int64_t hand, int32_t player, const CHudFlags& f)
    {
        const auto b = [](bool v) { return v ? L"true" : L"false"; };
        Execute(FormatW(
            L"insert into handsplayers (id, idhand, idplayer, position, flag_vpip_opp, flag_vpip, "
            L"flag_pf_pfr_opp, flag_pf_pfr, flag_pf_3bet_opp, flag_pf_3bet, flag_pf_4bet_opp, "
            L"flag_pf_4bet) values (%lld, %lld, %d, 0, %ls, %ls, %ls, %ls, %ls, %ls, %ls, %ls)",
            static_cast<long long>(id), static_cast<long long>(hand), player, b(f.vpipOpp),
            b(f.vpip), b(f.pfrOpp), b(f.pfr), b(f.p3bOpp), b(f.p3b), b(f.p4bOpp), b(f.p4b)));
    }

    // Imports a corpus file as the PokerStars room; the hands stored.
    int Import(const std::string& path)
    {
        kroHandParser::CHandHistoryImporter importer(*m_t.env);
        int64_t fileId = 0;
        int currency = -1;
        int64_t position = 0;
        return importer.ImportHandHistoryFile(path, fileId, currency, position, L"PokerStars", 0);
    }

    CMemoryProfile profile;

private:
    bool Open()
    {
        if (!m_own) {
            m_own = std::make_unique<CDatabase>(m_t.db->Environment());
            if (!m_own->Open(m_connect).IsOk()) {
                m_own.reset();
                return false;
            }
        }
        return true;
    }

    CParserTestEnvironment m_t;
    std::unique_ptr<CDatabase> m_own;
    CPgTestServer m_server;
    std::string m_name;
    std::wstring m_connect;
};

}  // namespace vxtest
