// Live tracking with the HUD: real audit files in a watched folder, real
// inotify, a real database of imported corpus hands, the real transport to an
// endpoint named "Pelmora" that the test owns; the poker client's table window
// is a stand-in.
#include "hud/CHudLink.h"
#include "hud/CHudStats.h"
#include "hud/CHudStatsCache.h"
#include "hud/tests/HudTestDatabase.h"
#include "live/CAuditSeating.h"
#include "live/CLiveTracking.h"
#include "live/CRoomTable.h"
#include "live/TableSeating.h"
#include "platform/CTaskQueue.h"
#include "platform/HudMessages.h"
#include "platform/PokerClientWindows.h"
#include "platform/fakes/CFakeProcessList.h"
#include "platform/fakes/CFakeProgramLauncher.h"
#include "platform/fakes/CFakeWindowFinder.h"
#include "platform/linux/CInotifyChangeSource.h"
#include "platform/linux/CUnixMessageChannel.h"
#include "platform/linux/CUnixMessageEndpoint.h"
#include "testing/CTempDir.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// 15 December 2019: the hands of October lie within the six months.
int64_t December2019()
{
    std::tm tm{};
    tm.tm_year = 119;
    tm.tm_mon = 11;
    tm.tm_mday = 15;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&tm));
}

std::wstring W(const std::string& s)
{
    return FromUtf8(s);
}

// The name as the client writes it into an audit line: UTF-8, percent-encoded
// where it is not a plain letter or digit.
std::string Encoded(const std::wstring& name)
{
    std::string out;
    for (const unsigned char c : ToUtf8(name)) {
        if (std::isalnum(c) != 0) {
            out.push_back(static_cast<char>(c));
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            out += escape;
        }
    }
    return out;
}

// The HUD program's side of the transport: an endpoint named "Pelmora" that
// a thread of its own serves (the sender waits for its answer), keeping every
// packet it receives.
class CReceivingHud
{
public:
    CReceivingHud()
        : m_thread([this] { Serve(); })
    {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return m_opened.has_value(); });
    }
    ~CReceivingHud()
    {
        m_stop = true;
        m_thread.join();
    }

    bool Open() const { return m_opened.value_or(false); }

    std::vector<CHudMessage> Messages()
    {
        std::scoped_lock lock(m_mutex);
        std::vector<CHudMessage> messages;
        for (const auto& packet : m_packets) {
            EXPECT_EQ(packet.first, kHudMessageTag);
            const auto message = DecodeHudMessage(packet.second);
            EXPECT_TRUE(message.has_value());
            if (message) {
                messages.push_back(*message);
            }
        }
        return messages;
    }

    void Clear()
    {
        std::scoped_lock lock(m_mutex);
        m_packets.clear();
    }

private:
    void Serve()
    {
        CUnixMessageEndpoint endpoint([this](uint64_t tag, std::span<const uint8_t> payload) {
            std::scoped_lock lock(m_mutex);
            m_packets.emplace_back(tag, std::vector<uint8_t>(payload.begin(), payload.end()));
        });
        {
            std::scoped_lock lock(m_mutex);
            m_opened = endpoint.Open(L"Pelmora").IsOk();
        }
        m_ready.notify_all();
        while (!m_stop && endpoint.IsOpen()) {
            (void)endpoint.WaitAndProcess(20);
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::optional<bool> m_opened;
    std::vector<std::pair<uint64_t, std::vector<uint8_t>>> m_packets;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class HudEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        VX_REQUIRE_CORPUS();
        // The endpoints of this test lie in a folder of its own.
        std::filesystem::create_directories(m_dir.File("run"));
        ::setenv("XDG_RUNTIME_DIR", m_dir.File("run").c_str(), 1);
        m_hud = std::make_unique<CReceivingHud>();
        ASSERT_TRUE(m_hud->Open());
        ASSERT_TRUE(m_db.Create());
        ASSERT_TRUE(CHudStatsCache(m_db.Db()).Install().IsOk());
        ASSERT_GT(m_db.Import(vxtest::CorpusFile("pokerstars/PokerStudier_HH6.txt")), 100);
        // The three players with the most hands of the file besides the hero.
        for (int i = 0; i < 3; ++i) {
            m_players.push_back(m_db.Scalar(FormatW(
                L"select p.name from players p join handsplayers hp on hp.idplayer = p.idplayer "
                L"where p.name <> 'PlayTheBlues4U' group by p.name order by count(*) desc, "
                L"p.name limit 1 offset %d",
                i)));
            ASSERT_FALSE(m_players.back().empty());
        }

        std::filesystem::create_directories(m_dir.File("hh"));
        std::filesystem::create_directories(m_dir.File("audit"));
        CPokerRoom& stars = m_rooms.Room(kRoomPokerStars);
        stars.historyFolder = W(m_dir.File("hh"));
        stars.auditFolder = W(m_dir.File("audit"));
        stars.hudSwitch = 1;
        stars.heroName = L"PlayTheBlues4U";
        stars.clientProcessNames = {L"PokerStars.exe"};
        stars.tableWindowClasses = {kPokerStarsTableWindowClasses[0],
                                    kPokerStarsTableWindowClasses[1]};
        // The hero prefers seat 1 at six-seat tables.
        stars.preferredSeats[6] = 1;
        m_processes.processes = {{700, {L"PokerStars.exe"}, 1000}, {800, {L"pelmora"}, 1000}};
        m_windows.windows.push_back({0x3a00007, 700, L"PokerStars.exe", L"PokerStars.exe",
                                     L"Halley - $0.02/$0.05 USD - No Limit Hold'em"});

        m_db.profile.WriteProfileString(L"Base", L"HUD_CacheMonths", L"6");
        m_stats = std::make_unique<CHudStats>(m_db.Db(), m_db.profile);
        m_stats->SetClock(December2019);
        CHudProgram program;
        program.folder = W(m_dir.File("nothing"));
        m_link = std::make_unique<CHudLink>(program, m_rooms, m_channel, m_processes, m_launcher,
                                            m_windows, *m_stats, m_log, m_log);
        kroHandParser::CParseSettings settings;
        m_live = std::make_unique<CLiveTracking>(
            m_rooms, m_db.Db(), m_log, m_log, m_loop, m_processes,
            [] { return std::make_unique<CInotifyChangeSource>(); }, settings);
        m_seating = std::make_unique<CAuditSeating>(*m_live, m_rooms, m_windows, *m_link, m_log);
        m_live->SetAuditHandler(m_seating->Handler());
        m_live->SetTableHud(m_link.get());
    }

    void TearDown() override
    {
        if (m_live) {
            m_live->StopWatching();
        }
        m_hud.reset();
        ::unsetenv("XDG_RUNTIME_DIR");
    }

    // One line written at once, as the client appends it.
    void AppendLine(const std::string& line)
    {
        const std::string path = m_dir.File("audit/audit.20191215.dat");
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        const std::string text = line + "\r\n";
        ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fd);
    }

    std::string Line(const std::string& seats)
    {
        return "tablenumber=Halley,  hand=204330103999,  format=RING,  game=HOLDEM,  "
               "currency=USD,  smallblind=0.02,  bigblind=0.05,  button=1,  ante=0.00,  "
               "zoom=False,  hi-lo=False,  user=PlayTheBlues4U,  userstack=5.00,  maxseats=6, " +
               seats;
    }

    std::string Seat(int seat, const std::wstring& name, const std::string& stack)
    {
        const std::string n = std::to_string(seat);
        return "seat" + n + "=" + Encoded(name) + ",  seat" + n + "stack=" + stack;
    }

    std::vector<CHudMessage> Messages(HudCommand command)
    {
        std::vector<CHudMessage> found;
        for (const auto& message : m_hud->Messages()) {
            if (message.command == command) {
                found.push_back(message);
            }
        }
        return found;
    }

    // The text the specified query gives for `name` at this table.
    std::wstring Expected(const std::wstring& name)
    {
        const auto rows =
            m_stats->CountsByQuery({name}, HudPeriodStart(December2019(), 6).value(), 5, -1);
        EXPECT_TRUE(rows.has_value());
        return rows ? std::wstring(kHudStatsMarkup) + FormatHudStatsText(name, rows->front())
                    : std::wstring();
    }

    vxtest::CPgTestServer m_server;
    vxtest::CHudTestDatabase m_db;
    vxtest::CTempDir m_dir;
    std::vector<std::wstring> m_players;
    CTaskQueue m_loop;
    CRoomTable m_rooms;
    CFakeProcessList m_processes;
    CFakeWindowFinder m_windows;
    CUnixMessageChannel m_channel;
    std::unique_ptr<CReceivingHud> m_hud;
    CFakeProgramLauncher m_launcher;
    vxtest::CRecordingSink m_log;
    std::unique_ptr<CHudStats> m_stats;
    std::unique_ptr<CHudLink> m_link;
    std::unique_ptr<CLiveTracking> m_live;
    std::unique_ptr<CAuditSeating> m_seating;
};

TEST_F(HudEndToEndTest, AnAuditLineShowsEverySeatedPlayerAndAnEmptiedSeatIsHidden)
{
    m_live->StartLiveTracking();
    EXPECT_NE(std::find(m_log.logs.begin(), m_log.logs.end(),
                        L"Start WatchDirectory Auidit OK!\nThe operation completed successfully."),
              m_log.logs.end());
    ASSERT_EQ(Messages(HudCommand::Reset).size(), 1u);
    EXPECT_EQ(m_rooms.Room(kRoomPokerStars).clientProcessId, 700);

    // Hero on seat 2; seat 5 sits out without chips.
    AppendLine(Line(Seat(1, m_players[0], "4.75") + ",  " + Seat(2, L"PlayTheBlues4U", "5.00") +
                    ",  " + Seat(3, m_players[1], "12.10") + ",  " + Seat(5, L"Sleeper", "0.00") +
                    ",  " + Seat(6, m_players[2], "2")));
    ASSERT_TRUE(m_loop.RunUntil([&] { return Messages(HudCommand::Show).size() >= 4; }, 20s));
    m_loop.RunUntil([] { return false; }, 300ms);
    const auto shows = Messages(HudCommand::Show);
    ASSERT_EQ(shows.size(), 4u);
    EXPECT_TRUE(Messages(HudCommand::Hide).empty());
    // Turned so that seat 2 is position 0: seat s goes to position s - 2.
    const std::vector<std::pair<int, std::wstring>> expected = {
        {HudNumber(6, 5), m_players[0]},
        {HudNumber(6, 0), L"PlayTheBlues4U"},
        {HudNumber(6, 1), m_players[1]},
        {HudNumber(6, 4), m_players[2]}};
    std::map<int, std::wstring> byBox;
    for (const auto& show : shows) {
        EXPECT_EQ(show.tableWindow, 0x3a00007u);
        EXPECT_EQ(show.value, 1000);
        byBox[show.hudNumber] = FromUtf16(show.text);
    }
    for (const auto& [box, name] : expected) {
        ASSERT_EQ(byBox.count(box), 1u) << box;
        EXPECT_EQ(byBox[box], Expected(name)) << ToUtf8(name);
        EXPECT_GT(byBox[box].size(), std::wstring(kHudStatsMarkup).size() + 10) << ToUtf8(name);
    }

    // The player of seat 3 leaves: exactly one hide, for his box.
    m_hud->Clear();
    AppendLine(Line(Seat(1, m_players[0], "4.75") + ",  " + Seat(2, L"PlayTheBlues4U", "5.00") +
                    ",  " + Seat(6, m_players[2], "2")));
    ASSERT_TRUE(m_loop.RunUntil([&] { return !Messages(HudCommand::Hide).empty(); }, 20s));
    m_loop.RunUntil([] { return false; }, 300ms);
    const auto hides = Messages(HudCommand::Hide);
    ASSERT_EQ(hides.size(), 1u);
    EXPECT_EQ(hides[0].hudNumber, HudNumber(6, 1));
    EXPECT_EQ(Messages(HudCommand::Show).size(), 3u);
}

}  // namespace
