#include "parser/datsource/ImportHandHistoryDatabase.h"

#include "db/sqlite/CSQLiteDatabase.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <random>

namespace {

class CRecordingNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring& text) override { messages.push_back(text); }
    std::vector<std::wstring> messages;
};

class CRecordingLog : public CNullLogSink
{
public:
    void Log(const std::wstring& text) override { lines.push_back(text); }
    std::vector<std::wstring> lines;
};

const wchar_t kGame[] = L"<Game id=\"1\">\nSeat 1: Игрок\nSeat 2: O'Neil\n</Game>";

std::wstring Escaped(const std::wstring& text)
{
    std::wstring out = ReplaceAll(text, L"&", L"&amp;");
    out = ReplaceAll(out, L"<", L"&lt;");
    return ReplaceAll(out, L">", L"&gt;");
}

std::wstring DumpWithGame(const std::wstring& game)
{
    return L"<HandHistory><Info site=\"x\"/><Gameplay>" + Escaped(game) +
           L"</Gameplay></HandHistory>";
}

class ImportHandHistoryDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const char* tz = std::getenv("TZ")) {
            m_savedTz = tz;
        }
        SetZone("UTC");
        m_path = FromUtf8(m_dir.File("hands.dat"));
        std::wstring err;
        ASSERT_EQ(m_db.Open(m_path, err), 1);
        // Lower-case names: the columns are looked up without regard to case.
        ASSERT_EQ(m_db.Execute(L"CREATE TABLE HandHistory(handid TEXT, handdate TEXT, "
                               L"tablename TEXT, gametype TEXT, tabletype TEXT, xmldump TEXT)",
                               err),
                  1);
    }

    void TearDown() override
    {
        if (m_savedTz) {
            setenv("TZ", m_savedTz->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    static void SetZone(const char* zone)
    {
        setenv("TZ", zone, 1);
        tzset();
    }

    void AddRow(const std::wstring& id, const std::wstring& date, const std::wstring& dump)
    {
        std::unique_ptr<kroDB::CAbstractRecordset> insert;
        std::wstring err;
        ASSERT_EQ(m_db.Query(L"INSERT INTO HandHistory VALUES (?, ?, 'Table ''A''', "
                             L"'Holdem', 'Ring', ?)",
                             err, insert),
                  1);
        ASSERT_EQ(m_db.BindText(*insert, 0, id, err), 1);
        ASSERT_EQ(m_db.BindText(*insert, 1, date, err), 1);
        ASSERT_EQ(m_db.BindText(*insert, 2, dump, err), 1);
        ASSERT_EQ(insert->MoveNext(), 0);
        ASSERT_EQ(insert->LastError(), L"");
    }

    int Import()
    {
        std::wstring err;
        m_db.Close(err);
        CHandHistoryDatabaseOptions options;
        options.log = &m_log;
        options.onRow = [this](const CHandHistoryDatabaseRow& row) { m_rows.push_back(row); };
        return ImportHandHistoryDatabase(m_path, m_notifier, options);
    }

    std::optional<std::string> m_savedTz;
    vxtest::CTempDir m_dir;
    std::wstring m_path;
    kroDB::CSQLiteDatabase m_db;
    CRecordingNotifier m_notifier;
    CRecordingLog m_log;
    std::vector<CHandHistoryDatabaseRow> m_rows;
};

TEST_F(ImportHandHistoryDatabaseTest, ReadsEachRowWithItsDatesAndLines)
{
    AddRow(L"9223372036854775807", L"20240131123045", DumpWithGame(kGame));
    AddRow(L"-5", L"20240131123045",
           L"<Gameplay><![CDATA[" + std::wstring(kGame) + L"]]></Gameplay>");
    EXPECT_EQ(Import(), 2);
    EXPECT_TRUE(m_notifier.messages.empty());
    ASSERT_EQ(m_rows.size(), 2u);
    const CHandHistoryDatabaseRow& row = m_rows[0];
    EXPECT_EQ(row.handId, INT64_MAX);
    EXPECT_EQ(row.handTime, 1706704245);
    EXPECT_EQ(row.shiftedDateText, L"31.01.2024  07:30:45");
    EXPECT_EQ(row.offsetDateText, L"31.01.2024  12:30:45");
    EXPECT_EQ(row.tableName, L"Table 'A'");
    EXPECT_EQ(row.gameType, L"Holdem");
    EXPECT_EQ(row.tableType, L"Ring");
    const std::vector<std::wstring> lines = {L"<Game id=\"1\">", L"Seat 1: Игрок",
                                             L"Seat 2: O'Neil", L"</Game>"};
    EXPECT_EQ(row.lines, lines);
    EXPECT_EQ(m_rows[1].handId, -5);
    EXPECT_EQ(m_rows[1].lines, lines);
}

TEST_F(ImportHandHistoryDatabaseTest, DatesAreReadInTheLocalZone)
{
    SetZone("XYZ-3");  // three hours east of UTC, no summer time
    AddRow(L"1", L"20240131123045", DumpWithGame(kGame));
    EXPECT_EQ(Import(), 1);
    ASSERT_EQ(m_rows.size(), 1u);
    EXPECT_EQ(m_rows[0].handTime, 1706704245 - 3 * 3600);
    EXPECT_EQ(m_rows[0].shiftedDateText, L"31.01.2024  07:30:45");
    EXPECT_EQ(m_rows[0].offsetDateText, L"31.01.2024  09:30:45");
}

TEST_F(ImportHandHistoryDatabaseTest, BadRowsAreLeftOutAndTheRestIsRead)
{
    AddRow(L"1", L"20240131123045", DumpWithGame(kGame));
    AddRow(L"2", L"20241331123045", DumpWithGame(kGame));
    AddRow(L"3", L"20230230100000", DumpWithGame(kGame));
    AddRow(L"4", L"2024", DumpWithGame(kGame));
    AddRow(L"5", L"20240131123045", L"<HandHistory><Gameplay>x</HandHistory>");
    AddRow(L"6", L"20240131123045", L"<HandHistory><Summary/></HandHistory>");
    AddRow(L"7", L"20240131123045", L"");
    AddRow(L"8", L"20240131123045", DumpWithGame(L"<Game>unclosed"));
    AddRow(L"9", L"20240131123045", DumpWithGame(kGame));
    EXPECT_EQ(Import(), 5);
    EXPECT_TRUE(m_notifier.messages.empty());
    ASSERT_EQ(m_rows.size(), 5u);
    EXPECT_EQ(m_rows[0].handId, 1);
    // 30 February is taken as the C library normalises it.
    EXPECT_EQ(m_rows[1].handId, 3);
    EXPECT_EQ(m_rows[1].offsetDateText, L"02.03.2023  10:00:00");
    // Without a Gameplay element the row still counts.
    EXPECT_EQ(m_rows[2].handId, 6);
    EXPECT_TRUE(m_rows[2].lines.empty());
    // A game text that is not well formed is still the row's text.
    EXPECT_EQ(m_rows[3].handId, 8);
    EXPECT_EQ(m_rows[3].lines, std::vector<std::wstring>{L"<Game>unclosed"});
    EXPECT_EQ(m_rows[4].handId, 9);

    ASSERT_EQ(m_log.lines.size(), 5u);
    EXPECT_NE(m_log.lines[0].find(L"hand 2 left out, HandDate \"20241331123045\""),
              std::wstring::npos);
    EXPECT_NE(m_log.lines[2].find(L"hand 5 left out, XMLDump is not well formed: "
                                  L"Gameplay must be closed with </Gameplay>"),
              std::wstring::npos);
}

TEST_F(ImportHandHistoryDatabaseTest, AnEmptyTableGivesZeroSilently)
{
    EXPECT_EQ(Import(), 0);
    EXPECT_TRUE(m_notifier.messages.empty());
}

TEST_F(ImportHandHistoryDatabaseTest, FilesThatCannotBeReadAreReported)
{
    CRecordingNotifier notifier;
    const std::string missing = m_dir.File("missing.dat");
    EXPECT_EQ(ImportHandHistoryDatabase(FromUtf8(missing), notifier), 0);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(ImportHandHistoryDatabase(FromUtf8(m_dir.Path()), notifier), 0);

    std::wstring err;
    ASSERT_EQ(m_db.Execute(L"DROP TABLE HandHistory", err), 1);
    EXPECT_EQ(Import(), 0);

    std::mt19937 random(11);
    std::string bytes(8192, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    const std::string junk = m_dir.Write("junk.dat", bytes);
    EXPECT_EQ(ImportHandHistoryDatabase(FromUtf8(junk), notifier), 0);

    const std::vector<std::wstring> expected = {
        L"Failed to connect to the database: Failed to open database",
        L"Failed to connect to the database: Failed to open database",
        L"Failed to query the database: file is not a database"};
    EXPECT_EQ(notifier.messages, expected);
    EXPECT_EQ(
        m_notifier.messages,
        std::vector<std::wstring>{L"Failed to query the database: no such table: HandHistory"});
}

TEST_F(ImportHandHistoryDatabaseTest, HostileContentNeitherCrashesNorStopsTheFile)
{
    std::wstring deep;
    for (int i = 0; i < 100000; ++i) {
        deep += L"<a>";
    }
    std::wstring hugeGame(10000000, L'y');
    for (size_t i = 99; i < hugeGame.size(); i += 100) {
        hugeGame[i] = L'\n';
    }
    AddRow(L"1", L"20240131123045", deep);
    AddRow(L"2", L"20240131123045", DumpWithGame(hugeGame));
    AddRow(L"3", L"20240131123045",
           L"<HandHistory><Gameplay>" + deep + L"</Gameplay></HandHistory>");
    EXPECT_EQ(Import(), 1);
    ASSERT_EQ(m_rows.size(), 1u);
    EXPECT_EQ(m_rows[0].lines.size(), hugeGame.size() / 100);
}

TEST_F(ImportHandHistoryDatabaseTest, AReadErrorAfterSomeRowsIsShownAndTheyCount)
{
    for (int i = 1; i <= 4; ++i) {
        AddRow(std::to_wstring(i), L"20240131123045", DumpWithGame(kGame));
    }
    // A view whose third row fails while it is read, as a damaged page would.
    std::wstring err;
    ASSERT_EQ(m_db.Execute(L"ALTER TABLE HandHistory RENAME TO Stored;"
                           L"CREATE VIEW HandHistory AS SELECT *, CASE WHEN handid = '3' "
                           L"THEN abs(-9223372036854775807 - 1) END AS boom FROM Stored",
                           err),
              1)
        << ToUtf8(err);
    EXPECT_EQ(Import(), 2);
    EXPECT_EQ(m_notifier.messages,
              std::vector<std::wstring>{L"Failed to query the database: integer overflow"});
}

TEST_F(ImportHandHistoryDatabaseTest, ATruncatedFileReadsWhatItCanAndSaysSo)
{
    std::wstring err;
    ASSERT_EQ(m_db.BeginTransaction(err), 1);
    for (int i = 0; i < 300; ++i) {
        AddRow(std::to_wstring(i), L"20240131123045",
               DumpWithGame(std::wstring(kGame) + std::wstring(500, L'z')));
    }
    ASSERT_EQ(m_db.Commit(err), 1);
    m_db.Close(err);
    const std::string path = ToUtf8(m_path);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    const int read = Import();
    EXPECT_LT(read, 300);
    ASSERT_EQ(m_notifier.messages.size(), 1u);
    EXPECT_EQ(m_notifier.messages[0].rfind(L"Failed to query the database: ", 0), 0u);
}

}  // namespace
