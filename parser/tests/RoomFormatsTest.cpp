// Every room format end to end with the hands written for our tests
// (testdata/handhistories): what is stored, the statistic flags and the money.
// These run in a checkout without the real files of the clients.
#include "parser/tests/RoomChecksFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

class RoomFormatsTest : public RoomChecksFixture
{
protected:
    int ImportSynthetic(const std::string& relative, const std::wstring& room)
    {
        return ImportFile(vxtest::HandHistoryFile(relative), room);
    }

    // Every room's money and flag rules on what it stored.
    void ExpectSound(const std::wstring& site)
    {
        EXPECT_EQ(UnbalancedHands(site), L"") << site;
        EXPECT_EQ(RakeSharesOff(site), L"") << site;
        EXPECT_EQ(ResultsOff(site), L"") << site;
        EXPECT_EQ(VpipAgainstActions(site), L"") << site;
        EXPECT_EQ(WtsdAgainstActions(site), L"") << site;
    }
};

TEST_F(RoomFormatsTest, PokerStarsStealWalkAndShowdown)
{
    ASSERT_EQ(ImportSynthetic("pokerstars/nlhe_6max_steal_walk_showdown.txt", L"PokerStars"), 3);
    ExpectSound(L"PokerStars");
    EXPECT_EQ(Counts(L"PokerStars"), L"3 hands, 18 players, 5 vpip, 2 wtsd");

    // A button steal 3-bet by the small blind.
    EXPECT_EQ(TrueFlags(L"300000001", L"Dorado"),
              L"pf_4bet_opp pf_face_3bet pf_fold_3bet pf_pfr pf_pfr_opp pf_raise_first_in "
              L"pf_raise_first_in_opp pf_steal_att pf_steal_opp vpip vpip_opp");
    EXPECT_EQ(TrueFlags(L"300000001", L"Escolar"),
              L"pf_3bet pf_3bet_opp pf_face_steal pf_pfr pf_pfr_opp pf_resteal vpip vpip_opp");
    EXPECT_EQ(Column(L"300000001", L"Dorado", L"val_pf_stealer_pos"), L"8");
    EXPECT_EQ(Column(L"300000001", L"Escolar", L"netwin"), L"35");

    // A walk: the folders had their chances to open, the late ones to steal.
    EXPECT_EQ(TrueFlags(L"300000002", L"Bluefin"), L"pf_pfr_opp pf_raise_first_in_opp vpip_opp");
    for (const wchar_t* late : {L"Dorado", L"Escolar", L"Flounder"}) {
        EXPECT_EQ(TrueFlags(L"300000002", late),
                  L"pf_pfr_opp pf_raise_first_in_opp pf_steal_opp vpip_opp")
            << late;
    }
    EXPECT_EQ(TrueFlags(L"300000002", L"Amberjack"), L"");
    EXPECT_EQ(Column(L"300000002", L"Amberjack", L"netwin"), L"5");

    // A raise, a flop continuation bet called, and the river shown down.
    EXPECT_EQ(TrueFlags(L"300000003", L"Hero"),
              L"fp_cbet fp_cbet_opp pf_pfr pf_pfr_opp pf_raise_first_in pf_raise_first_in_opp "
              L"tn_cbet_opp vpip vpip_opp won_wtsd wtsd wtsd_opp wwsf");
    EXPECT_EQ(TrueFlags(L"300000003", L"Dorado"),
              L"fp_call_cbet fp_face_cbet pf_3bet_opp pf_pfr_opp vpip vpip_opp wtsd wtsd_opp");
    // Rake 22 over bets of 205, 205, 30 and 10: shares 10, 10, 1 and the
    // cent left over to the largest remainder, the big blind's.
    EXPECT_EQ(Scalar(L"SELECT string_agg(p.name || '=' || hp.rakeincents, ',' ORDER BY p.name) "
                     L"FROM handsplayers hp JOIN players p ON p.idplayer = hp.idplayer JOIN hands "
                     L"h ON h.id = hp.idhand WHERE h.sitehandnumber = 300000003 AND "
                     L"hp.rakeincents > 0"),
              L"Amberjack=1,Bluefin=1,Dorado=10,Hero=10");
    EXPECT_EQ(Column(L"300000003", L"Hero", L"position"), L"5");
    EXPECT_EQ(Column(L"300000003", L"Flounder", L"position"), L"8");
}

TEST_F(RoomFormatsTest, OldLayoutReturnsTheUncalledBigBlindAndSeatsTheBlindsHeadsUp)
{
    ASSERT_EQ(ImportSynthetic("pokerstars/old_layout_big_blind_walk.txt", L"PokerStars"), 1);
    ExpectSound(L"PokerStars");
    EXPECT_EQ(Column(L"300000100", L"Hero", L"bet"), L"50");
    EXPECT_EQ(Column(L"300000100", L"Hero", L"netwin"), L"50");
    EXPECT_EQ(Column(L"300000100", L"Hero", L"nonshowdownwin"), L"50");
    EXPECT_EQ(Column(L"300000100", L"Hero", L"position"), L"10");
    EXPECT_EQ(Column(L"300000100", L"Grouper", L"position"), L"9");
    EXPECT_EQ(Column(L"300000100", L"Grouper", L"netwin"), L"-50");
    // The return is an action of its own, right after the big blind's post.
    EXPECT_EQ(Scalar(L"SELECT string_agg(c.code, ',' ORDER BY a.actionno) FROM handsactions a "
                     L"JOIN actions c ON c.id = a.idaction WHERE a.idplayer = (SELECT idplayer "
                     L"FROM players WHERE name = 'Hero')"),
              L"BB,UB,DC,CP");
}

TEST_F(RoomFormatsTest, StudAndDrawAreLeftOutAndCountedWithTheirGameNamed)
{
    EXPECT_EQ(ImportSynthetic("pokerstars/stud_and_draw_left_out.txt", L"PokerStars"), 1);
    EXPECT_EQ(m_t.env->counts.stored, 1);
    EXPECT_EQ(m_t.env->counts.skipped, 2);
    EXPECT_EQ(m_t.env->counts.rejected, 0);
    // Nothing of the two hands is stored, not even their players.
    EXPECT_EQ(Scalar(L"SELECT string_agg(sitehandnumber::text, ',') FROM hands"), L"300000202");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM players WHERE name IN ('Lampfish', 'Marlin')"), L"0");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM gametypes WHERE idgamekind <= 0"), L"0");
    std::vector<std::wstring> leftOut;
    for (const auto& line : m_t.sink.logs) {
        if (line.find(L"left out") != std::wstring::npos) {
            leftOut.push_back(line);
        }
    }
    ASSERT_EQ(leftOut.size(), 2u);
    EXPECT_EQ(leftOut[0],
              L"hand #300000200 left out: 7 Card Stud Hi/Lo Limit is a game we do not read");
    EXPECT_EQ(leftOut[1],
              L"hand #300000201 left out: Single Draw 2-7 Lowball No Limit is a game we do not "
              L"read");
    ExpectSound(L"PokerStars");
}

TEST_F(RoomFormatsTest, GGPokerTaxRiskOfAnyPlayerAndShortDeck)
{
    ASSERT_EQ(ImportSynthetic("ggpoker/rush_cash_tax_risk_shortdeck.txt", L"GGPoker"), 3);
    ExpectSound(L"GGPoker");
    // Rake, jackpot fee and tax are what the table took.
    EXPECT_EQ(HandColumn(L"900000001", L"rake"), L"12");
    EXPECT_EQ(Column(L"900000001", L"Hero", L"netwin"), L"85");
    EXPECT_EQ(TrueFlags(L"900000001", L"Hero"),
              L"fp_cbet fp_cbet_opp pf_pfr pf_pfr_opp pf_raise_first_in pf_raise_first_in_opp "
              L"pf_steal_att pf_steal_opp rv_cbet_opp tn_cbet tn_cbet_opp vpip vpip_opp won_wtsd "
              L"wtsd wtsd_opp wwsf");

    // A player other than the hero pays cash-out risk twice: 196.50 from the
    // pot less 2.75 paid to the room. At the show down it won what the pot
    // gave; the risk is no part of that.
    EXPECT_EQ(Column(L"900000002", L"9a8b7c6d", L"totalwin"), L"19375");
    EXPECT_EQ(Column(L"900000002", L"9a8b7c6d", L"netwin"), L"9375");
    EXPECT_EQ(Column(L"900000002", L"9a8b7c6d", L"showdownwin"), L"9650");
    EXPECT_EQ(Column(L"900000002", L"9a8b7c6d", L"nonshowdownwin"), L"-275");
    EXPECT_EQ(Scalar(L"SELECT sum(hp.netwin) + h.rake FROM handsplayers hp JOIN hands h ON h.id "
                     L"= hp.idhand WHERE h.sitehandnumber = 900000002 GROUP BY h.rake"),
              L"-275");
    EXPECT_EQ(Column(L"900000002", L"9a8b7c6d", L"flag_won_wtsd"), L"true");

    // A short-deck header with its one amount: ante and button blind.
    EXPECT_EQ(Scalar(L"SELECT g.idgamekind || '/' || g.bigblind || '/' || g.ante FROM hands h "
                     L"JOIN gametypes g ON g.id = h.idgametype WHERE h.sitehandnumber = "
                     L"900000003"),
              L"202/2/2");
    EXPECT_EQ(Column(L"900000003", L"Hero", L"netwin"), L"6");
}

TEST_F(RoomFormatsTest, Room888FlagsMoneyAndHero)
{
    ASSERT_EQ(ImportSynthetic("888/nlh_cbet_showdown_walk.txt", L"888Poker"), 3);
    ExpectSound(L"888Poker");
    EXPECT_EQ(Counts(L"888Poker"), L"3 hands, 12 players, 4 vpip, 2 wtsd");
    EXPECT_EQ(TrueFlags(L"900000001", L"Hero"),
              L"fp_cbet fp_cbet_opp pf_pfr pf_pfr_opp pf_raise_first_in pf_raise_first_in_opp "
              L"pf_steal_att pf_steal_opp vpip vpip_opp wtsd_opp wwsf");
    EXPECT_EQ(TrueFlags(L"900000001", L"Mako"),
              L"fp_face_cbet fp_fold_cbet pf_3bet_opp pf_call_steal pf_face_steal pf_pfr_opp "
              L"vpip vpip_opp wtsd_opp");
    EXPECT_EQ(Column(L"900000001", L"Hero", L"netwin"), L"35");
    EXPECT_EQ(Column(L"900000001", L"Hero", L"bet"), L"30");
    // The room writes what a raise adds; the action keeps the street's total.
    EXPECT_EQ(Scalar(L"SELECT string_agg(a.amount::text, ',' ORDER BY h.sitehandnumber, "
                     L"a.actionno) FROM handsactions a JOIN hands h ON h.id = a.idhand WHERE "
                     L"a.idaction = 7"),
              L"30,40,150");
    EXPECT_EQ(TrueFlags(L"900000002", L"Ling"),
              L"fp_call_raise_cbet fp_cbet fp_cbet_opp fp_face_raise_cbet pf_pfr pf_pfr_opp "
              L"tn_call_cbet tn_face_cbet vpip vpip_opp wtsd wtsd_opp");
    // The flop raiser bets the turn: a continuation of its own raise.
    EXPECT_EQ(TrueFlags(L"900000002", L"Hero"),
              L"fp_face_cbet fp_raise_cbet pf_3bet_opp pf_pfr_opp pf_raise_first_in_opp "
              L"pf_steal_opp rv_cbet_opp tn_cbet tn_cbet_opp vpip vpip_opp won_wtsd wtsd wtsd_opp "
              L"wwsf");
    EXPECT_EQ(HandColumn(L"900000002", L"rake"), L"30");
    EXPECT_EQ(TrueFlags(L"900000003", L"Ling"),
              L"pf_pfr_opp pf_raise_first_in_opp pf_steal_opp vpip_opp");
    EXPECT_EQ(Column(L"900000003", L"Hero", L"netwin"), L"5");
    const auto hero = m_t.context.LastPublishedHero();
    ASSERT_TRUE(hero.has_value());
    EXPECT_EQ(hero->hero.name, L"Hero");
}

TEST_F(RoomFormatsTest, RunItOnceShowdownAndSplash)
{
    ASSERT_EQ(ImportSynthetic("runitonce/plo_showdown_splash.txt", L"Run It Once Poker"), 2);
    ExpectSound(L"Run It Once Poker");
    EXPECT_EQ(TrueFlags(L"900000001", L"Pomfret"),
              L"fp_call_cbet fp_face_cbet pf_3bet_opp pf_call_steal pf_face_steal pf_pfr_opp vpip "
              L"vpip_opp wtsd wtsd_opp");
    EXPECT_EQ(Column(L"900000001", L"Hero", L"netwin"), L"360");
    EXPECT_EQ(Column(L"900000002", L"Hero", L"netwin"), L"255");
    EXPECT_EQ(Column(L"900000002", L"Hero", L"val_stp"), L"100");
    // Rake 15 over bets of 160, 160 and 10.
    EXPECT_EQ(Scalar(L"SELECT string_agg(p.name || '=' || hp.rakeincents, ',' ORDER BY p.name) "
                     L"FROM handsplayers hp JOIN players p ON p.idplayer = hp.idplayer JOIN hands "
                     L"h ON h.id = hp.idhand WHERE h.sitehandnumber = 900000002"),
              L"Hero=7,Opah=7,Pomfret=1");
}

TEST_F(RoomFormatsTest, PokerKingAsiaShowdownFromTheSummaryLines)
{
    ASSERT_EQ(ImportSynthetic("pkng/holdem_summary_showdown_walk.txt", L"PokerKing Asia"), 2);
    ExpectSound(L"PokerKing Asia");
    EXPECT_EQ(HandColumn(L"900000001", L"showdown"), L"true");
    EXPECT_EQ(TrueFlags(L"900000001", L"Hero"),
              L"fp_cbet fp_cbet_opp pf_pfr pf_pfr_opp pf_raise_first_in pf_raise_first_in_opp "
              L"pf_steal_att pf_steal_opp tn_cbet_opp vpip vpip_opp won_wtsd wtsd wtsd_opp wwsf");
    EXPECT_EQ(TrueFlags(L"900000001", L"Queenfish"),
              L"fp_call_cbet fp_face_cbet pf_3bet_opp pf_call_steal pf_face_steal pf_pfr_opp "
              L"vpip vpip_opp wtsd wtsd_opp");
    EXPECT_EQ(Column(L"900000001", L"Hero", L"showdownwin"), L"68");
    // The walk: no show down from the winner's muck.
    EXPECT_EQ(HandColumn(L"900000002", L"showdown"), L"false");
    EXPECT_EQ(TrueFlags(L"900000002", L"Rudderfish"),
              L"pf_pfr_opp pf_raise_first_in_opp pf_steal_opp vpip_opp");
}

TEST_F(RoomFormatsTest, ClubOmahaContinuationBetAndShowdown)
{
    ASSERT_EQ(ImportSynthetic("club/pokermaster_plo_cbet.txt", L"PokerMaster HM3"), 2);
    ExpectSound(L"PokerMaster HM3");
    EXPECT_EQ(TrueFlags(L"1903010900000001", L"ppHero"),
              L"fp_cbet fp_cbet_opp pf_pfr pf_pfr_opp pf_raise_first_in pf_raise_first_in_opp "
              L"pf_steal_att pf_steal_opp vpip vpip_opp wtsd_opp wwsf");
    EXPECT_EQ(TrueFlags(L"1903010900000002", L"ppSable"),
              L"pf_pfr_opp pf_raise_first_in_opp pf_steal_opp tn_call_cbet tn_face_cbet vpip "
              L"vpip_opp wtsd wtsd_opp");
    EXPECT_EQ(Column(L"1903010900000002", L"ppHero", L"netwin"), L"2190");
    // Omaha hands on a full board are evaluated.
    EXPECT_NE(Column(L"1903010900000002", L"ppHero", L"combination"), L"0");
}

// The checks of the one end of a hand hold in every room: a hand with an
// amount beyond the cents range, or without its pot line, fails alone.
TEST_F(RoomFormatsTest, DamagedCopiesOfEveryRoomsFileFailOnlyTheDamagedHand)
{
    struct CDamage
    {
        const char* file;
        const wchar_t* room;
        int hands;
        const char* stack;
        const char* hugeStack;
        const char* potLine;
    };
    const CDamage damages[] = {
        {"pokerstars/nlhe_6max_steal_walk_showdown.txt", L"PokerStars", 3, "($10 in chips)",
         "($99,999,999,999.99 in chips)", "Total pot $0.60 | Rake $0"},
        {"ggpoker/rush_cash_tax_risk_shortdeck.txt", L"GGPoker", 3, "($5 in chips)",
         "($99,999,999,999.99 in chips)", "Total pot $1.92 |"},
        {"888/nlh_cbet_showdown_walk.txt", L"888Poker", 3, "( $10 )", "( $99,999,999,999.99 )",
         nullptr},
        {"runitonce/plo_showdown_splash.txt", L"Run It Once Poker", 2, "(€20 in chips)",
         "(€99999999999.99 in chips)", "Total pot €7.50 | Rake €0.20"},
        // PokerKing Asia's summary gives every player's bet and collection: its
        // pot is known without the pot line.
        {"pkng/holdem_summary_showdown_walk.txt", L"PokerKing Asia", 2, "(10).",
         "(99999999999.99).", nullptr},
        {"club/pokermaster_plo_cbet.txt", L"PokerMaster HM3", 2, "($200 in chips)",
         "($99999999999.99 in chips)", "Total pot $15 | Rake $0.70"},
    };
    for (const CDamage& d : damages) {
        std::ifstream in(vxtest::HandHistoryFile(d.file), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        const std::string text = bytes.str();
        const std::string first = text.substr(0, text.find('\n'));

        std::string huge = text;
        huge.replace(huge.find(d.stack), std::string(d.stack).size(), d.hugeStack);
        const size_t before = m_t.sink.logs.size();
        EXPECT_EQ(ImportText(huge, d.room, "huge.txt"), d.hands - 1) << d.file;
        bool logged = false;
        for (size_t i = before; i < m_t.sink.logs.size(); ++i) {
            logged = logged || m_t.sink.logs[i].find(L"beyond 21,474,836.47") != std::wstring::npos;
        }
        EXPECT_TRUE(logged) << d.file;

        if (d.potLine != nullptr) {
            std::string noPot = text;
            const size_t at = noPot.find(d.potLine);
            noPot.erase(at, noPot.find('\n', at) - at);
            // The others are found stored already.
            EXPECT_EQ(ImportText(noPot, d.room, "nopot.txt"), d.hands - 1) << d.file;
            EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands h WHERE " + OfRoom(d.room)),
                      std::to_wstring(d.hands - 1))
                << d.file;
        }
        ExpectSound(d.room);
    }
}
