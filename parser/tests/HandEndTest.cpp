// The one end of every room's hands: rake shares that add up, and the rules
// that a hand is stored whole or not at all, checked on hands written for them
// and on the real hands that showed each fault.
#include "parser/HandEnd.h"

#include "parser/tests/RoomChecksFixture.h"

#include <gtest/gtest.h>

#include <numeric>

using kroHandParser::CHandEnd;

namespace {

std::vector<CHandPlayerRecord> Bets(std::initializer_list<int32_t> bets)
{
    std::vector<CHandPlayerRecord> players;
    for (const int32_t bet : bets) {
        CHandPlayerRecord p;
        p.bet = bet;
        players.push_back(p);
    }
    return players;
}

int32_t Sum(const std::vector<int32_t>& shares)
{
    return std::accumulate(shares.begin(), shares.end(), 0);
}

}  // namespace

TEST(RakeSharesTest, SharesAddUpToTheRakeWithTheLargestRemaindersRoundedUp)
{
    // 22 x 205 / 450 = 10.02, 22 x 30 / 450 = 1.47, 22 x 10 / 450 = 0.49: the
    // cent rounding left over goes to the largest remainder.
    EXPECT_EQ(CHandEnd::RakeShares(22, Bets({205, 205, 30, 10})),
              (std::vector<int32_t>{10, 10, 1, 1}));
    // Three equal bets and one cent left over twice: the earlier players.
    EXPECT_EQ(CHandEnd::RakeShares(5, Bets({100, 100, 100})), (std::vector<int32_t>{2, 2, 1}));
    EXPECT_EQ(CHandEnd::RakeShares(7, Bets({300, 0, 100})), (std::vector<int32_t>{5, 0, 2}));
    // Every share of a large rake over many players.
    const auto many = CHandEnd::RakeShares(2147483, Bets({1, 2, 3, 5, 8, 13, 21, 34, 55, 89}));
    EXPECT_EQ(Sum(many), 2147483);
}

TEST(RakeSharesTest, NoRakeOrNoBetsGiveNoShares)
{
    EXPECT_EQ(CHandEnd::RakeShares(0, Bets({100, 100})), (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(CHandEnd::RakeShares(10, Bets({0, 0})), (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(CHandEnd::RakeShares(10, Bets({})), (std::vector<int32_t>{}));
    // A negative bet counts as none.
    EXPECT_EQ(CHandEnd::RakeShares(10, Bets({-50, 100})), (std::vector<int32_t>{0, 10}));
}

namespace {

const char* const kHandTop =
    "PokerStars Hand #400000001:  Hold'em No Limit ($0.05/$0.10 USD) - 2024/04/01 12:00:00 ET\n"
    "Table 'Synthetic III' 6-max Seat #1 is the button\n";

const char* const kSeats =
    "Seat 1: Anchovy ($10 in chips)\n"
    "Seat 2: Barracuda ($10 in chips)\n"
    "Seat 3: Hero ($10 in chips)\n";

const char* const kPlay =
    "Barracuda: posts small blind $0.05\n"
    "Hero: posts big blind $0.10\n"
    "*** HOLE CARDS ***\n"
    "Dealt to Hero [Ac Kc]\n"
    "Anchovy: raises $0.20 to $0.30\n"
    "Barracuda: folds\n"
    "Hero: calls $0.20\n"
    "*** FLOP *** [2d 5h 9s]\n"
    "Hero: checks\n"
    "Anchovy: bets $0.40\n"
    "Hero: folds\n"
    "Uncalled bet ($0.40) returned to Anchovy\n"
    "Anchovy collected $0.62 from pot\n"
    "*** SUMMARY ***\n";

const char* const kTotal = "Total pot $0.65 | Rake $0.03\n";

const char* const kSummary =
    "Board [2d 5h 9s]\n"
    "Seat 1: Anchovy (button) collected ($0.62)\n"
    "Seat 2: Barracuda (small blind) folded before Flop\n"
    "Seat 3: Hero (big blind) folded on the Flop\n";

std::string Hand(const std::string& number,
                 const std::string& seats = kSeats,
                 const std::string& total = kTotal,
                 const std::string& summary = kSummary)
{
    std::string top = kHandTop;
    top.replace(top.find("400000001"), 9, number);
    return top + seats + kPlay + total + summary + "\n\n";
}

}  // namespace

class HandEndTest : public RoomChecksFixture
{
protected:
    bool Logged(const std::wstring& text) const
    {
        for (const auto& line : m_t.sink.logs) {
            if (line.find(text) != std::wstring::npos) {
                return true;
            }
        }
        return false;
    }

    int ImportCorpus(const std::string& relative, const std::wstring& room)
    {
        return ImportFile(vxtest::CorpusFile(relative), room);
    }

    // Every stored hand's money adds up and its rake shares make its rake.
    void ExpectHandsBalance()
    {
        for (const wchar_t* room : {L"PokerStars", L"GGPoker"}) {
            EXPECT_EQ(UnbalancedHands(room), L"") << room;
            EXPECT_EQ(RakeSharesOff(room), L"") << room;
            EXPECT_EQ(ResultsOff(room), L"") << room;
        }
    }
};

// A hand whose pot is not known would be stored with its actions and no
// players: such a hand is failed with a line that says why, and the hands
// around it are stored whole.
TEST_F(HandEndTest, HandsWithoutTheirPotAreFailedWholeAndTheRestStored)
{
    const std::string text = Hand("400000001") + Hand("400000002", kSeats, "", kSummary) +
                             Hand("400000003", kSeats, "Total pot $7.040 | Rake $0\n", kSummary) +
                             Hand("400000004", kSeats, "", "") + Hand("400000005");
    EXPECT_EQ(ImportText(text), 2);
    EXPECT_EQ(m_t.env->counts.stored, 2);
    EXPECT_EQ(m_t.env->counts.rejected, 3);
    EXPECT_EQ(Scalar(L"SELECT string_agg(sitehandnumber::text, ',' ORDER BY sitehandnumber) "
                     L"FROM hands"),
              L"400000001,400000005");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM handsactions WHERE idhand NOT IN (SELECT id FROM "
                     L"hands)"),
              L"0");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM handsplayers"), L"6");
    EXPECT_TRUE(Logged(L"hand #400000002 skipped: its total pot line is missing or unreadable"));
    EXPECT_TRUE(Logged(L"hand #400000003 skipped: its total pot line is missing or unreadable"));
    EXPECT_TRUE(Logged(L"hand #400000004 skipped: its total pot line is missing or unreadable"));
    ExpectHandsBalance();
}

// Amounts are 32-bit counts of cents: a larger one cannot be stored as it is
// written, and a stack near the limit would wrap a sum. Such hands are not
// stored rather than stored with a wrong number.
TEST_F(HandEndTest, AmountsBeyondTheCentsRangeFailTheHand)
{
    std::string huge = kSeats;
    huge.replace(huge.find("$10 in chips"), 12, "$99,999,999,999.99 in chips");
    std::string nearLimit = kSeats;
    nearLimit.replace(nearLimit.find("$10 in chips"), 12, "$21474836.40 in chips");
    std::string hugeBet = Hand("400000013");
    hugeBet.replace(hugeBet.find("Anchovy: bets $0.40"), 19, "Anchovy: bets $30000000");
    hugeBet.replace(hugeBet.find("Uncalled bet ($0.40)"), 20, "Uncalled bet ($30000000)");
    std::string negative = kSeats;
    negative.replace(negative.find("$10 in chips"), 12, "$-10 in chips");
    EXPECT_EQ(ImportText(Hand("400000011", huge) + Hand("400000012", nearLimit) + hugeBet +
                         Hand("400000014") + Hand("400000015", negative)),
              2);
    EXPECT_EQ(Scalar(L"SELECT string_agg(sitehandnumber::text, ',' ORDER BY sitehandnumber) "
                     L"FROM hands"),
              L"400000012,400000014");
    EXPECT_TRUE(Logged(L"hand #400000015 skipped: the stack, bet or win of Anchovy is negative"));
    EXPECT_TRUE(
        Logged(L"hand #400000011 skipped: the stack, bet or win of Anchovy is negative "
               L"or beyond 21,474,836.47"));
    EXPECT_TRUE(Logged(L"hand #400000013 skipped: an action's amount is negative or beyond"));
    // A stack just below the limit is a real number: its hand adds up.
    EXPECT_EQ(Column(L"400000012", L"Anchovy", L"startcashincents"), L"2147483640");
    EXPECT_EQ(Column(L"400000012", L"Anchovy", L"netwin"), L"32");
    ExpectHandsBalance();
}

TEST_F(HandEndTest, NamesWithANulOrOverTheColumnsLengthFailTheHand)
{
    std::string nul = kSeats;
    nul.replace(nul.find("Hero ($10"), 4, std::string("He\0ro", 5));
    std::string play = Hand("400000021", nul);
    // Every line of the player carries the same name.
    for (size_t at = play.find("Hero"); at != std::string::npos; at = play.find("Hero", at)) {
        play.replace(at, 4, std::string("He\0ro", 5));
    }
    const std::string longName(300, 'x');
    std::string seats = kSeats;
    seats.replace(seats.find("Anchovy"), 7, longName);
    std::string longHand = Hand("400000022", seats);
    for (size_t at = longHand.find("Anchovy"); at != std::string::npos;
         at = longHand.find("Anchovy", at)) {
        longHand.replace(at, 7, longName);
    }
    EXPECT_EQ(ImportText(play + longHand + Hand("400000023")), 1);
    EXPECT_EQ(Scalar(L"SELECT string_agg(sitehandnumber::text, ',') FROM hands"), L"400000023");
    EXPECT_TRUE(Logged(L"hand #400000021 skipped: a player name contains a NUL character"));
    EXPECT_TRUE(Logged(L"hand #400000022 skipped: a player name is longer than 255 characters"));
    EXPECT_EQ(Scalar(L"SELECT max(length(name)) FROM players"), L"9");
}

// The uncalled part of the old layout's big blind goes back although the file
// writes no return, and the player who posts the small blind is the small
// blind, though the big blind sits on the button.
TEST_F(HandEndTest, Issue11_OldLayoutBigBlindWalkOfTheCorpus)
{
    VX_REQUIRE_CORPUS();
    ASSERT_EQ(
        ImportCorpus("pokerstars/LHE-USD-1.00-200508.BB.and.Button.same.player.txt", L"PokerStars"),
        1);
    EXPECT_EQ(Column(L"2344646393", L"Hero", L"netwin"), L"50");
    EXPECT_EQ(Column(L"2344646393", L"Hero", L"position"), L"10");
    EXPECT_EQ(Column(L"2344646393", L"fblm2002", L"position"), L"9");
    ExpectHandsBalance();
}

// A player who lost the show down and was paid a cash out by the room: the
// show down lost, the cash out is money from outside the pot.
TEST_F(HandEndTest, Issue11_ShowedAndLostWithACashOutIsNoShowdownWin)
{
    VX_REQUIRE_CORPUS();
    ASSERT_EQ(ImportCorpus("pokerstars/2025-NL-6max-USD-0.05-0.10.cashout.txt", L"PokerStars"), 1);
    EXPECT_EQ(Column(L"257180854570", L"Player3", L"netwin"), L"924");
    EXPECT_EQ(Column(L"257180854570", L"Player3", L"showdownwin"), L"-1353");
    EXPECT_EQ(Column(L"257180854570", L"Player3", L"nonshowdownwin"), L"2277");
    EXPECT_EQ(Column(L"257180854570", L"Player3", L"flag_wtsd"), L"true");
    EXPECT_EQ(Column(L"257180854570", L"Player3", L"flag_won_wtsd"), L"false");
    EXPECT_EQ(Column(L"257180854570", L"Player1", L"flag_won_wtsd"), L"true");
}

// Cash-out risk paid by players other than the hero, once or twice.
TEST_F(HandEndTest, Issue11_CashOutRiskOfEveryPlayerOfTheCorpus)
{
    VX_REQUIRE_CORPUS();
    ASSERT_EQ(ImportCorpus("ggpoker/PLO5-6max-USD-2-5-202205.cashout.win.double.txt", L"GGPoker"),
              1);
    // 479.42 from the pot less 2.00 twice.
    EXPECT_EQ(Column(L"47349310", L"466a0aa1", L"totalwin"), L"47542");
    EXPECT_EQ(Scalar(L"SELECT sum(hp.netwin) + h.rake FROM handsplayers hp JOIN hands h ON h.id "
                     L"= hp.idhand GROUP BY h.rake"),
              L"-400");
}

TEST_F(HandEndTest, Issue11_888HandsOfTheCorpusGetTheirFlags)
{
    VX_REQUIRE_CORPUS();
    ASSERT_GT(
        ImportCorpus("888/888poker20190127 Ravenna $0.01-$0.02 No Limit Holdem.txt", L"888Poker"),
        0);
    // A limped pot: the turn's last raiser bets the river, called, shown down.
    EXPECT_EQ(TrueFlags(L"512810968", L"woggan"),
              L"pf_pfr_opp pf_raise_first_in_opp rv_call_cbet rv_face_cbet vpip vpip_opp "
              L"won_wtsd wtsd wtsd_opp wwsf");
    EXPECT_EQ(TrueFlags(L"512810968", L"B2B_Suckouts"), L"rv_cbet rv_cbet_opp wtsd wtsd_opp");
    EXPECT_EQ(Column(L"512810968", L"newmarch14", L"flag_vpip"), L"true");
    EXPECT_EQ(Column(L"512810968", L"newmarch14", L"flag_wtsd"), L"false");
}

TEST_F(HandEndTest, Issue11_PokerKingAsiaShowdownOfTheSummaryLines)
{
    VX_REQUIRE_CORPUS();
    ImportCorpus("pkng/NLHE-6max-USD-0.01-0.02-201608.Short.HH00000000 G0.txt", L"PokerKing Asia");
    EXPECT_EQ(HandColumn(L"698347770", L"showdown"), L"true");
    EXPECT_EQ(Column(L"698347770", L"ChazDazzle", L"flag_wtsd"), L"true");
    EXPECT_EQ(Column(L"698347770", L"MEG1203", L"flag_wtsd"), L"true");
    EXPECT_EQ(Column(L"698347770", L"MosarP73", L"flag_wtsd"), L"false");
}

TEST_F(HandEndTest, Issue11_WalkFoldersOfTheCorpusHadTheirChances)
{
    VX_REQUIRE_CORPUS();
    ImportCorpus("pokerstars/PokerStudier_HH6.txt", L"PokerStars");
    EXPECT_EQ(TrueFlags(L"204330101818", L"DemolishIT"),
              L"pf_pfr_opp pf_raise_first_in_opp pf_steal_opp vpip_opp");
    EXPECT_EQ(TrueFlags(L"204330101818", L"PlayTheBlues4U"),
              L"pf_pfr_opp pf_raise_first_in_opp vpip_opp");
    EXPECT_EQ(TrueFlags(L"204330101818", L"skillzplumber"), L"");
}

TEST_F(HandEndTest, Issue11_TournamentAndCancelledHandsOfTheCorpusStayOut)
{
    VX_REQUIRE_CORPUS();
    EXPECT_EQ(ImportCorpus("tournament-negative/NLHE-STT-5.00-201901.BLAST.txt", L"888Poker"), 0);
    EXPECT_EQ(ImportCorpus("tournament-negative/NLHE-2max-USD-2.20 HH00000000 "
                           "T5732408-G0-201608.Turbo.txt",
                           L"PokerKing Asia"),
              0);
    ImportCorpus("pokerstars/PLO-6max-USD-200-400-201510.partial.observed.txt", L"PokerStars");
    EXPECT_TRUE(Logged(L"hand #142579689317 left out: it was cancelled"));
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands h WHERE NOT EXISTS (SELECT 1 FROM "
                     L"handsplayers WHERE idhand = h.id)"),
              L"0");
}

TEST_F(HandEndTest, Issue11_ShortDeckHeadersOfTheCorpusAreRead)
{
    VX_REQUIRE_CORPUS();
    ASSERT_EQ(ImportCorpus("ggpoker/NL-ShortDeck-5max-USD-0.2-202103.txt", L"GGPoker"), 4);
    EXPECT_EQ(Scalar(L"SELECT string_agg(DISTINCT g.idgamekind || '/' || g.bigblind || '/' || "
                     L"g.ante, ',') FROM gametypes g"),
              L"202/2/2");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands WHERE utc = 0"), L"0");
    ExpectHandsBalance();
}
