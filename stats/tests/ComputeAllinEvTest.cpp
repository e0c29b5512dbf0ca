#include "stats/ComputeAllinEv.h"

#include "foundation/Cards.h"
#include "foundation/ILogSink.h"
#include "foundation/WideText.h"
#include "stats/AllinEquity.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

uint64_t Mask(const std::wstring& text)
{
    uint64_t mask = 0;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        mask |= uint64_t{1} << CardFromName(text.substr(i, 2));
    }
    return mask;
}

// Hi-lo on the turn where both players hold A-3 for the same low on every river
// and the hero's kings always take the high: the hero's share is exactly 3/4.
AllinEvInput ThreeQuartersHeadsUp()
{
    AllinEvInput input;
    input.gameKind = 10;
    input.holeCount = 4;
    input.variant = 1;
    input.allinStreet = 3;
    input.handNumber = L"123";
    input.board = {CardFromName(L"2c"), CardFromName(L"7d"), CardFromName(L"8h"),
                   CardFromName(L"Ks"), -1};
    input.boardMask = Mask(L"2c7d8hKs");
    input.heroIndex = 0;
    input.players = {{11, 10000, Mask(L"Ac3dKhKc")}, {12, 8000, Mask(L"Ad3cQhJd")}};
    input.pots = {10000};
    input.totalPot = 10050;
    input.rake = 50;
    input.heroInvested = 5000;
    input.heroNetWin = 2500;
    return input;
}

class CRecordingSink : public ILogSink
{
public:
    void Log(const std::wstring&) override {}
    void Output(const std::wstring&) override {}
    void Trace(const std::wstring& text) override { traces.push_back(text); }
    std::vector<std::wstring> traces;
};

}  // namespace

TEST(ComputeAllinEvTest, HeadsUpSinglePotAtSeventyFivePercent)
{
    AllinEvInput input = ThreeQuartersHeadsUp();
    std::vector<std::wstring> lines;
    ASSERT_EQ(ComputeAllinEv(input, true, lines), 1);
    EXPECT_DOUBLE_EQ(input.ev, 25.0);
    EXPECT_DOUBLE_EQ(input.diff, 0.0);
    EXPECT_EQ(AllinEvCents(input.ev), 2500);
    const std::vector<std::wstring> expected = {
        L"+++++++++++++++++++++++++++++++++++++++++++++++++++++++++",
        L"Hand #123 win = 25.00 Board = 2c 7d 8h Ks ",
        L"Hero has Kc Ac 3d Kh  startcash = 100.00",
        L"1 has 3c Jd Ad Qh  startcash = 80.00",
        L"Pot =  100.00 Rake = 0.50 Hero money = 50.00 ",
        L"Equity = 75.00% EV = 25.00  Diff = 0.00",
    };
    EXPECT_EQ(lines, expected);
    // Without the log switch nothing is written, and lines already there stay.
    std::vector<std::wstring> quiet = {L"kept"};
    AllinEvInput again = ThreeQuartersHeadsUp();
    ASSERT_EQ(ComputeAllinEv(again, false, quiet), 1);
    EXPECT_EQ(quiet, std::vector<std::wstring>{L"kept"});
    EXPECT_DOUBLE_EQ(again.ev, 25.0);
}

TEST(ComputeAllinEvTest, ResultCodesForInputItCannotUse)
{
    std::vector<std::wstring> lines;
    CRecordingSink sink;
    AllinEvInput shortHand = ThreeQuartersHeadsUp();
    shortHand.players[0].cardsMask = Mask(L"Ac3dKh");
    EXPECT_EQ(ComputeAllinEv(shortHand, true, lines, &sink), 0);
    EXPECT_DOUBLE_EQ(shortHand.ev, 0.0);
    EXPECT_TRUE(lines.empty());
    ASSERT_EQ(sink.traces.size(), 1u);
    EXPECT_NE(sink.traces[0].find(L"hand #123"), std::wstring::npos);

    AllinEvInput tooMany = ThreeQuartersHeadsUp();
    tooMany.holeCount = 7;
    EXPECT_EQ(ComputeAllinEv(tooMany, true, lines), 254);
    tooMany.holeCount = 1;
    EXPECT_EQ(ComputeAllinEv(tooMany, true, lines), 254);
    AllinEvInput street = ThreeQuartersHeadsUp();
    street.allinStreet = 0;
    EXPECT_EQ(ComputeAllinEv(street, true, lines), 255);
    street.allinStreet = 4;
    EXPECT_EQ(ComputeAllinEv(street, true, lines), 255);

    // Two players showing the same card, no opponent, no pot, no hero.
    AllinEvInput clash = ThreeQuartersHeadsUp();
    clash.players[1].cardsMask = Mask(L"AcAd3cQh");
    EXPECT_EQ(ComputeAllinEv(clash, true, lines), 0);
    AllinEvInput alone = ThreeQuartersHeadsUp();
    alone.players.pop_back();
    EXPECT_EQ(ComputeAllinEv(alone, true, lines), 0);
    AllinEvInput noPot = ThreeQuartersHeadsUp();
    noPot.pots.clear();
    EXPECT_EQ(ComputeAllinEv(noPot, true, lines), 0);
    AllinEvInput noHero = ThreeQuartersHeadsUp();
    noHero.heroIndex = 2;
    EXPECT_EQ(ComputeAllinEv(noHero, true, lines), 0);
    EXPECT_TRUE(lines.empty());
}

TEST(ComputeAllinEvTest, SidePotIsPlayedWithoutTheShortestStack)
{
    // Hero 10000, opponents 6000 and 3000, sorted deepest first as the parser
    // hands them over; pots 9000 and 6000.
    AllinEvInput input;
    input.gameKind = 7;
    input.holeCount = 4;
    input.allinStreet = 2;
    input.handNumber = L"77";
    input.board = {CardFromName(L"2h"), CardFromName(L"3c"), CardFromName(L"9d"), -1, -1};
    input.boardMask = Mask(L"2h3c9d");
    input.players = {
        {1, 10000, Mask(L"AsAhKsKh")}, {2, 6000, Mask(L"JcTc9c8d")}, {3, 3000, Mask(L"QdQc4s5s")}};
    input.heroIndex = 0;
    input.pots = {9000, 6000};
    input.totalPot = 15000;
    input.heroInvested = 6000;
    input.heroNetWin = 9000;
    std::vector<std::wstring> lines;
    ASSERT_EQ(ComputeAllinEv(input, true, lines), 1);

    const double main = Equity(input, {Mask(L"JcTc9c8d"), Mask(L"QdQc4s5s")}, 0);
    const double side = Equity(input, {Mask(L"JcTc9c8d")}, Mask(L"QdQc4s5s"));
    EXPECT_NE(side, Equity(input, {Mask(L"JcTc9c8d")}, 0));  // the dead cards count
    EXPECT_NEAR(input.ev, (9000 * main / 100 + 6000 * side / 100 - 6000) / 100, 1e-9);
    EXPECT_NEAR(input.diff, 90.0 - input.ev, 1e-9);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[5], L"Total pot =  150.00 Main pot = 90.00 Rake = 0.00 Hero money = 60.00 ");
    EXPECT_EQ(lines[6], L"Side pot-1 =  60.00");
    EXPECT_EQ(lines[7], FormatW(L"Equity (Main pot) = %.2lf%%", main));
    EXPECT_EQ(lines[8], FormatW(L"Equity (Side pot-1) = %.2lf%%", side));
    EXPECT_EQ(lines[9], FormatW(L"EV = %.2lf  Diff = %.2lf", input.ev, input.diff));
}

TEST(ComputeAllinEvTest, MorePotsThanOpponentsAreReportedAndAnUncontestedPotIsWon)
{
    // Heads-up against a shorter stack with a side pot a folded player left:
    // the hero takes it whole.
    AllinEvInput input = ThreeQuartersHeadsUp();
    input.players[1].startCash = 3000;
    input.pots = {6000, 2000};
    input.heroInvested = 4000;
    std::vector<std::wstring> lines;
    ASSERT_EQ(ComputeAllinEv(input, true, lines), 1);
    EXPECT_DOUBLE_EQ(input.ev, (6000 * 0.75 + 2000 - 4000) / 100.0);
    EXPECT_EQ(lines[4], L"Conut of opponents is not equal count of pots!");
    EXPECT_EQ(lines[5], L"sitehandnum = 123");
    EXPECT_EQ(lines[8], L"Equity (Main pot) = 75.00%");
    EXPECT_EQ(lines[9], L"Equity (Side pot-1) = 100.00%");

    // A hero with the shortest stack plays the main pot only.
    AllinEvInput shortest = ThreeQuartersHeadsUp();
    shortest.players[0].startCash = 2000;
    shortest.pots = {6000, 2000};
    ASSERT_EQ(ComputeAllinEv(shortest, false, lines), 1);
    EXPECT_DOUBLE_EQ(shortest.ev, (6000 * 0.75 - 5000) / 100.0);
}

TEST(ComputeAllinEvTest, CentsRoundLossesLikeWins)
{
    EXPECT_EQ(AllinEvCents(25.0), 2500);
    EXPECT_EQ(AllinEvCents(-25.0), -2500);
    EXPECT_EQ(AllinEvCents(-25.004), -2500);
    EXPECT_EQ(AllinEvCents(-25.006), -2501);
    EXPECT_EQ(AllinEvCents(12.345678), 1235);
}
