#include "stats/flags/tests/CTestHand.h"

#include <gtest/gtest.h>

namespace {

// The button opens and the big blind calls: the button is the preflop raiser.
const char* const kHeadsUp = "btn:BTN sb:SB bb:BB";
const std::string kOpenCalled = "sb sb 1, bb bb 2, btn raises 6, sb folds, bb calls 4, FLOP, ";

std::string PostflopTrue(CTestHand& h, const std::string& name)
{
    return h.True(name, {"fp_", "tn_", "rv_"});
}

const std::vector<std::string> kShowdown = {"wtsd", "won_", "wwsf"};

}  // namespace

TEST(ContinuationBetTest, FlopBetCalledThenTurnCheckedByTheRaiser)
{
    CTestHand h(kHeadsUp, kOpenCalled +
                              "bb checks, btn bets 8, bb calls 8, TURN, bb checks, "
                              "btn checks, RIVER, bb bets 10, btn folds");
    h.Compute();
    EXPECT_EQ(PostflopTrue(h, "btn"), "fp_cbet fp_cbet_opp tn_cbet_opp");
    EXPECT_FALSE(h.Player("btn").stats.flags.at(L"flag_tn_cbet"));
    EXPECT_EQ(PostflopTrue(h, "bb"), "fp_call_cbet fp_face_cbet") << "no river aggressor";
    EXPECT_EQ(h.Player("btn").stats.counts,
              (std::map<std::wstring, int32_t>{
                  {L"count_fp_aggr", 1}, {L"count_fp_aggr_opp", 1}, {L"count_rv_aggr_opp", 1}}));
    EXPECT_EQ(h.Player("bb").stats.counts,
              (std::map<std::wstring, int32_t>{
                  {L"count_fp_aggr_opp", 1}, {L"count_rv_aggr", 1}, {L"count_rv_aggr_opp", 1}}));
}

TEST(ContinuationBetTest, CheckedFlopLeavesNoTurnCbetAndADonkBetTakesTheInitiative)
{
    CTestHand checked(kHeadsUp, kOpenCalled + "bb checks, btn checks, TURN, bb bets 4, btn folds");
    checked.Compute();
    EXPECT_EQ(PostflopTrue(checked, "btn"), "fp_cbet_opp");
    EXPECT_FALSE(checked.Player("btn").stats.flags.at(L"flag_fp_cbet"));
    EXPECT_EQ(PostflopTrue(checked, "bb"), "");

    CTestHand donk(kHeadsUp, kOpenCalled + "bb bets 4, btn calls 4, TURN, bb bets 10, btn folds");
    donk.Compute();
    EXPECT_EQ(PostflopTrue(donk, "btn"), "tn_face_cbet tn_fold_cbet");
    EXPECT_EQ(PostflopTrue(donk, "bb"), "tn_cbet tn_cbet_opp") << "the flop bettor leads on";
}

TEST(ContinuationBetTest, ReraiseOfARaisedCbetCountsWithAPlayerActingInBetween)
{
    CTestHand h("co:CO btn:BTN sb:SB bb:BB",
                "sb sb 1, bb bb 2, co calls 2, btn raises 8, sb folds, bb calls 6, co calls 6, "
                "FLOP, bb checks, co checks, btn bets 10, bb raises 30, co folds, btn raises 90, "
                "bb folds, btn uncalled 60, btn collects 85");
    h.Compute();
    EXPECT_EQ(PostflopTrue(h, "btn"),
              "fp_cbet fp_cbet_opp fp_face_raise_cbet fp_reraise_raise_cbet");
    EXPECT_EQ(PostflopTrue(h, "bb"), "fp_face_cbet fp_raise_cbet");
    EXPECT_EQ(PostflopTrue(h, "co"), "") << "only the first answer faces the cbet";
}

TEST(ShowdownFlagsTest, RiverCheckCallWithoutShowdown)
{
    CTestHand h("btn:BTN sb:SB bb:BB:46",
                kOpenCalled +
                    "bb checks, btn checks, TURN, bb checks, btn checks, RIVER, "
                    "bb checks, btn bets 20, bb calls 20, bb collects 46");
    h.Compute();
    EXPECT_EQ(h.Value("bb", L"val_river_call"), 20);
    EXPECT_EQ(h.Value("bb", L"val_seen_street"), 3);
    EXPECT_EQ(h.Value("btn", L"val_river_call"), 0);
    EXPECT_EQ(h.Value("sb", L"val_seen_street"), 0);
    EXPECT_EQ(h.True("bb"),
              "pf_3bet_opp pf_call_steal pf_face_steal pf_pfr_opp vpip vpip_opp wtsd_opp wwsf");
}

TEST(ShowdownFlagsTest, AllInPreflopShownBeforeTheBoardAndSittingOutNeverShowsDown)
{
    CTestHand h("btn:BTN:1000 sb:SB bb:BB out:CO",
                "sb sb 1, bb bb 2, btn raises 500, sb folds, bb calls 498, bb shows, btn shows, "
                "FLOP, TURN, RIVER, btn collects 1000",
                true);
    h.Compute();
    EXPECT_EQ(PostflopTrue(h, "btn"), "");
    EXPECT_EQ(h.True("btn", kShowdown), "won_wtsd wtsd wtsd_opp wwsf");
    EXPECT_EQ(h.True("bb", kShowdown), "wtsd wtsd_opp");
    EXPECT_EQ(h.True("sb", kShowdown), "");
    EXPECT_EQ(h.True("out"), "");

    CTestHand alone("btn:BTN:5 bb:BB",
                    "btn sb 1, bb bb 2, btn raises 5, bb folds, btn uncalled 3, "
                    "btn collects 4, bb shows, btn shows",
                    true);
    alone.Compute();
    EXPECT_EQ(alone.True("btn", kShowdown), "");
}

TEST(ShowdownFlagsTest, HandRunTwiceReachesShowdownOnTheRiver)
{
    // Turn all in, two rivers, a show and a muck on each board.
    CTestHand h("p1:MP3 p2:CO p3:BTN p4:SB p5:BB hero:MP2:22317",
                "p4 sb 100, p5 bb 200, hero deal 2, hero raises 600, p1 calls 600, p2 folds, "
                "p3 folds, p4 folds, p5 calls 400, FLOP, p5 checks, hero bets 1200, p1 calls 1200, "
                "p5 folds, TURN, hero bets 2800, p1 raises 9116, hero calls 6316, FRC, SRC, "
                "hero shows, p1 mucks, hero collects 11159, hero shows, p1 mucks, "
                "hero collects 11158",
                true);
    h.Compute();
    EXPECT_EQ(PostflopTrue(h, "hero"),
              "fp_cbet fp_cbet_opp tn_call_raise_cbet tn_cbet tn_cbet_opp tn_face_raise_cbet");
    EXPECT_EQ(PostflopTrue(h, "p1"), "fp_call_cbet fp_face_cbet tn_face_cbet tn_raise_cbet");
    EXPECT_EQ(h.True("hero", kShowdown), "won_wtsd wtsd wtsd_opp wwsf");
    EXPECT_EQ(h.True("p1", kShowdown), "wtsd wtsd_opp");
    EXPECT_EQ(h.True("p5", kShowdown), "wtsd_opp");
    EXPECT_EQ(h.hand.stats.values[L"val_pot_t"], 18232);
}
