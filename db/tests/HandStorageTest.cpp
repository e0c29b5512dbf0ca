#include "db/CHandTransaction.h"
#include "db/HandHistoryArchive.h"
#include "db/IConnection.h"
#include "db/tables/kroAliasData.h"
#include "db/tables/kroAliases.h"
#include "db/tables/kroFiles.h"
#include "db/tables/kroHandHistory.h"
#include "db/tables/kroHandPlayers.h"
#include "db/tables/kroHands.h"
#include "db/tables/kroHandsActions.h"
#include "db/tables/kroPlayers.h"
#include "db/tables/kroPots.h"
#include "db/tables/kroRunittwice.h"
#include "db/tests/DbTestFixture.h"
#include "foundation/WideText.h"
#include "testing/CTempDir.h"

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace kroDB;

class HandStorageTest : public DbTestFixture
{
protected:
    void SetUp() override
    {
        DbTestFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
        m_context->SetConnectStrings(m_connect);
        m_lease = std::make_unique<CConnectionLease>(m_context->AcquireConnection(true));
    }

    void TearDown() override
    {
        m_lease.reset();
        DbTestFixture::TearDown();
    }

    int64_t StoreHand(uint64_t number, int64_t utc, int64_t fileId = 1)
    {
        kroHands::data hand(*m_context);
        hand.idfile = fileId;
        hand.sitehandnumber = number;
        hand.idgametype = 1;
        hand.utc = utc;
        hand.board = {0, 13, 26};
        EXPECT_TRUE(hand.Insert());
        return hand.id;
    }

    std::unique_ptr<CConnectionLease> m_lease;
};

TEST_F(HandStorageTest, FileRowsAreFoundByPathAndSiteAndMarkedFinished)
{
    kroFiles::data file(*m_context);
    file.path = L"HH2023 O'Brien's table.txt";
    file.idsite = 1;
    ASSERT_TRUE(file.Insert());
    EXPECT_EQ(file.id, 1);
    EXPECT_FALSE(file.Insert());
    kroFiles::data again(*m_context);
    again.path = file.path;
    again.idsite = 1;
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.id, 1);
    EXPECT_FALSE(again.finish);
    ASSERT_TRUE(again.SetFinished(again.id));
    ASSERT_TRUE(again.Load());
    EXPECT_TRUE(again.finish);
}

TEST_F(HandStorageTest, HandsAreFoundByFileNumberAndUtcAndByRoomWhateverTheFile)
{
    ASSERT_TRUE(m_lease->get()->Execute(
        L"INSERT INTO gametypes (id, idsite, idgamekind) VALUES (1, 3, 2)"));
    const int64_t id = StoreHand(257180854570ull, 1700000000);
    ASSERT_GT(id, 0);
    kroHands::data found(*m_context);
    found.idfile = 1;
    found.sitehandnumber = 257180854570ull;
    found.utc = 1700000000;
    ASSERT_TRUE(found.Load());
    EXPECT_EQ(found.id, id);
    EXPECT_EQ(found.board, (std::vector<int>{0, 13, 26}));
    EXPECT_EQ(Scalar(L"SELECT boardcard64 FROM hands"),
              std::to_wstring(1ull | (1ull << 13) | (1ull << 26)));
    EXPECT_EQ(Scalar(L"SELECT boardcard4 IS NULL FROM hands"), L"1");

    kroHands::data other(*m_context);
    other.sitehandnumber = 257180854570ull;
    other.utc = 1700000000;
    EXPECT_EQ(other.FindStored(3), id);
    EXPECT_EQ(other.FindStored(4), 0);
    other.utc = 1700000001;
    EXPECT_EQ(other.FindStored(3), 0);
}

TEST_F(HandStorageTest, BoardTextureStatsAndSettersWriteTheirColumns)
{
    kroHands::data hand(*m_context);
    hand.id = StoreHand(1, 1);
    hand.board = {12, 25, 38, 3, 4};
    ASSERT_TRUE(hand.StoreBoard());
    EXPECT_NE(Scalar(L"SELECT boardtype FROM hands"), L"0");
    EXPECT_EQ(Scalar(L"SELECT boardcard5 FROM hands"), L"4");
    hand.stats.flags[L"flag_did_3bet"] = true;
    hand.stats.values[L"val_players_sd"] = 2;
    hand.stats.texts[L"str_pf_actions"] = L"00000a1R'";
    hand.stats.values[L"val_no_such_column"] = 5;
    ASSERT_TRUE(hand.StoreStats());
    EXPECT_EQ(
        Scalar(
            L"SELECT flag_did_3bet || '/' || val_players_sd || '/' || str_pf_actions FROM hands"),
        L"true/2/00000a1R'");
    ASSERT_TRUE(hand.SetShowdown(true));
    ASSERT_TRUE(hand.SetStreetAllin(2));
    ASSERT_TRUE(hand.SetSeats(6));
    EXPECT_EQ(Scalar(L"SELECT showdown || '/' || streetallin || '/' || seats FROM hands"),
              L"true/2/6");
}

TEST_F(HandStorageTest, HandTextRoundTripsInEveryMode)
{
    const std::vector<std::wstring> lines = {L"Seat 1: O'Neil (€5 in chips)", L"Дмитрий: folds 😀"};
    for (wchar_t mode : {L'0', L'U', L'8', L'z'}) {
        kroHandHistory::data history(*m_context);
        history.id = 100 + static_cast<int>(mode);
        history.nvar = mode;
        history.Encode(lines);
        ASSERT_TRUE(history.Insert());
        kroHandHistory::data back(*m_context);
        back.id = history.id;
        ASSERT_TRUE(back.Load());
        EXPECT_EQ(back.nvar, mode);
        EXPECT_EQ(back.hh, history.hh);
    }
    kroHandHistory::data text(*m_context);
    text.id = 100 + static_cast<int>(L'U');
    ASSERT_TRUE(text.Load());
    EXPECT_EQ(text.hh, JoinHandLines(lines));
}

TEST_F(HandStorageTest, Utf8HexOfABAndCrLf)
{
    kroHandHistory::data history(*m_context);
    history.nvar = L'8';
    history.Encode({L"ab"});
    EXPECT_EQ(history.hh, L"61620d0a");
    EXPECT_EQ(StorageModeFromIndex(3), L'z');
    EXPECT_EQ(StorageModeFromIndex(7), L'0');
}

TEST_F(HandStorageTest, ZippedTextIsReadBackByAStandardUnzipTool)
{
    const std::vector<std::wstring> lines = {L"PokerStars Hand #1: Hold'em", L"Seat 1: Zoë 张伟"};
    kroHandHistory::data history(*m_context);
    history.nvar = L'z';
    history.Encode(lines);
    std::string bytes;
    for (size_t i = 0; i + 1 < history.hh.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(ToUtf8(history.hh.substr(i, 2)), nullptr, 16));
    }
    vxtest::CTempDir dir;
    const std::string zip = dir.Write("hh.zip", bytes);
    const std::string command = "unzip -p '" + zip + "' hh > '" + dir.File("out") + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << "unzip could not read the archive";
    std::ifstream in(dir.File("out"), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_EQ(s.str(), ToUtf8(JoinHandLines(lines)));
    EXPECT_EQ(std::system(("unzip -tq '" + zip + "' >/dev/null 2>&1").c_str()), 0);
}

TEST_F(HandStorageTest, PotsActionsAndRunItTwiceRows)
{
    const int64_t hand = StoreHand(7, 7);
    kroPots::data pot(*m_context);
    pot.idhand = hand;
    pot.potnum = 1;
    pot.amt = 1234;
    ASSERT_TRUE(pot.Insert());
    kroPots::data read(*m_context);
    read.idhand = hand;
    read.potnum = 1;
    ASSERT_TRUE(read.Load());
    EXPECT_EQ(read.amt, 1234);
    kroPots::data orphan(*m_context);
    EXPECT_FALSE(orphan.Insert());

    std::vector<CActionRecord> actions(3);
    for (auto& a : actions) {
        a.idhand = hand;
        a.idaction = 6;
        a.amount = 5;
    }
    kroHandsActions table(*m_context);
    ASSERT_TRUE(table.InsertAll(actions));
    EXPECT_EQ(actions[2].actionno, 3);
    EXPECT_EQ(Scalar(L"SELECT string_agg(actionno::text, ',' ORDER BY actionno) FROM handsactions"),
              L"1,2,3");
    kroHandsActions::data single(*m_context);
    static_cast<CActionRecord&>(single) = actions[0];
    EXPECT_TRUE(single.Exists());
    EXPECT_FALSE(single.Insert());
    std::vector<CActionRecord> none;
    EXPECT_FALSE(table.InsertAll(none));

    kroRunittwice::data rit(*m_context);
    rit.idhand = hand;
    rit.nb = 3;
    rit.boards = {std::vector<int>{-1, -1, -1, 5, 6}, std::vector<int>{-1, -1, -1, 7, 8},
                  std::vector<int>{-1, -1, -1, 9, 10}};
    ASSERT_TRUE(rit.Insert());
    EXPECT_FALSE(rit.Insert());
    kroRunittwice::data back(*m_context);
    back.idhand = hand;
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.nb, 3);
    EXPECT_EQ(back.boards[2], (std::vector<int>{-1, -1, -1, 9, 10}));
}

TEST_F(HandStorageTest, PlayersAliasesAndHandPlayers)
{
    kroPlayers::data player(*m_context);
    player.idsite = 1;
    player.name = L"it's \\ Дмитрий";
    EXPECT_FALSE(player.Load());
    ASSERT_TRUE(player.Insert());
    EXPECT_FALSE(player.Insert());
    kroPlayers::data byName(*m_context);
    byName.idsite = 1;
    byName.name = player.name;
    ASSERT_TRUE(byName.Load());
    EXPECT_EQ(byName.idplayer, player.idplayer);
    ASSERT_TRUE(byName.SetHero(byName.idplayer));
    EXPECT_FALSE(byName.SetHero(0));

    kroAliases::data alias(*m_context);
    alias.name = L"me";
    ASSERT_TRUE(alias.Insert());
    kroAliasData::data member(*m_context);
    member.idalias = alias.id;
    member.idplayer = player.idplayer;
    EXPECT_FALSE(member.Exists());
    ASSERT_TRUE(member.Insert());
    EXPECT_TRUE(member.Exists());

    const int64_t hand = StoreHand(9, 9);
    kroHandPlayers::data hp(*m_context);
    hp.idhand = hand;
    hp.idplayer = player.idplayer;
    hp.cards = {12, 25};
    hp.netwin = -50;
    hp.stats.flags[L"flag_vpip"] = true;
    hp.stats.counts[L"count_fp_aggr"] = 2;
    hp.stats.values[L"val_allin_street"] = 1;
    ASSERT_TRUE(hp.Insert());
    EXPECT_FALSE(hp.Insert());
    EXPECT_EQ(Scalar(L"SELECT card1 || '/' || card2 || '/' || flag_vpip || '/' || count_fp_aggr || "
                     L"'/' || val_allin_street || '/' || netwin FROM handsplayers"),
              L"12/25/true/2/1/-50");
    hp.allinev = 2500;
    ASSERT_TRUE(hp.SetAllinEV());
    ASSERT_TRUE(hp.StoreCards(hand, player.idplayer, {0, 1, 2, 3}));
    EXPECT_EQ(Scalar(L"SELECT allinev || '/' || card4 FROM handsplayers"), L"2500/3");

    // A player without cards and a single statistic: one column updated.
    kroHandPlayers::data lone(*m_context);
    lone.idhand = hand;
    lone.idplayer = player.idplayer + 1;
    lone.stats.flags[L"flag_wtsd"] = true;
    ASSERT_TRUE(lone.Insert());
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM handsplayers WHERE flag_wtsd"), L"1");
}

TEST_F(HandStorageTest, AUnitRolledBackLeavesNothingAndAFailureFailsTheCommit)
{
    {
        CHandTransaction unit(*m_context);
        ASSERT_TRUE(unit.IsActive());
        StoreHand(11, 11);
    }
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"0");
    {
        CHandTransaction unit(*m_context);
        StoreHand(12, 12);
        ASSERT_TRUE(m_lease->get()->Execute(L"INSERT INTO no_such_table VALUES (1)"));
        EXPECT_FALSE(unit.Commit().IsOk());
    }
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"0");
    {
        CHandTransaction unit(*m_context);
        StoreHand(13, 13);
        EXPECT_TRUE(unit.Commit().IsOk());
    }
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"1");
    // Ids taken inside a failed unit are never handed out again.
    EXPECT_GT(StoreHand(14, 14), 0);
    EXPECT_EQ(Scalar(L"SELECT count(DISTINCT id) FROM hands"), L"2");
}
