#include "live/CAuditSeating.h"
#include "live/CDirectoryChangeHandler.h"
#include "live/CLiveTracking.h"
#include "live/CRoomTable.h"
#include "live/ITableHud.h"
#include "live/TableSeating.h"
#include "parser/tests/ParserTestEnvironment.h"
#include "platform/CTaskQueue.h"
#include "platform/PokerClientWindows.h"
#include "platform/fakes/CFakeFileChangeSource.h"
#include "platform/fakes/CFakeProcessList.h"
#include "platform/fakes/CFakeWindowFinder.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace {

class CRecordingHud : public ITableHud
{
public:
    struct CUpdate
    {
        uint64_t window = 0;
        int32_t tableSize = 0;
        int32_t bigBlind = 0;
        int32_t gameKind = 0;
        std::vector<std::wstring> names;
    };

    bool CountProcessID() override
    {
        ++starts;
        return true;
    }
    void UpdateTableHud(CTableRecord& table,
                        int32_t tableSize,
                        int32_t bigBlind,
                        int32_t gameKind,
                        const std::vector<std::wstring>& names) override
    {
        updates.push_back({table.tableWindow, tableSize, bigBlind, gameKind, names});
    }

    int starts = 0;
    std::vector<CUpdate> updates;
};

std::string Line(const std::string& table,
                 const std::string& user,
                 const std::string& seats,
                 const std::string& maxseats = "6")
{
    return "tablenumber=" + table +
           ",  hand=77,  format=RING,  game=5_OMAHA,  currency=USD,  smallblind=0.25,  "
           "bigblind=0.50,  button=2,  ante=0,  zoom=False,  hi-lo=True,  user=" +
           user + ",  userstack=40,  maxseats=" + maxseats + ", " + seats + "\r\n";
}

const std::string kSeats =
    "seat1=Bluefish,  seat1stack=10,  seat3=Marlin,  seat3stack=7.35,  seat4=Hero,  "
    "seat4stack=12.50,  seat6=Caf%C3%A9,  seat6stack=3";

class AuditSeatingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CPokerRoom& stars = m_rooms.Room(kRoomPokerStars);
        stars.heroName = L"Hero";
        stars.clientProcessId = 700;
        stars.tableWindowClasses = {kPokerStarsTableWindowClasses[0],
                                    kPokerStarsTableWindowClasses[1]};
        stars.preferredSeats[6] = 1;
        kroHandParser::CParseSettings settings;
        m_live = std::make_unique<CLiveTracking>(
            m_rooms, *m_t.db, m_t.sink, m_t.sink, m_loop, m_processes,
            [] { return std::make_unique<CFakeFileChangeSource>(); }, settings);
        m_seating = std::make_unique<CAuditSeating>(*m_live, m_rooms, m_windows, m_hud, m_t.sink);
        const std::string path = m_dir.File("audit.dat");
        m_path = std::wstring(path.begin(), path.end());
    }

    void Window(uint64_t id, const std::wstring& title)
    {
        m_windows.windows.push_back({id, 700, L"PokerStars.exe", L"PokerStars.exe", title});
    }

    // Appends a line and hands the change to the handler.
    void Write(const std::string& line)
    {
        m_dir.Append("audit.dat", line);
        m_seating->Handler()->FileModified(m_path);
    }

    vxtest::CParserTestEnvironment m_t;
    vxtest::CTempDir m_dir;
    CTaskQueue m_loop;
    CFakeProcessList m_processes;
    CFakeWindowFinder m_windows;
    CRecordingHud m_hud;
    CRoomTable m_rooms;
    std::unique_ptr<CLiveTracking> m_live;
    std::unique_ptr<CAuditSeating> m_seating;
    std::wstring m_path;
};

TEST_F(AuditSeatingTest, ALineOfTheHerosTableSendsItsSeatsByPosition)
{
    Window(900, L"Halley - $0.25/$0.50 USD - 5 Card Omaha Hi/Lo");
    m_dir.Write("audit.dat", "");
    m_seating->FileAdded(m_path);
    Write(Line("Halley", "Hero", kSeats));
    ASSERT_EQ(m_hud.updates.size(), 1u);
    const auto& update = m_hud.updates[0];
    EXPECT_EQ(update.window, 900u);
    EXPECT_EQ(update.tableSize, 6);
    EXPECT_EQ(update.bigBlind, 50);
    EXPECT_EQ(update.gameKind, 3);
    // Hero (seat 4) prefers seat 1: seat 4 -> 0, 6 -> 2, 1 -> 3, 3 -> 5.
    EXPECT_EQ(update.names,
              (std::vector<std::wstring>{L"Hero", L"", L"Caf\u00E9", L"Bluefish", L"", L"Marlin"}));
    ASSERT_EQ(m_seating->Tables().count(L"Halley"), 1u);
    EXPECT_EQ(m_seating->Tables().at(L"Halley").tableSize, 6);

    // The window is looked up once; later lines use the table record.
    const int enumerations = m_windows.enumerations;
    Write(Line("Halley", "Hero", kSeats));
    EXPECT_EQ(m_hud.updates.size(), 2u);
    EXPECT_EQ(m_windows.enumerations, enumerations);
}

TEST_F(AuditSeatingTest, LinesOfOtherAccountsAndOfUnservedTableSizesShowNothing)
{
    Window(900, L"Halley - $0.25/$0.50");
    m_seating->FileAdded(m_path);
    Write(Line("Halley", "Someone", kSeats));
    Write(Line("Halley", "Hero", kSeats, "11"));
    Write(Line("Halley", "Hero", kSeats, "1"));
    EXPECT_TRUE(m_hud.updates.empty());
    m_rooms.Room(kRoomPokerStars).heroName.clear();
    Write(Line("Halley", "", kSeats));
    EXPECT_TRUE(m_hud.updates.empty());
}

TEST_F(AuditSeatingTest, ATableWhoseWindowIsNotFoundIsTriedAgainWithTheNextLine)
{
    m_seating->FileAdded(m_path);
    Write(Line("Halley", "Hero", kSeats));
    EXPECT_TRUE(m_hud.updates.empty());
    EXPECT_TRUE(m_seating->Tables().empty());
    Window(901, L"Halley - $0.25/$0.50");
    Write(Line("Halley", "Hero", kSeats));
    ASSERT_EQ(m_hud.updates.size(), 1u);
    EXPECT_EQ(m_hud.updates[0].window, 901u);
}

TEST_F(AuditSeatingTest, ATableOpenedAgainUnderTheSameNameGetsItsNewWindow)
{
    Window(902, L"Halley - $0.25/$0.50");
    m_seating->FileAdded(m_path);
    Write(Line("Halley", "Hero", kSeats));
    m_windows.windows.clear();
    Window(903, L"Halley - $0.25/$0.50");
    Write(Line("Halley", "Hero", kSeats));
    ASSERT_EQ(m_hud.updates.size(), 2u);
    EXPECT_EQ(m_hud.updates[1].window, 903u);
}

TEST_F(AuditSeatingTest, OnlyKnownFilesAreReadAndANewFileWithItsLineIsReadAtOnce)
{
    Window(904, L"Halley - $0.25/$0.50");
    Write(Line("Halley", "Hero", kSeats));
    EXPECT_TRUE(m_hud.updates.empty());

    m_dir.Write("moved.dat", Line("Halley", "Hero", kSeats));
    const std::string moved = m_dir.File("moved.dat");
    m_seating->Handler()->FileAdded(std::wstring(moved.begin(), moved.end()));
    ASSERT_EQ(m_hud.updates.size(), 1u);
    EXPECT_GT(m_live->AuditFiles().at(std::wstring(moved.begin(), moved.end())).readPosition, 0);

    m_seating->Handler()->FileRemoved(std::wstring(moved.begin(), moved.end()));
    EXPECT_EQ(m_live->AuditFiles().count(std::wstring(moved.begin(), moved.end())), 0u);
}

}  // namespace

namespace {

TEST_F(AuditSeatingTest, TheAuditWatchLogsItsStartAndSaysAuditWhenItFails)
{
    std::filesystem::create_directories(m_dir.File("audit"));
    CPokerRoom& stars = m_rooms.Room(kRoomPokerStars);
    stars.hudSwitch = 1;
    const std::string folder = m_dir.File("audit");
    stars.auditFolder = std::wstring(folder.begin(), folder.end());
    for (const bool fail : {false, true}) {
        kroHandParser::CParseSettings settings;
        CLiveTracking live(
            m_rooms, *m_t.db, m_t.sink, m_t.sink, m_loop, m_processes,
            [&] {
                auto source = std::make_unique<CFakeFileChangeSource>();
                if (fail) {
                    source->FailAddTree(folder, EACCES);
                }
                return source;
            },
            settings);
        CAuditSeating seating(live, m_rooms, m_windows, m_hud, m_t.sink);
        live.SetAuditHandler(seating.Handler());
        live.SetTableHud(&m_hud);
        live.StartLiveTracking();
        EXPECT_EQ(m_t.sink.logs.back(),
                  fail ? L"Failed to start watch for Audit:\nPermission denied"
                       : L"Start WatchDirectory Auidit OK!\nThe operation completed successfully.");
        live.StopWatching();
    }
    // "Start" starts the HUD program each time.
    EXPECT_EQ(m_hud.starts, 2);
}

}  // namespace
