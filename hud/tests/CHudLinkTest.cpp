#include "hud/CHudLink.h"

#include "hud/IHudStatsSource.h"
#include "live/CRoomTable.h"
#include "parser/tests/ParserTestEnvironment.h"
#include "platform/HudMessages.h"
#include "platform/fakes/CFakeMessageChannel.h"
#include "platform/fakes/CFakeProcessList.h"
#include "platform/fakes/CFakeProgramLauncher.h"
#include "platform/fakes/CFakeWindowFinder.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

using namespace std::chrono_literals;

class CFixedStats : public IHudStatsSource
{
public:
    std::optional<std::vector<std::wstring>> HudStatsTexts(const std::vector<std::wstring>& names,
                                                           int32_t bigBlind,
                                                           int32_t gameKind) override
    {
        ++calls;
        lastBigBlind = bigBlind;
        lastGameKind = gameKind;
        if (abandon) {
            return std::nullopt;
        }
        std::vector<std::wstring> result;
        for (const auto& name : names) {
            const auto it = texts.find(name);
            result.push_back(it == texts.end() ? std::wstring() : it->second);
        }
        return result;
    }

    std::map<std::wstring, std::wstring> texts;
    bool abandon = false;
    int calls = 0;
    int32_t lastBigBlind = 0;
    int32_t lastGameKind = 0;
};

class CDebugSink : public vxtest::CRecordingSink
{
public:
    bool DebugEnabled() const override { return debug; }
    bool debug = true;
};

std::wstring W(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

class HudLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_dir.File("hud"));
        std::filesystem::create_directories(m_dir.File("bin"));
        std::filesystem::create_directories(m_dir.File("hh"));
        CPokerRoom& stars = m_rooms.Room(kRoomPokerStars);
        stars.clientProcessNames = {L"PokerStars.exe"};
        stars.historyFolder = W(m_dir.File("hh"));
        m_program.folder = W(m_dir.File("hud"));
        m_program.executableFolder = W(m_dir.File("bin"));
        m_launcher.onLaunch = [this](const std::string&) {
            if (m_comesUp) {
                m_channel.endpoints.insert(L"Pelmora");
            }
        };
        m_stats.texts = {{L"Bluefish", L"Blue 42 30.0 20.0 5.0 0.0\n"},
                         {L"Marlin", L"Marl 10 30.0 20.0 0.0 50.0\n"}};
        Make();
    }

    void Make()
    {
        m_link = std::make_unique<CHudLink>(
            m_program, m_rooms, m_channel, m_processes, m_launcher, m_windows, m_stats, m_log,
            m_log, [this](const std::wstring& text) { m_raw.push_back(text); });
        m_link->SetUserAdminTest([this] { return m_admin; });
        m_link->SetStartWait(200ms);
    }

    void HudFile(const std::string& name) { m_dir.Write(name, "#!/bin/sh\n"); }

    std::vector<CHudMessage> Sent()
    {
        std::vector<CHudMessage> messages;
        for (const auto& packet : m_channel.sent) {
            EXPECT_EQ(packet.endpoint, L"Pelmora");
            EXPECT_EQ(packet.tag, kHudMessageTag);
            const auto message = DecodeHudMessage(packet.payload);
            EXPECT_TRUE(message.has_value());
            if (message) {
                messages.push_back(*message);
            }
        }
        return messages;
    }

    int Count(HudCommand command)
    {
        int count = 0;
        for (const auto& message : Sent()) {
            count += message.command == command ? 1 : 0;
        }
        return count;
    }

    bool Logged(const std::wstring& line) const
    {
        return std::find(m_log.logs.begin(), m_log.logs.end(), line) != m_log.logs.end();
    }

    vxtest::CTempDir m_dir;
    CRoomTable m_rooms;
    CHudProgram m_program;
    CFakeMessageChannel m_channel;
    CFakeProcessList m_processes;
    CFakeProgramLauncher m_launcher;
    CFakeWindowFinder m_windows;
    CFixedStats m_stats;
    CDebugSink m_log;
    std::vector<std::wstring> m_raw;
    bool m_admin = false;
    bool m_comesUp = true;
    std::unique_ptr<CHudLink> m_link;
};

TEST_F(HudLinkTest, TheShowMessageOfAStatisticsLineIsByteForByteAsSpecified)
{
    m_channel.endpoints.insert(L"Pelmora");
    const std::wstring text = std::wstring(kHudStatsMarkup) + L"Blue 42 30.0 20.0 5.0 0.0\n";
    ASSERT_TRUE(m_link->SendHud(0x2A00013, 1000, 114, text));
    ASSERT_EQ(m_channel.sent.size(), 1u);
    const std::vector<uint8_t>& bytes = m_channel.sent[0].payload;
    ASSERT_EQ(bytes.size(), 147u);
    std::vector<uint8_t> expected = {0x13, 0x00, 0xA0, 0x02, 0, 0, 0, 0,  // window
                                     0xE8, 0x03, 0,    0,                 // 1000
                                     114,  0,    0,    0,                 // box
                                     1,    0,    0,    0,                 // show
                                     118,  0,    0,    0,                 // text bytes
                                     0,    0,    0,    0};
    for (const wchar_t c : text) {
        expected.push_back(static_cast<uint8_t>(c));
        expected.push_back(0);
    }
    expected.push_back(0);
    EXPECT_EQ(bytes, expected);
}

TEST_F(HudLinkTest, ResetAndShutdownAreAHeaderAndOneZeroByte)
{
    m_channel.endpoints.insert(L"Pelmora");
    ASSERT_TRUE(m_link->CountProcessID());
    m_link->SendShutdown();
    ASSERT_EQ(m_channel.sent.size(), 2u);
    const std::vector<uint8_t> header = {0, 0, 0, 0, 0,    0,    0,    0,
                                         0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    std::vector<uint8_t> reset = header;
    reset.insert(reset.end(), {6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    std::vector<uint8_t> shutdown = header;
    shutdown.insert(shutdown.end(), {7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(m_channel.sent[0].payload, reset);
    EXPECT_EQ(m_channel.sent[1].payload, shutdown);
}

TEST_F(HudLinkTest, EachSeatedPlayerGetsOneShowAndALeavingOneExactlyOneHide)
{
    m_channel.endpoints.insert(L"Pelmora");
    CTableRecord table;
    table.tableWindow = 0x5000001;
    table.tableSize = 6;
    m_link->UpdateTableHud(table, 6, 50, 0, {L"Hero", L"Bluefish", L"", L"Marlin", L"", L""});
    auto sent = Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].hudNumber, 114);
    EXPECT_EQ(FromUtf16(sent[0].text), kHudStatsMarkup);
    EXPECT_EQ(sent[1].hudNumber, 115);
    EXPECT_EQ(FromUtf16(sent[1].text),
              std::wstring(kHudStatsMarkup) + L"Blue 42 30.0 20.0 5.0 0.0\n");
    EXPECT_EQ(sent[2].hudNumber, 117);
    EXPECT_EQ(sent[2].tableWindow, 0x5000001u);
    EXPECT_EQ(sent[2].value, 1000);
    EXPECT_EQ(m_stats.lastBigBlind, 50);
    EXPECT_EQ(m_stats.lastGameKind, 0);
    EXPECT_TRUE(table.shown[0] && table.shown[1] && table.shown[3]);
    EXPECT_TRUE(Logged(L"SendHud: nHud=115 Message = Blue 42 30.0 20.0 5.0 0.0\n"));
    EXPECT_TRUE(Logged(L"SendHud: nHud=114 Message = "));

    m_channel.sent.clear();
    m_link->UpdateTableHud(table, 6, 50, 0, {L"Hero", L"", L"", L"Marlin", L"", L""});
    EXPECT_EQ(Count(HudCommand::Show), 2);
    ASSERT_EQ(Count(HudCommand::Hide), 1);
    for (const auto& message : Sent()) {
        if (message.command == HudCommand::Hide) {
            EXPECT_EQ(message.hudNumber, 115);
            EXPECT_TRUE(message.text.empty());
        }
    }
    EXPECT_TRUE(Logged(L"SendHide: nHud=115"));
    EXPECT_FALSE(table.shown[1]);

    m_channel.sent.clear();
    m_link->UpdateTableHud(table, 6, 50, 0, {L"Hero", L"", L"", L"Marlin", L"", L""});
    EXPECT_EQ(Count(HudCommand::Hide), 0);
    EXPECT_EQ(Count(HudCommand::Show), 2);
}

TEST_F(HudLinkTest, WithoutTheDebugSwitchNoSendLinesAreWritten)
{
    m_log.debug = false;
    m_channel.endpoints.insert(L"Pelmora");
    CTableRecord table;
    table.tableWindow = 9;
    table.tableSize = 2;
    m_link->UpdateTableHud(table, 2, 50, 0, {L"Hero", L"Marlin"});
    m_link->UpdateTableHud(table, 2, 50, 0, {L"Hero", L""});
    EXPECT_EQ(Count(HudCommand::Show), 3);
    EXPECT_EQ(Count(HudCommand::Hide), 1);
    EXPECT_TRUE(m_log.logs.empty());
    EXPECT_TRUE(m_log.outputs.empty());
}

TEST_F(HudLinkTest, AnAbandonedUpdateSendsNothing)
{
    m_channel.endpoints.insert(L"Pelmora");
    m_stats.abandon = true;
    CTableRecord table;
    table.tableWindow = 9;
    table.tableSize = 6;
    table.shown[2] = true;
    m_link->UpdateTableHud(table, 6, 50, 0, {L"Hero", L"", L"", L"", L"", L""});
    EXPECT_TRUE(m_channel.sent.empty());
    EXPECT_TRUE(table.shown[2]);
}

TEST_F(HudLinkTest, ATableOfAnotherSizeFirstHidesTheBoxesOfTheOldNumbering)
{
    m_channel.endpoints.insert(L"Pelmora");
    CTableRecord table;
    table.tableWindow = 9;
    table.tableSize = 6;
    m_link->UpdateTableHud(table, 6, 50, 0, {L"Hero", L"", L"Marlin", L"", L"", L""});
    m_channel.sent.clear();
    m_link->UpdateTableHud(table, 9, 50, 0,
                           {L"Hero", L"", L"", L"", L"", L"", L"", L"", L"Marlin"});
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].command, HudCommand::Hide);
    EXPECT_EQ(sent[0].hudNumber, 114);
    EXPECT_EQ(sent[1].command, HudCommand::Hide);
    EXPECT_EQ(sent[1].hudNumber, 116);
    EXPECT_EQ(sent[2].hudNumber, HudNumber(9, 0));
    EXPECT_EQ(sent[3].hudNumber, HudNumber(9, 8));
    EXPECT_EQ(table.tableSize, 9);
}

TEST_F(HudLinkTest, CountProcessIdFindsTheClientStartsTheHudAndResetsIt)
{
    HudFile("hud/Pelmora.exe");
    m_processes.processes = {{650, {L"wineserver"}, 1000},
                             {700, {L"PokerStars.", L"wine64-preloader", L"PokerStars.exe"}, 1000},
                             {710, {L"PokerStars.exe"}, 1000}};
    ASSERT_TRUE(m_link->CountProcessID());
    EXPECT_EQ(m_rooms.Room(kRoomPokerStars).clientProcessId, 700);
    EXPECT_EQ(m_rooms.Room(kRoomPokerStars).clientElevation, 1);
    ASSERT_EQ(m_raw.size(), 1u);
    EXPECT_EQ(m_raw[0], L"CountProcessID: Pelmora.exe = 0\n");
    ASSERT_EQ(m_launcher.launches.size(), 1u);
    EXPECT_EQ(m_launcher.launches[0].path, m_dir.File("hud/Pelmora.exe"));
    EXPECT_EQ(m_launcher.launches[0].workingFolder, m_dir.File("hud/"));
    const std::wstring path = W(m_dir.File("hud/Pelmora.exe"));
    EXPECT_TRUE(Logged(L"Try ShellExecute: " + path));
    EXPECT_TRUE(Logged(L"ShellExecute: " + path));
    EXPECT_TRUE(m_link->HudKnown());
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0].command, HudCommand::Reset);
}

TEST_F(HudLinkTest, ARunningHudProgramIsNotStartedAgain)
{
    HudFile("hud/Pelmora.exe");
    m_admin = true;
    m_processes.processes = {{800, {L"pelmora"}, 0}};
    m_channel.endpoints.insert(L"Pelmora");
    ASSERT_TRUE(m_link->CountProcessID());
    EXPECT_TRUE(m_launcher.launches.empty());
    EXPECT_EQ(m_raw[0], L"CountProcessID: Pelmora.exe = 1\n");
    EXPECT_TRUE(m_link->AdminFlag());
}

TEST_F(HudLinkTest, AHudProgramServingAnotherSessionDoesNotKeepOursFromStarting)
{
    // Another user's (or desktop session's) pelmora runs, but nothing serves
    // this session's endpoint: without our own the player sees no boxes.
    HudFile("hud/Pelmora.exe");
    m_processes.processes = {{700, {L"PokerStars.exe"}, 1000}, {800, {L"pelmora"}, 1001}};
    ASSERT_TRUE(m_link->CountProcessID());
    ASSERT_EQ(m_launcher.launches.size(), 1u);
    EXPECT_EQ(m_launcher.launches[0].path, m_dir.File("hud/Pelmora.exe"));
    EXPECT_TRUE(m_link->HudKnown());
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0].command, HudCommand::Reset);
}

TEST_F(HudLinkTest, AnElevatedClientNeedsAnElevatedHudProgram)
{
    HudFile("hud/Pelmora.exe");
    m_admin = true;
    m_processes.processes = {{700, {L"PokerStars.exe"}, 0}, {800, {L"pelmora"}, 1000}};
    m_channel.endpoints.insert(L"Pelmora");
    EXPECT_FALSE(m_link->CountProcessID());
    EXPECT_EQ(m_rooms.Room(kRoomPokerStars).clientElevation, 2);
    EXPECT_EQ(m_log.notices,
              std::vector<std::wstring>{L"Please start Pelmora.exe as Administrator!"});
    EXPECT_TRUE(m_channel.sent.empty());
}

TEST_F(HudLinkTest, TheProgramBuiltBesideOurExecutablesIsStartedWhenTheFolderLacksIt)
{
    HudFile("bin/pelmora");
    m_admin = true;
    ASSERT_TRUE(m_link->StartHudProgram());
    ASSERT_EQ(m_launcher.launches.size(), 1u);
    EXPECT_EQ(m_launcher.launches[0].path, m_dir.File("bin/pelmora"));
    EXPECT_TRUE(Logged(L"Try ShellExecute: " + W(m_dir.File("hud/Pelmora.exe"))));
    EXPECT_TRUE(Logged(L"ShellExecute: " + W(m_dir.File("bin/pelmora")) + L" as admin"));
}

TEST_F(HudLinkTest, WithoutAnyHudProgramShowsAreDroppedWithTheirLogLines)
{
    EXPECT_FALSE(m_link->StartHudProgram());
    EXPECT_FALSE(m_link->SendHud(0x77, 1000, 114, L"x"));
    EXPECT_TRUE(Logged(L"Pelmora not found by <FindWindow>!"));
    EXPECT_TRUE(Logged(L"Pelmora not found by <FindWindow> after ShellExecute!"));
    ASSERT_FALSE(m_raw.empty());
    EXPECT_EQ(m_raw.back(), L"CountProcessID before ShellExecute Pelmora: Pelmora.exe = 0\n");
    EXPECT_TRUE(m_launcher.launches.empty());
    EXPECT_TRUE(m_channel.sent.empty());
}

TEST_F(HudLinkTest, AHudProgramThatDoesNotComeUpIsNotStartedForEveryShow)
{
    HudFile("hud/Pelmora.exe");
    m_comesUp = false;
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_link->SendHud(0x77, 1000, 114, L"x"));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 200ms);
    EXPECT_FALSE(m_link->SendHud(0x77, 1000, 115, L"x"));
    EXPECT_EQ(m_launcher.launches.size(), 1u);
    // Once it is there, shows go to it.
    m_channel.endpoints.insert(L"Pelmora");
    EXPECT_TRUE(m_link->SendHud(0x77, 1000, 116, L"x"));
}

TEST_F(HudLinkTest, AShowWithoutTableWindowIsRefusedAndAnEndedHudIsLookedForAgain)
{
    m_channel.endpoints.insert(L"Pelmora");
    EXPECT_FALSE(m_link->SendHud(0, 1000, 114, L"x"));
    EXPECT_TRUE(Logged(L"Window = 0 for hud = 114 and command = 1\n"));
    EXPECT_TRUE(m_link->SendHud(5, 1000, 114, L"x"));
    m_channel.endpoints.clear();
    EXPECT_FALSE(m_link->SendHud(5, 1000, 114, L"x"));
    EXPECT_FALSE(m_link->HudKnown());
    m_channel.endpoints.insert(L"Pelmora");
    EXPECT_TRUE(m_link->SendHud(5, 1000, 114, L"x"));
}

class HudReportTest : public HudLinkTest
{
protected:
    std::array<uint8_t, kTableReportSize> Report(uint32_t window, uint8_t command, uint8_t room = 1)
    {
        return EncodeTableReport({window, command, room, 2});
    }
};

TEST_F(HudReportTest, ANewTableIsRecordedWithItsOnlyHandHistoryFile)
{
    const std::string title = "Table 12345678901234 - $0.10/$0.25 USD - Pot Limit Omaha";
    m_windows.windows.push_back({0x00ABCDEF, 700, L"PokerStars.exe", L"PokerStars.exe", W(title)});
    m_dir.Write("hh/HH20230827 Table 12345678901234 - $0.10-$0.25.txt", "line one\nline two\n");
    const auto report = Report(0x00ABCDEF, 6);
    EXPECT_EQ(m_link->HandlePacket(kTableReportTag, report), kTableReportTag);
    ASSERT_EQ(m_link->ReportedTables().count(0x00ABCDEF), 1u);
    const CReportedTable& table = m_link->ReportedTables().at(0x00ABCDEF);
    EXPECT_EQ(table.room, 1);
    EXPECT_EQ(table.seatCount, 0);
    EXPECT_EQ(table.file, W(m_dir.File("hh/HH20230827 Table 12345678901234 - $0.10-$0.25.txt")));
    EXPECT_EQ(table.readPosition, 18);
    EXPECT_TRUE(Logged(L"ReadDataDSH: command = 6 HWND = 0x00ABCDEF"));
    EXPECT_TRUE(Logged(L"rc = 56"));
    EXPECT_TRUE(Logged(L"ii = 56 str = <" + W(title) + L">"));
    EXPECT_TRUE(Logged(L"ReadDataDSH: command = 6 HWND = 0x00ABCDEF idRoom = 1 nType = 2"));

    // Known now: neither a second report nor a command 4 reads anything.
    m_log.logs.clear();
    m_link->ReadDataDSH(Report(0x00ABCDEF, 6));
    m_link->ReadDataDSH(Report(0x00ABCDEF, 4));
    EXPECT_EQ(m_log.logs.size(), 2u);
    EXPECT_TRUE(m_channel.sent.empty());
}

TEST_F(HudReportTest, ReportsOfAnotherFormAreIgnoredButAnswered)
{
    const std::vector<uint8_t> longer(24, 0);
    EXPECT_EQ(m_link->HandlePacket(kTableReportTag, longer), kTableReportTag);
    const auto report = Report(1, 6);
    EXPECT_EQ(m_link->HandlePacket(9, report), 9u);
    EXPECT_TRUE(m_log.logs.empty());
    // An unknown room number is logged and goes no further.
    m_link->ReadDataDSH(Report(2, 6, 200));
    EXPECT_TRUE(m_link->ReportedTables().empty());
}

TEST_F(HudReportTest, ATableWhoseFileIsNotFoundExactlyOnceIsTriedAgainLater)
{
    // A short title gives no table name; two files of the room fit then.
    m_windows.windows.push_back(
        {0x80000001, 700, L"PokerStars.exe", L"PokerStars.exe", L"Halley - $1/$2"});
    m_dir.Write("hh/HH20230827 Halley - $1-$2.txt", "a\n");
    m_dir.Write("hh/HH20230827 Vega - $1-$2.txt", "b\n");
    m_link->ReadDataDSH(Report(0x80000001, 6));
    EXPECT_TRUE(m_link->ReportedTables().empty());
    EXPECT_TRUE(Logged(L"rc = 14"));
    std::filesystem::remove(m_dir.File("hh/HH20230827 Vega - $1-$2.txt"));
    m_link->ReadDataDSH(Report(0x80000001, 6));
    // The 32-bit handle is extended with its sign.
    EXPECT_EQ(m_link->ReportedTables().count(0xFFFFFFFF80000001ull), 1u);
}

}  // namespace
