// New hand and hand player rows held in a unit until they are complete: the
// stored rows, and what happens when a row has gone to the server before a
// later change. (The HUD summary the triggers keep is compared where the
// program installs it, in the manual import's tests.)
#include "db/CHandTransaction.h"
#include "db/IConnection.h"
#include "db/tables/kroHandPlayers.h"
#include "db/tables/kroHands.h"
#include "db/tests/DbTestFixture.h"
#include "foundation/WideText.h"

using namespace kroDB;

class CompleteRowsTest : public DbTestFixture
{
protected:
    void SetUp() override
    {
        DbTestFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(CreateDatabase(*m_context, m_connect))
            << (m_notifier.messages.empty() ? std::string() : ToUtf8(m_notifier.messages.back()));
        m_context->SetConnectStrings(m_connect);
        m_lease = std::make_unique<CConnectionLease>(m_context->AcquireConnection(true));
        ASSERT_TRUE(m_lease->get()->Execute(
            L"insert into gametypes (id, idsite, idgamekind) values (1, 1, 1);"
            L"insert into players (idplayer, idsite, name) values (1, 1, 'Ann'), (2, 1, 'Bob')"));
    }

    void TearDown() override
    {
        m_lease.reset();
        DbTestFixture::TearDown();
    }

    // A hand of two players, its statistics set after the rows were made, as
    // the end of a hand does; `sendBetween` makes the connection send what it
    // holds before the changes, as a lookup in the middle of a hand does.
    void StoreHand(int64_t number, bool sendBetween)
    {
        CHandTransaction unit(*m_context);
        ASSERT_TRUE(unit.IsActive());
        kroHands::data hand(*m_context);
        hand.idfile = 1;
        hand.sitehandnumber = static_cast<uint64_t>(number);
        hand.idgametype = 1;
        hand.idsite = 1;
        hand.utc = 1700000000 + number;
        hand.localtime = 1700000000 + number;
        ASSERT_TRUE(hand.Insert());
        for (int32_t player = 1; player <= 2; ++player) {
            kroHandPlayers::data row(*m_context);
            row.idhand = hand.id;
            row.idplayer = player;
            row.seat = player;
            row.handtype = L"O'Neil";
            if (player == 1) {
                row.cards = {0, 13};
                row.stats.flags[L"flag_vpip"] = true;
                row.stats.flags[L"flag_vpip_opp"] = true;
            }
            row.SetKnownNew(true);
            ASSERT_TRUE(row.Insert());
            if (sendBetween) {
                std::unique_ptr<CODBCRecordset> rs;
                ASSERT_TRUE(m_lease->get()->OpenRecordset(L"SELECT 1", rs));
            }
            row.allinev = 100 * player;
            ASSERT_TRUE(row.SetAllinEV());
        }
        hand.board = {1, 2, 3};
        ASSERT_TRUE(hand.StoreBoard());
        ASSERT_TRUE(hand.SetTotalPot(250));
        ASSERT_TRUE(hand.SetShowdown(true));
        ASSERT_TRUE(unit.Commit().IsOk());
    }

    std::wstring Rows()
    {
        return Scalar(
            L"SELECT string_agg(concat_ws('/', h.sitehandnumber, h.totalpot, h.showdown, "
            L"h.boardcard3, h.boardtype, hp.idplayer, hp.card2, hp.cards64, hp.handtype, "
            L"hp.allinev, hp.flag_vpip, hp.flag_pf_pfr), ' ' ORDER BY h.sitehandnumber, hp.idplayer) FROM "
            L"hands h JOIN handsplayers hp ON hp.idhand = h.id");
    }

    std::unique_ptr<CConnectionLease> m_lease;
};

TEST_F(CompleteRowsTest, HeldRowsStoreWhatInsertThenUpdateStored)
{
    m_context->SetCompleteRows(false);
    StoreHand(1, false);
    const std::wstring rows = Rows();
    ASSERT_EQ(
        rows,
        L"1/250/t/3/3194883/1/13/8193/O'Neil    /100/t/f 1/250/t/3/3194883/2/0/O'Neil    /200/f/f");

    // The same hand, complete before it goes, in a fresh database.
    ASSERT_TRUE(m_lease->get()->Execute(L"TRUNCATE hands, handsplayers"));
    m_context->SetCompleteRows(true);
    StoreHand(1, false);
    EXPECT_EQ(Rows(), rows);

    // Rows sent before their changes are updated instead.
    ASSERT_TRUE(m_lease->get()->Execute(L"TRUNCATE hands, handsplayers"));
    StoreHand(1, true);
    EXPECT_EQ(Rows(), rows);
}

TEST_F(CompleteRowsTest, AFailedRowOfASharedInsertLeavesNothingOfTheHand)
{
    StoreHand(1, false);
    // The second hand's second player takes an id that is stored already, so
    // that the insert of both players fails as a whole.
    CHandTransaction unit(*m_context);
    ASSERT_TRUE(unit.IsActive());
    kroHands::data hand(*m_context);
    hand.sitehandnumber = 2;
    hand.idgametype = 1;
    hand.idsite = 1;
    hand.utc = 1700000002;
    ASSERT_TRUE(hand.Insert());
    kroHandPlayers::data first(*m_context);
    first.idhand = hand.id;
    first.idplayer = 1;
    first.SetKnownNew(true);
    ASSERT_TRUE(first.Insert());
    kroHandPlayers::data second(*m_context);
    second.id = first.id - 1;
    second.idhand = hand.id;
    second.idplayer = 2;
    second.SetKnownNew(true);
    ASSERT_TRUE(second.Insert());
    EXPECT_EQ(unit.Commit().GetCode(), CStatus::Code::Conflict);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"1");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM handsplayers"), L"2");
}
