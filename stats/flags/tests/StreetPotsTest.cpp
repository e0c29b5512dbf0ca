#include "stats/flags/tests/CTestHand.h"

#include <gtest/gtest.h>

TEST(StreetPotsTest, RaiseNamesTheStreetTotalAndUncalledBetsComeBack)
{
    CTestHand h("btn:BTN sb:SB bb:BB",
                "sb sb 100, bb bb 200, btn calls 200, sb calls 100, bb raises 600, btn calls 400, "
                "sb folds, FLOP, bb bets 1000, btn raises 3000, bb calls 2000, TURN, bb bets 5000, "
                "btn folds, bb uncalled 5000, bb collects 7200");
    h.Compute();
    EXPECT_EQ(h.Value("bb", L"val_pot_p"), 600);
    EXPECT_EQ(h.Value("sb", L"val_pot_p"), 200);
    EXPECT_EQ(h.Value("btn", L"val_pot_f"), 3000);
    EXPECT_EQ(h.Value("bb", L"val_pot_f"), 3000);
    EXPECT_EQ(h.Value("bb", L"val_pot_t"), 0);
    EXPECT_EQ(h.hand.stats.values, (std::map<std::wstring, int32_t>{{L"val_last_street", 2},
                                                                    {L"val_players_f", 2},
                                                                    {L"val_players_r", 0},
                                                                    {L"val_players_t", 2},
                                                                    {L"val_pot_f", 6000},
                                                                    {L"val_pot_p", 1400},
                                                                    {L"val_pot_r", 0},
                                                                    {L"val_pot_t", 0}}));
    EXPECT_EQ(h.hand.stats.texts[L"str_pf_actions"], L"0000100P0000101P0000102R0000100P0000101L");
    EXPECT_EQ(h.hand.stats.texts[L"str_tn_actions"], L"0000102T0000100L");
    EXPECT_EQ(h.hand.stats.texts.count(L"str_rv_actions"), 0u);
}

TEST(StreetPotsTest, AntesStayBesideARaiseAndAStraddleNamesItsTotal)
{
    // Antes with a straddle posted as a second big blind, as club rooms write it:
    // 16 in antes, 2/4/8 blinds, a raise to 33 re-raised to 81 and called.
    CTestHand club("a:SB b:BB c:UTG1 d:UTG2 e:MP1 f:MP2 g:CO h:BTN",
                   "a ante 200, b ante 200, c ante 200, d ante 200, e ante 200, f ante 200, "
                   "g ante 200, h ante 200, a sb 200, b bb 400, c bb 800, g deal 2, d folds, "
                   "e raises 3300, f folds, g raises 8100, h folds, a folds, b folds, c folds, "
                   "e calls 4800, FLOP, e checks, g bets 6400, e raises 15000, g calls 8600");
    club.Compute();
    EXPECT_EQ(club.Value("e", L"val_pot_p"), 8300);
    EXPECT_EQ(club.hand.stats.values[L"val_pot_p"], 19200);

    // Straddles that each name the new total, over a button blind, then the
    // straddler's excess returned.
    CTestHand straddled("p1:BTN p2:SB hero:BB p4:CO",
                        "p2 ante 2, p4 ante 2, hero ante 2, p1 ante 2, p1 bb 2, p2 ante 4, "
                        "p2 ante 8, p2 ante 16, hero folds, p4 folds, p1 folds, p2 uncalled 14, "
                        "p2 collects 12");
    straddled.Compute(202);
    EXPECT_EQ(straddled.Value("p2", L"val_pot_p"), 4);
    EXPECT_EQ(straddled.hand.stats.values[L"val_pot_p"], 12);

    CTestHand returning("btn:BTN sb:SB bb:BB new:CO",
                        "sb sb 1, bb bb 2, new both 3, new raises 6, btn folds, sb folds, "
                        "bb calls 4, FLOP");
    returning.Compute();
    EXPECT_EQ(returning.Value("new", L"val_pot_p"), 7) << "the dead small blind stays in";
}
