#include "stats/flags/tests/CTestHand.h"

#include <gtest/gtest.h>

namespace {

const char* const kSixMax = "utg:MP2 mp:MP3 co:CO btn:BTN sb:SB bb:BB";
const std::string kBlinds = "sb sb 1, bb bb 2, ";

}  // namespace

TEST(WalkTest, AllFoldingToTheBigBlindIsAWalkDespitePostsDealtCardsAndCollection)
{
    CTestHand h(std::string(kSixMax) + " out:UTG1",
                kBlinds +
                    "co deal 2, utg folds, mp folds, co folds, btn folds, sb folds, "
                    "bb uncalled 1, bb collects 3");
    h.Compute();
    // A folder in a walk had every preflop chance a folder has in any other
    // hand: to put money in, to raise, to raise first in and, late, to steal.
    for (const char* name : {"utg", "mp"}) {
        EXPECT_EQ(h.True(name), "pf_pfr_opp pf_raise_first_in_opp vpip_opp") << name;
    }
    for (const char* name : {"co", "btn", "sb"}) {
        EXPECT_EQ(h.True(name), "pf_pfr_opp pf_raise_first_in_opp pf_steal_opp vpip_opp") << name;
    }
    for (const char* name : {"utg", "mp", "co", "btn", "sb"}) {
        EXPECT_EQ(h.Player(name).stats.flags.count(L"flag_pf_3bet_opp"), 1u) << name;
        EXPECT_EQ(h.Player(name).stats.values.count(L"val_seen_street"), 0u)
            << "no postflop entry in a walk";
    }
    EXPECT_EQ(h.True("bb"), "");
    EXPECT_EQ(h.Player("bb").stats.flags.size(), 4u);
    EXPECT_EQ(h.True("out"), "") << "sitting out: no opportunity";
    EXPECT_TRUE(h.hand.stats.Empty());
}

TEST(WalkTest, ButtonBlindPosterIsTheOneWhoWalks)
{
    CTestHand h("btn:BTN p1:SB p2:BB p3:MP2",
                "btn ante 2, p1 ante 2, p2 ante 2, p3 ante 2, btn bb 2, btn deal 2, p1 folds, "
                "p2 folds, p3 folds, btn uncalled 2, btn collects 8");
    h.Compute(202);
    EXPECT_EQ(h.True("p2"), "pf_pfr_opp pf_raise_first_in_opp vpip_opp");
    EXPECT_EQ(h.True("p1"), "pf_pfr_opp pf_raise_first_in_opp pf_steal_opp vpip_opp");
    EXPECT_EQ(h.True("btn"), "");
    EXPECT_TRUE(h.hand.stats.Empty());
}

TEST(WalkTest, LimpCheckAndBlindAllInAreNoWalk)
{
    CTestHand limp("sb:SB bb:BB:4", kBlinds +
                                        "bb deal 2, sb calls 1, bb checks, FLOP, sb checks, "
                                        "bb bets 2, sb folds, bb uncalled 2, bb collects 4");
    limp.Compute();
    EXPECT_EQ(limp.True("sb"),
              "pf_pfr_opp pf_raise_first_in_opp pf_steal_opp vpip vpip_opp wtsd_opp");
    EXPECT_EQ(limp.True("bb"), "wtsd_opp wwsf") << "a check is no VPIP or raise opportunity";
    EXPECT_EQ(limp.hand.stats.texts[L"str_pf_actions"], L"0000100P0000101K");

    CTestHand allIn("utg:MP2 sb:SB bb:BB",
                    "sb sb 1, bb bb 2, utg folds, FLOP, TURN, RIVER, sb shows, bb shows", true);
    allIn.Compute();
    EXPECT_EQ(allIn.True("sb"), "wtsd wtsd_opp");
}

TEST(PreflopFlagsTest, ButtonStealFoldedByBothBlinds)
{
    CTestHand h(kSixMax, kBlinds +
                             "btn deal 2, utg folds, mp folds, co folds, btn raises 6, "
                             "sb folds, bb folds, btn uncalled 4, btn collects 5");
    h.Compute();
    EXPECT_EQ(h.True("btn"),
              "pf_pfr pf_pfr_opp pf_raise_first_in pf_raise_first_in_opp pf_steal_att "
              "pf_steal_opp vpip vpip_opp");
    EXPECT_EQ(h.Value("btn", L"val_pf_stealer_pos"), 8);
    for (const char* blind : {"sb", "bb"}) {
        EXPECT_EQ(h.True(blind), "pf_3bet_opp pf_face_steal pf_fold_steal pf_pfr_opp vpip_opp");
    }
    EXPECT_EQ(h.True("co"), "pf_pfr_opp pf_raise_first_in_opp pf_steal_opp vpip_opp")
        << "a steal chance passed up is still a chance";
    EXPECT_EQ(h.True("utg"), "pf_pfr_opp pf_raise_first_in_opp vpip_opp");
}

TEST(PreflopFlagsTest, DealtCardsGiveNoRaiseFirstInOpportunity)
{
    CTestHand h(kSixMax, kBlinds +
                             "mp deal 2, utg raises 6, mp folds, co folds, btn folds, "
                             "sb folds, bb calls 4, FLOP");
    h.Compute();
    EXPECT_EQ(h.True("mp"), "pf_3bet_opp pf_pfr_opp vpip_opp");
    EXPECT_EQ(h.True("bb"), "pf_3bet_opp pf_pfr_opp vpip vpip_opp wtsd_opp");
}

TEST(PreflopFlagsTest, OpenThreeBetAndTheOpenerFolds)
{
    CTestHand h(kSixMax, kBlinds +
                             "utg raises 6, mp folds, co raises 18, btn folds, sb folds, "
                             "bb folds, utg folds, co uncalled 12, co collects 15");
    h.Compute();
    EXPECT_EQ(h.True("utg"),
              "pf_4bet_opp pf_face_3bet pf_fold_3bet pf_pfr pf_pfr_opp pf_raise_first_in "
              "pf_raise_first_in_opp vpip vpip_opp");
    EXPECT_EQ(h.True("co"), "pf_3bet pf_3bet_opp pf_pfr pf_pfr_opp vpip vpip_opp");
}

TEST(PreflopFlagsTest, FourAndFiveBetsAndTheResteal)
{
    CTestHand war(kSixMax, kBlinds +
                               "utg raises 6, co raises 18, btn folds, sb folds, bb folds, "
                               "utg raises 50, co raises 150, utg calls 100, FLOP");
    war.Compute();
    EXPECT_EQ(war.True("utg"),
              "pf_4bet pf_4bet_opp pf_face_3bet pf_face_5bet pf_pfr pf_pfr_opp "
              "pf_raise_first_in pf_raise_first_in_opp vpip vpip_opp wtsd_opp");
    EXPECT_EQ(war.True("co"),
              "pf_3bet pf_3bet_opp pf_5bet pf_5bet_opp pf_face_4bet pf_pfr pf_pfr_opp vpip "
              "vpip_opp wtsd_opp");
    EXPECT_TRUE(war.hand.stats.flags[L"flag_did_3bet"]);

    CTestHand resteal(kSixMax, kBlinds +
                                   "utg folds, mp folds, co raises 5, btn folds, "
                                   "sb raises 15, bb folds, co calls 10, FLOP");
    resteal.Compute();
    EXPECT_EQ(resteal.True("sb"),
              "pf_3bet pf_3bet_opp pf_face_steal pf_pfr pf_pfr_opp pf_resteal vpip vpip_opp "
              "wtsd_opp");
    EXPECT_EQ(resteal.Value("sb", L"val_pf_stealer_pos"), 7);

    CTestHand called("btn:BTN sb:SB bb:BB", kBlinds + "btn raises 5, sb folds, bb calls 3, FLOP");
    called.Compute();
    EXPECT_EQ(called.True("bb"),
              "pf_3bet_opp pf_call_steal pf_face_steal pf_pfr_opp vpip vpip_opp wtsd_opp");
}
