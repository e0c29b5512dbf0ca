// Each hand is one unit: driven through a connection without a server that
// fails a chosen statement, every failure leaves nothing of its hand, and only
// of its hand.
#include "db/fakes/CFakeConnection.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/tests/ParserTestEnvironment.h"
#include "testing/TestPaths.h"

#include <boost/regex.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

using kroDB::CFakeConnection;

namespace {

// The statements of the hands a file gave, with every number taken out: the
// ids of a run depend on what failed before.
using Shapes = std::vector<std::vector<std::wstring>>;

std::wstring Shape(const std::wstring& sql)
{
    std::wstring out;
    for (wchar_t c : sql) {
        if (c < L'0' || c > L'9') {
            out += c;
        } else if (out.empty() || out.back() != L'#') {
            out += L'#';
        }
    }
    return out;
}

bool WritesAHand(const std::wstring& sql)
{
    for (const wchar_t* table :
         {L"into hands", L"update hands ", L"into handhistory", L"into handsactions", L"into pots",
          L"into handsplayers", L"update handsplayers", L"into runittwice", L"update runittwice"}) {
        if (sql.find(table) != std::wstring::npos) {
            return true;
        }
    }
    return false;
}

class HandUnitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::ifstream in(vxtest::TestDataDir() + "/storage/overlap_table.txt", std::ios::binary);
        ASSERT_TRUE(in) << "testdata/storage/overlap_table.txt";
        std::string line;
        int hands = 0;
        while (std::getline(in, line) && hands <= 4) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (line.rfind("PokerStars Hand #", 0) == 0) {
                ++hands;
            }
            if (hands <= 4) {
                m_lines.emplace_back(line.begin(), line.end());
            }
        }
        ASSERT_EQ(hands, 5);
    }

    // The rows a database would give: the actions and the room, nothing else.
    static void Answer(vxtest::CParserTestEnvironment& t, CFakeConnection& fake)
    {
        fake.SetResponder([&t](const std::wstring& sql) {
            CFakeConnection::CRows rows;
            if (sql.rfind(L"SELECT * FROM actions", 0) == 0) {
                rows.names = {L"id", L"name", L"code"};
                for (const auto& e : t.actions.Entries()) {
                    rows.rows.push_back({std::to_wstring(e.id), e.name, e.code});
                }
            } else if (sql.rfind(L"select * from sites where name=", 0) == 0) {
                rows.names = {L"id", L"name", L"code"};
                rows.rows.push_back({L"1", L"POKERSTARS", L"PS"});
            }
            return rows;
        });
    }

    // Imports the four hands through `fake`; the import's counts.
    kroHandParser::CImportCounts Import(CFakeConnection& fake)
    {
        vxtest::CParserTestEnvironment t;
        m_notices = &t.sink.notices;
        Answer(t, fake);
        t.db->AttachConnection(&fake);
        kroHandParser::CHandHistoryImporter importer(*t.env);
        int64_t fileId = 0;
        int currency = -1;
        (void)importer.ImportLines("/hh/HH20210304 Alnair II.txt", m_lines, fileId, currency,
                                   L"PokerStars", 0);
        t.db->AttachConnection(nullptr);
        m_lost = t.env->databaseLost;
        m_fileFailed = t.env->fileFailed;
        m_shownNotices = t.sink.notices.size();
        return t.env->counts;
    }

    // For each committed unit: the room's number of its hand, and the hand's
    // own rows (hand, text, actions, pots, players of the hand) without
    // numbers. Player and game-type rows go with whichever hand first needs
    // them, so they are left out here.
    static Shapes UnitShapes(const CFakeConnection& fake)
    {
        static const boost::wregex kHandRow(LR"(insert into hands .*values\(\d+,-?\d+,(\d+),.*)");
        Shapes shapes;
        for (const auto& unit : fake.CommittedUnits()) {
            std::vector<std::wstring> shape = {L""};
            for (const auto& sql : unit) {
                boost::wsmatch m;
                if (boost::regex_match(sql, m, kHandRow)) {
                    shape[0] = m[1].str();
                }
                if (WritesAHand(sql)) {
                    shape.push_back(Shape(sql));
                }
            }
            shapes.push_back(shape);
        }
        return shapes;
    }

    // What took effect outside units writes nothing of a hand.
    static void ExpectNoHandRowOutsideUnits(const CFakeConnection& fake)
    {
        size_t inUnits = 0;
        for (const auto& unit : fake.CommittedUnits()) {
            inUnits += unit.size();
        }
        std::vector<std::wstring> outside = fake.Committed();
        for (const auto& unit : fake.CommittedUnits()) {
            for (const auto& sql : unit) {
                const auto it = std::find(outside.begin(), outside.end(), sql);
                if (it != outside.end()) {
                    outside.erase(it);
                }
            }
        }
        EXPECT_EQ(outside.size() + inUnits, fake.Committed().size());
        for (const auto& sql : outside) {
            EXPECT_FALSE(WritesAHand(sql)) << std::string(sql.begin(), sql.end());
        }
    }

    std::vector<std::wstring> m_lines;
    std::vector<std::wstring>* m_notices = nullptr;
    bool m_lost = false;
    bool m_fileFailed = false;
    size_t m_shownNotices = 0;
};

}  // namespace

TEST_F(HandUnitTest, EachHandIsOneUnitWithEveryRowOfIt)
{
    CFakeConnection fake;
    const auto counts = Import(fake);
    EXPECT_EQ(counts.stored, 4);
    ASSERT_EQ(fake.CommittedUnits().size(), 4u);
    for (const auto& unit : fake.CommittedUnits()) {
        EXPECT_EQ(std::count_if(
                      unit.begin(), unit.end(),
                      [](const std::wstring& s) { return s.rfind(L"insert into hands ", 0) == 0; }),
                  1);
        // Held as rows or written as one statement, the actions are in it.
        EXPECT_TRUE(std::any_of(unit.begin(), unit.end(), [](const std::wstring& s) {
            return s.rfind(L"INSERT INTO handsactions", 0) == 0 ||
                   s.rfind(L"insert into handsactions ", 0) == 0;
        }));
    }
    ExpectNoHandRowOutsideUnits(fake);
}

TEST_F(HandUnitTest, AFailedStatementLeavesNothingOfItsHandAndAllOfTheOthers)
{
    CFakeConnection clean;
    (void)Import(clean);
    const Shapes all = UnitShapes(clean);
    ASSERT_EQ(all.size(), 4u);
    const uint64_t statements = clean.Count();
    ASSERT_GT(statements, 40u);

    for (uint64_t n = 1; n <= statements; ++n) {
        SCOPED_TRACE("statement " + std::to_string(n));
        CFakeConnection fake;
        fake.FailStatement(n, CStatus::DatabaseError(L"value out of range"));
        const auto counts = Import(fake);
        const Shapes kept = UnitShapes(fake);
        ExpectNoHandRowOutsideUnits(fake);
        EXPECT_FALSE(m_lost);
        if (kept.empty() && counts.Handled() == 0) {
            // The file's row could not be read or written: no hand was read,
            // and the import says so.
            EXPECT_TRUE(m_fileFailed);
            continue;
        }
        EXPECT_FALSE(m_fileFailed);
        if (kept.size() == all.size()) {
            // The failure lay outside every hand (the file's row): no hand lost.
            EXPECT_EQ(counts.stored, 4);
            EXPECT_EQ(kept, all);
            continue;
        }
        // Exactly one hand is gone, whole; the others are there, whole.
        ASSERT_EQ(kept.size(), all.size() - 1);
        EXPECT_EQ(counts.stored, 3);
        EXPECT_EQ(counts.rejected, 1);
        for (const auto& hand : kept) {
            EXPECT_NE(std::find(all.begin(), all.end(), hand), all.end())
                << "hand " << std::string(hand[0].begin(), hand[0].end()) << " is not stored whole";
        }
    }
}

TEST_F(HandUnitTest, AConflictWithAnotherWriterIsTriedAgainWithoutAMessage)
{
    CFakeConnection clean;
    (void)Import(clean);
    const Shapes all = UnitShapes(clean);
    // A statement in the middle of the second hand.
    const uint64_t n = clean.Count() / 2;
    CFakeConnection fake;
    fake.FailStatement(n, CStatus::Error(CStatus::Code::Conflict,
                                         L"duplicate key value violates unique constraint"));
    const auto counts = Import(fake);
    EXPECT_EQ(counts.stored, 4);
    EXPECT_EQ(counts.rejected, 0);
    EXPECT_EQ(m_shownNotices, 0u);
    EXPECT_EQ(UnitShapes(fake), all);
}

TEST_F(HandUnitTest, AServerThatGoesAwayStopsTheImportWithNothingHalfStored)
{
    CFakeConnection clean;
    (void)Import(clean);
    const Shapes all = UnitShapes(clean);
    const uint64_t n = clean.Count() / 2;
    CFakeConnection fake;
    fake.FailStatement(n, CStatus::Error(CStatus::Code::Unavailable, L"connection lost"));
    const auto counts = Import(fake);
    EXPECT_TRUE(m_lost);
    EXPECT_EQ(counts.rejected, 0);
    EXPECT_EQ(counts.stored + counts.unreached, 4);
    EXPECT_GT(counts.unreached, 0);
    const Shapes kept = UnitShapes(fake);
    ASSERT_EQ(kept.size(), static_cast<size_t>(counts.stored));
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), all.begin()));
    ExpectNoHandRowOutsideUnits(fake);
    // Nothing was sent after the failure.
    EXPECT_EQ(fake.Count(), n);
}

TEST_F(HandUnitTest, AHandWhoseCommitWasCutOffCountsAsStoredWhenItIsFoundLater)
{
    vxtest::CParserTestEnvironment t;
    std::set<int64_t> own;
    t.env->ownHands = &own;
    CFakeConnection fake;
    fake.FailNextCommit(CStatus::Error(CStatus::Code::Unavailable, L"server closed"));
    Answer(t, fake);
    t.db->AttachConnection(&fake);
    kroHandParser::CHandHistoryImporter importer(*t.env);
    int64_t fileId = 0;
    int currency = -1;
    (void)importer.ImportLines("/hh/x.txt", m_lines, fileId, currency, L"PokerStars", 0);
    t.db->AttachConnection(nullptr);
    // The first hand's commit went out and no answer came: it may be stored.
    EXPECT_TRUE(t.env->databaseLost);
    EXPECT_EQ(t.env->counts.stored, 0);
    EXPECT_EQ(t.env->counts.unreached, 4);
    EXPECT_EQ(own.size(), 1u);
}
