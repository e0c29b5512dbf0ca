// What the live-import tests share: real hands of the corpus written the way a
// client writes them, a throw-away database, live tracking over real inotify
// with the test as main loop, and recorded session figures.
#pragma once

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/DatabaseAdmin.h"
#include "live/CLiveTracking.h"
#include "live/CRoomTable.h"
#include "live/ISessionSink.h"
#include "parser/tests/ParserTestEnvironment.h"
#include "platform/CTaskQueue.h"
#include "platform/fakes/CFakeProcessList.h"
#include "platform/linux/CInotifyChangeSource.h"
#include "testing/CTempDir.h"
#include "testing/PgTestServer.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <unistd.h>

namespace vxtest {

inline std::wstring W(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

// The hands of a corpus file, each as the lines from its header to its last
// line, joined with CR LF, without the empty lines after it.
inline std::vector<std::string> CorpusHands(const std::string& relative)
{
    std::ifstream in(CorpusFile(relative), std::ios::binary);
    std::vector<std::string> hands;
    std::string line;
    bool open = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("PokerStars Hand #", 0) == 0) {
            hands.emplace_back();
            open = true;
        } else if (line.empty() || line.rfind("*****", 0) == 0) {
            open = false;
        }
        if (open) {
            hands.back() += line + "\r\n";
        }
    }
    return hands;
}

// A hand as the client appends it: its lines, then empty lines.
inline std::string Written(const std::string& hand)
{
    return hand + "\r\n\r\n";
}

class CLiveLog : public CRecordingSink
{
public:
    bool DebugEnabled() const override { return debug; }
    bool debug = false;
};

class CRecordingSession : public ISessionSink
{
public:
    void UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff) override
    {
        updates.push_back({hands, money, ev, diff});
    }
    int DisplayCurrency() const override { return display; }
    double CurrencyRate(int currency) override { return rates[currency]; }

    std::vector<std::array<int32_t, 4>> updates;
    int display = 0;
    std::map<int, double> rates;
};

class CLiveFixture : public ::testing::Test
{
protected:
    static constexpr const char* kHeroFile = "pokerstars/PokerStudier_HH6.txt";

    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        VX_REQUIRE_CORPUS();
        ConnectTo(m_server);
        m_hands = CorpusHands(kHeroFile);
        ASSERT_GE(m_hands.size(), 10u);
        MakeLive();
    }

    void TearDown() override
    {
        m_live.reset();
        if (!m_name.empty() && m_t.db) {
            kroDB::CDbContext admin(m_t.definitions, m_t.sink, m_t.sink);
            (void)admin.AllocateEnvironment();
            m_t.db.reset();
            (void)kroDB::DropDatabase(admin, m_connect);
        }
    }

    void ConnectTo(const CPgTestServer& server)
    {
        m_name = UniqueDatabaseName("vxlive");
        m_connect = server.ConnectString(m_name);
        ASSERT_TRUE(kroDB::CreateDatabase(*m_t.db, m_connect));
        m_t.db->SetConnectStrings(m_connect);
    }

    // Live tracking of the PokerStars folder "hh" of the test's folder.
    void MakeLive(CLiveTracking::SourceFactory makeSource = nullptr)
    {
        std::filesystem::create_directories(m_dir.File("hh"));
        CPokerRoom& stars = m_rooms.Room(kRoomPokerStars);
        stars.historyFolder = W(m_dir.File("hh"));
        stars.hudSwitch = 1;
        kroHandParser::CParseSettings settings;
        settings.localOffset = MeasureLocalUtcOffset();
        // Hand texts are kept, so that a test can read what was stored.
        settings.handHistoryFormat = 1;
        if (!makeSource) {
            makeSource = [] { return std::make_unique<CInotifyChangeSource>(); };
        }
        m_live = std::make_unique<CLiveTracking>(m_rooms, *m_t.db, m_log, m_log, m_loop,
                                                 m_processes, makeSource, settings);
        m_live->SetTrackerSwitch(true);
        m_live->SetSessionSink(&m_session);
    }

    std::string File(const std::string& name) const { return m_dir.File("hh/" + name); }

    // One write, as a client appends a hand.
    void Append(const std::string& name, const std::string& text) const
    {
        const int fd = ::open(File(name).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fd);
    }

    void AppendHands(const std::string& name, size_t from, size_t to) const
    {
        std::string text;
        for (size_t i = from; i < to; ++i) {
            text += Written(m_hands[i]);
        }
        Append(name, text);
    }

    bool RunUntilStored(int64_t count)
    {
        return m_loop.RunUntil([&] { return m_live->Counts().stored >= count; },
                               std::chrono::seconds(20));
    }

    // Runs the main loop with the periodic Tick until `done` holds.
    bool TickUntil(const std::function<bool()>& done, std::chrono::seconds timeout)
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            m_live->Tick();
            if (done()) {
                return true;
            }
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            (void)m_loop.RunUntil(done, std::chrono::milliseconds(200));
        }
    }

    // Lets the changes made so far arrive and be handled.
    void Settle()
    {
        m_loop.RunUntil([] { return false; }, std::chrono::milliseconds(300));
    }

    std::wstring Scalar(const std::wstring& sql)
    {
        CDatabase db(m_t.db->Environment());
        if (!db.Open(m_connect).IsOk()) {
            return L"<no database>";
        }
        CODBCRecordset rs(db);
        if (!rs.Open(sql).IsOk() || rs.IsEOF()) {
            return L"";
        }
        return rs.Field(size_t{0}).AsString();
    }

    int64_t Count(const std::wstring& table)
    {
        return std::stoll(Scalar(L"SELECT count(*) FROM " + table));
    }

    // The hero's money and all-in EV over every stored hand, in cents.
    std::pair<int64_t, int64_t> HeroTotals()
    {
        const std::wstring from =
            L" FROM handsplayers hp JOIN players p ON p.idplayer = hp.idplayer WHERE p.name = "
            L"'PlayTheBlues4U'";
        const std::wstring money = Scalar(L"SELECT coalesce(sum(hp.netwin), 0)" + from);
        const std::wstring ev = Scalar(
            L"SELECT coalesce(sum(CASE WHEN hp.val_allin_street > 0 THEN coalesce(hp.allinev, "
            L"hp.netwin) ELSE hp.netwin END), 0)" +
            from);
        return {std::stoll(money), std::stoll(ev)};
    }

    CParserTestEnvironment m_t;
    CPgTestServer m_server;
    CTempDir m_dir;
    std::string m_name;
    std::wstring m_connect;
    std::vector<std::string> m_hands;

    CTaskQueue m_loop;
    CFakeProcessList m_processes;
    CLiveLog m_log;
    CRecordingSession m_session;
    CRoomTable m_rooms;
    std::unique_ptr<CLiveTracking> m_live;
};

}  // namespace vxtest
