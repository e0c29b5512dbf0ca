#include "parser/HandSplitter.h"

#include "companion/ReadHistoryFileEx.h"
#include "foundation/WideText.h"
#include "parser/strategies/ClubMultiBoard.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kroHandParser;

namespace {

CSplitRules StarsRules()
{
    CSplitRules rules;
    rules.isStart = [](const std::wstring& l) { return l.rfind(L"PokerStars Hand #", 0) == 0; };
    rules.leaveOut = [](const std::wstring& l, std::vector<std::wstring>&) {
        return IsTableChatterLine(l) || l.rfind(L"# {", 0) == 0;
    };
    return rules;
}

}  // namespace

TEST(HandSplitterTest, StartLinesOpenHandsAndChatterIsLeftOut)
{
    const std::vector<std::wstring> lines = {
        L"junk before the first hand",     L"PokerStars Hand #1: a",
        L"  Seat 1: x ($1 in chips)  ",    L"joe said, \"hello\"",
        L"bob joins the table at seat #3", L"# {\"gt\":\"PLO\"}",
        L"PokerStars Hand #2: b",          L"Seat 2: y ($2 in chips)",
    };
    std::vector<std::vector<std::wstring>> hands;
    const int n = SplitHands(lines, StarsRules(), [&](std::vector<std::wstring>& hand) {
        hands.push_back(hand);
        return true;
    });
    EXPECT_EQ(n, 2);
    ASSERT_EQ(hands.size(), 2u);
    EXPECT_EQ(hands[0],
              (std::vector<std::wstring>{L"PokerStars Hand #1: a", L"Seat 1: x ($1 in chips)"}));
    // The last line of the file stays with the last hand.
    EXPECT_EQ(hands[1].back(), L"Seat 2: y ($2 in chips)");
}

TEST(HandSplitterTest, CountsOnlyHandsTheCallbackHandled)
{
    const std::vector<std::wstring> lines = {L"PokerStars Hand #1", L"PokerStars Hand #2"};
    int seen = 0;
    EXPECT_EQ(
        SplitHands(lines, StarsRules(), [&](std::vector<std::wstring>&) { return ++seen == 2; }),
        1);
    EXPECT_EQ(SplitHands({}, StarsRules(), [](std::vector<std::wstring>&) { return true; }), 0);
}

TEST(HandSplitterTest, CorpusFilesSplitIntoOneHandPerStartLine)
{
    VX_REQUIRE_CORPUS();
    for (const char* room : {"pokerstars", "ggpoker", "888", "pkng"}) {
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(vxtest::CorpusDir() + "/" + room)) {
            if (!entry.is_regular_file()) {
                continue;
            }
            int64_t pos = 0;
            std::vector<std::wstring> lines;
            ASSERT_EQ(ReadHistoryFileEx(entry.path().string(), pos, lines), kReadOk);
            CSplitRules rules;
            rules.isStart = [](const std::wstring& l) {
                return l.rfind(L"PokerStars Hand #", 0) == 0 ||
                       l.find(L"PokerStars Zoom Hand #") != std::wstring::npos ||
                       l.rfind(L"PokerStars Home Game Hand #", 0) == 0 ||
                       l.rfind(L"PokerStars Game #", 0) == 0 || l.rfind(L"Poker Hand #", 0) == 0 ||
                       l.rfind(L"#Game No :", 0) == 0 || l.rfind(L"Game started at:", 0) == 0;
            };
            size_t starts = 0;
            for (const auto& raw : lines) {
                starts += rules.isStart(Trim(raw)) ? 1 : 0;
            }
            const int hands =
                SplitHands(lines, rules, [](std::vector<std::wstring>&) { return true; });
            EXPECT_EQ(static_cast<size_t>(hands), starts) << entry.path();
        }
    }
}

TEST(ClubMultiBoardTest, ThreeRunsFromTheFlopBecomeTheRunItTwiceLayout)
{
    const std::vector<std::wstring> hand = {
        L"PokerMaster Hand #1: Omaha Pot Limit ($1/$2 USD) - 2019/05/26 12:53:33 UTC",
        L"*** HOLE CARDS ***",
        L"*** FLOP *** [Ah Kd 2c]",
        L"*** TURN *** [Ah Kd 2c] [3s]",
        L"*** RIVER *** [Ah Kd 2c 3s] [4h]",
        L"*** SUMMARY ***",
        L"Board [Ah Kd 2c 3s 4h]",
        L"Board [Ah Kd 2c 9s Th]",
        L"Board [Ah Kd 2c Js Qh]",
    };
    const auto out = RewriteClubMultiBoard(hand);
    const std::vector<std::wstring> expected = {
        L"PokerMaster Hand #1: Omaha Pot Limit ($1/$2 USD) - 2019/05/26 12:53:33 UTC",
        L"*** HOLE CARDS ***",
        L"*** FLOP *** [Ah Kd 2c]",
        L"*** TURN *** [Ah Kd 2c] [3s]",
        L"*** FIRST RIVER *** [Ah Kd 2c 3s] [4h]",
        L"*** SECOND RIVER *** [Ah Kd 2c 3s] [Th]",
        L"*** THIRD RIVER *** [Ah Kd 2c 3s] [Qh]",
        L"*** SUMMARY ***",
        L"FIRST Board [Ah Kd 2c 3s 4h]",
        L"SECOND Board [Ah Kd 2c 9s Th]",
        L"THIRD Board [Ah Kd 2c Js Qh]",
    };
    // Boards sharing three cards are run from the turn.
    const std::vector<std::wstring> fromTurn = {hand[0],
                                                hand[1],
                                                hand[2],
                                                L"*** FIRST TURN *** [Ah Kd 2c] [3s]",
                                                L"*** FIRST RIVER *** [Ah Kd 2c 3s] [4h]",
                                                L"*** SECOND TURN *** [Ah Kd 2c] [9s]",
                                                L"*** SECOND RIVER *** [Ah Kd 2c 9s] [Th]",
                                                L"*** THIRD TURN *** [Ah Kd 2c] [Js]",
                                                L"*** THIRD RIVER *** [Ah Kd 2c Js] [Qh]",
                                                hand[5],
                                                expected[8],
                                                expected[9],
                                                expected[10]};
    EXPECT_EQ(out, fromTurn);
}

TEST(ClubMultiBoardTest, OneBoardLeavesTheHandAsItIs)
{
    const std::vector<std::wstring> hand = {L"PokerMaster Hand #1", L"Board [Ah Kd 2c 3s 4h]"};
    EXPECT_EQ(RewriteClubMultiBoard(hand), hand);
}

TEST(ClubMultiBoardTest, GameCodesNameTheOmahaVariant)
{
    std::vector<std::wstring> hand = {L"PokerMaster Hand #1: Omaha Pot Limit ($1/$2 USD)"};
    ApplyClubGameCode(L"# {\"gt\":\"PLO5\",\"tn\":\"x\"}", hand);
    EXPECT_EQ(hand[0], L"PokerMaster Hand #1: 5 Card Omaha Pot Limit ($1/$2 USD)");
    ApplyClubGameCode(L"# {\"gt\":\"PLO5\"}", hand);
    EXPECT_EQ(hand[0], L"PokerMaster Hand #1: 5 Card Omaha Pot Limit ($1/$2 USD)");
    std::vector<std::wstring> six = {L"X Hand #2: Omaha Pot Limit"};
    ApplyClubGameCode(L"# {\"gt\":\"PLO6HL\"}", six);
    EXPECT_EQ(six[0], L"X Hand #2: 6 Card Omaha Pot Limit");
    std::vector<std::wstring> none;
    ApplyClubGameCode(L"# {\"gt\":\"PLO5\"}", none);
    EXPECT_TRUE(none.empty());
}
