#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/DatabaseAdmin.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/tests/ParserTestEnvironment.h"
#include "testing/CTempDir.h"
#include "testing/PgTestServer.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kroHandParser;

class ImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        m_name = vxtest::UniqueDatabaseName("vximport");
        m_connect = m_server.ConnectString(m_name);
        ASSERT_TRUE(kroDB::CreateDatabase(*m_t.db, m_connect));
        m_t.db->SetConnectStrings(m_connect);
    }

    void TearDown() override
    {
        if (!m_name.empty() && m_t.db) {
            kroDB::CDbContext admin(m_t.definitions, m_t.sink, m_t.sink);
            (void)admin.AllocateEnvironment();
            m_t.db.reset();
            (void)kroDB::DropDatabase(admin, m_connect);
        }
    }

    int Import(const std::string& path, const std::wstring& room = L"PokerStars")
    {
        CHandHistoryImporter importer(*m_t.env);
        int64_t fileId = 0;
        int currency = -1;
        int64_t position = 0;
        return importer.ImportHandHistoryFile(path, fileId, currency, position, room, 0);
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

    // Row counts of every table that a hand writes.
    std::wstring Shape()
    {
        return Scalar(
            L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM "
            L"handhistory) || '/' || (SELECT count(*) FROM handsplayers) || '/' || "
            L"(SELECT count(*) FROM handsactions) || '/' || (SELECT count(*) FROM pots) "
            L"|| '/' || (SELECT count(*) FROM players) || '/' || (SELECT count(*) FROM "
            L"gametypes) || '/' || (SELECT count(*) FROM runittwice) || '/' || (SELECT "
            L"count(*) FROM files)");
    }

    static std::string CorpusFile(const std::string& name)
    {
        return vxtest::CorpusDir() + "/" + name;
    }

    static std::string ReadBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    vxtest::CParserTestEnvironment m_t;
    vxtest::CPgTestServer m_server;
    vxtest::CTempDir m_dir;
    std::string m_name;
    std::wstring m_connect;
};

TEST_F(ImportTest, EveryHandOnceAndASecondImportAddsNoRow)
{
    VX_REQUIRE_CORPUS();
    const std::string file = CorpusFile("pokerstars/NLHE-FR-USD-0.01-0.02-201005.microgrind.txt");
    EXPECT_EQ(Import(file), 96);
    EXPECT_EQ(m_t.env->counts.stored, 96);
    const std::wstring shape = Shape();
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"96");
    EXPECT_EQ(Import(file), 96);
    EXPECT_EQ(m_t.env->counts.alreadyStored, 96);
    EXPECT_EQ(Shape(), shape);
}

TEST_F(ImportTest, TheSameHandFromAnotherFileIsNotStoredAgain)
{
    VX_REQUIRE_CORPUS();
    EXPECT_EQ(Import(CorpusFile("pokerstars/PokerStudier_HH6.txt")), 200);
    const std::wstring hands = Scalar(L"SELECT count(*) FROM hands");
    m_t.env->counts = {};
    EXPECT_EQ(Import(CorpusFile("pokerstars/PokerStudier_allHands.txt")), 3061);
    EXPECT_EQ(m_t.env->counts.alreadyStored, 199);
    EXPECT_EQ(std::stoi(Scalar(L"SELECT count(*) FROM hands")), 200 + 3061 - 199);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM (SELECT sitehandnumber FROM hands GROUP BY "
                     L"sitehandnumber HAVING count(*) > 1) d"),
              L"0");
}

TEST_F(ImportTest, ExtensionsAreExactAndUnknownOnesImportNothing)
{
    VX_REQUIRE_CORPUS();
    const std::string bytes = ReadBytes(CorpusFile("pokerstars/hhsmithy-SidePot.txt"));
    EXPECT_EQ(Import(m_dir.Write("HAND.TXT", bytes)), 0);
    EXPECT_EQ(Import(m_dir.Write("folder.txt/hands", bytes)), 0);
    EXPECT_EQ(Import(m_dir.Write("hands.xml", bytes)), 0);
    EXPECT_EQ(Import(m_dir.Write("hands.txt", bytes)), 1);
}

TEST_F(ImportTest, GGPokerFileWithAZeroByteIsNotRead)
{
    VX_REQUIRE_CORPUS();
    std::string bytes = ReadBytes(
        CorpusFile("ggpoker/GG20250829-0702 - RushAndCash9515431 - 0.01 - 0.02 - 6max.txt"));
    bytes.insert(bytes.size() / 2, 1, '\0');
    EXPECT_EQ(Import(m_dir.Write("gg.txt", bytes), L"GGPoker"), 0);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM files"), L"0");
}

TEST_F(ImportTest, TournamentFilesAndTournamentHandsStayOut)
{
    VX_REQUIRE_CORPUS();
    const std::string tournament =
        ReadBytes(CorpusFile("tournament-negative/NLHE-9max-MTT-USD-3-201407.Zoom.txt"));
    EXPECT_EQ(Import(m_dir.Write("t.txt", tournament)), 0);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM files"), L"0");
    // A client export mixes both kinds: only the cash hand is stored.
    const std::string cash = ReadBytes(CorpusFile("pokerstars/hhsmithy-SidePot.txt"));
    const std::string mixed = cash + "\n\n" + tournament + "\n\n";
    Import(m_dir.Write("mixed.txt", mixed));
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"1");
    EXPECT_GT(m_t.env->counts.skipped, 0);
}

TEST_F(ImportTest, HomeGameHandsImport)
{
    VX_REQUIRE_CORPUS();
    EXPECT_EQ(Import(CorpusFile("pokerstars/NLHE-9max-play-1-2-201201.Home.Game.txt")), 1);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands WHERE utc > 0"), L"1");
}

TEST_F(ImportTest, HeaderWithAnImpossibleDateIsSkippedAndTheRestImported)
{
    VX_REQUIRE_CORPUS();
    std::string bytes = ReadBytes(CorpusFile("pokerstars/PokerStudier_HH6.txt"));
    const size_t at = bytes.find("2019/");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 7, "2019/13");
    Import(m_dir.Write("bad.txt", bytes));
    EXPECT_EQ(m_t.env->counts.rejected, 1);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"199");
    bool logged = false;
    for (const auto& line : m_t.sink.logs) {
        logged = logged || line.find(L"invalid date") != std::wstring::npos;
    }
    EXPECT_TRUE(logged);
}

TEST_F(ImportTest, TruncatedAndRandomFilesDoNotCrashOrHalfStore)
{
    VX_REQUIRE_CORPUS();
    const std::string bytes =
        ReadBytes(CorpusFile("pokerstars/NLHE-6max-USD-0.05-0.10-200911.txt"));
    Import(m_dir.Write("cut.txt", bytes.substr(0, bytes.size() / 3)));
    // Every stored hand is complete: it has its text and its players.
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands h WHERE NOT EXISTS (SELECT 1 FROM handhistory "
                     L"x WHERE x.id = h.id)"),
              L"0");
    std::string noise;
    for (int i = 0; i < 200000; ++i) {
        noise += static_cast<char>((i * 7919 + i / 13) & 0xFF);
    }
    EXPECT_EQ(Import(m_dir.Write("noise.txt", noise)), 0);
    EXPECT_EQ(Import(m_dir.Write("long.txt", std::string(10 * 1024 * 1024, 'x'))), 0);
}

// Real files damaged line by line (dropped, cut, doubled, a byte or the digits
// changed) with a fixed seed: every hand is stored whole or not at all, and a
// second import of the same damaged files adds nothing.
TEST_F(ImportTest, DamagedRealFilesStoreWholeHandsOnlyAndNeverTwice)
{
    VX_REQUIRE_CORPUS();
    uint32_t seed = 20231017;
    const auto next = [&seed](uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    const std::pair<const char*, const wchar_t*> sources[] = {
        {"pokerstars/NLHE-FR-USD-0.01-0.02-201005.microgrind.txt", L"PokerStars"},
        {"ggpoker/GG20250808-2306 - RushAndCash10604582 - 0.02 - 0.05 - 6max.txt", L"GGPoker"},
        {"club/5-Card-PLO-6max-USD-15-30-201905.PokerMaster.txt", L"PokerMaster HM3"}};
    std::vector<std::pair<std::string, std::wstring>> files;
    for (const auto& [name, room] : sources) {
        std::istringstream in(ReadBytes(CorpusFile(name)));
        std::string damaged;
        std::string previous;
        for (std::string line; std::getline(in, line);) {
            const uint32_t roll = next(100);
            if (roll < 3) {
                continue;
            }
            if (roll < 6) {
                line.resize(next(static_cast<uint32_t>(line.size()) + 1));
            } else if (roll < 8 && !line.empty()) {
                line[next(static_cast<uint32_t>(line.size()))] = static_cast<char>(next(256));
            } else if (roll < 9) {
                damaged += previous + "\n";
            } else if (roll < 10) {
                for (char& c : line) {
                    if (c >= '0' && c <= '9') {
                        c = static_cast<char>('0' + next(10));
                    }
                }
            }
            damaged += line + "\n";
            previous = line;
        }
        files.emplace_back(m_dir.Write("damaged" + std::to_string(files.size()) + ".txt", damaged),
                           room);
    }
    for (const auto& [file, room] : files) {
        Import(file, room);
    }
    const auto& counts = m_t.env->counts;
    EXPECT_GT(counts.stored, 100);
    EXPECT_GT(counts.rejected, 0);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands h WHERE NOT EXISTS (SELECT 1 FROM handhistory "
                     L"x WHERE x.id = h.id) OR NOT EXISTS (SELECT 1 FROM handsactions a WHERE "
                     L"a.idhand = h.id)"),
              L"0");
    const std::wstring shape = Shape();
    const int64_t stored = counts.stored;
    for (const auto& [file, room] : files) {
        Import(file, room);
    }
    EXPECT_EQ(m_t.env->counts.stored, stored);
    EXPECT_EQ(Shape(), shape);
}

TEST_F(ImportTest, AHandHistoryDatabaseThatIsNoDatabaseIsReported)
{
    EXPECT_EQ(Import(m_dir.Write("hands.dat", std::string(4096, '\x5a')), L"PokerStars"), 0);
    ASSERT_FALSE(m_t.sink.notices.empty());
    EXPECT_EQ(m_t.sink.notices.back().rfind(L"Failed to", 0), 0u);
}

TEST_F(ImportTest, ThirtiethOfFebruaryIsAcceptedAndNormalised)
{
    VX_REQUIRE_CORPUS();
    std::string bytes = ReadBytes(CorpusFile("pokerstars/hhsmithy-SidePot.txt"));
    const size_t at = bytes.find(" - 20");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at + 3, 10, "2021/02/30");
    EXPECT_EQ(Import(m_dir.Write("feb.txt", bytes)), 1);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"1");
}

TEST_F(ImportTest, EveryRoomsHandsCarryTheirRoomSoTheDatabaseKeepsThemOnce)
{
    VX_REQUIRE_CORPUS();
    const std::vector<std::pair<std::string, std::wstring>> files = {
        {"pokerstars/NLHE-6max-USD-0.05-0.10-200911.txt", L"PokerStars"},
        {"ggpoker/PLO-6max-USD-0.5-1.00-202006.txt", L"GGPoker"},
        {"888/888-NLH-USD-0.01-0.02.txt", L"888Poker"},
        {"pkng/NLHE-6max-USD-0.02-0.05-201608.HH00000000 G0.txt", L"PokerKing Asia"},
        {"club/5-Card-PLO-6max-USD-15-30-201905.PokerMaster.txt", L"PokerMaster HM3"}};
    for (const auto& [file, room] : files) {
        SCOPED_TRACE(file);
        m_t.env->counts = {};
        EXPECT_GT(Import(CorpusFile(file), room), 0);
        EXPECT_GT(m_t.env->counts.stored, 0);
    }
    // The room is known for every hand, so the unique key holds for all.
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands WHERE idsite IS NULL"), L"0");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands h JOIN gametypes g ON g.id = h.idgametype "
                     L"WHERE g.idsite <> h.idsite"),
              L"0");
}
