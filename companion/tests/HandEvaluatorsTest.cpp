#include "companion/HandEvaluators.h"

#include "foundation/Cards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "AsKd7h" -> card numbers.
std::vector<int> Cards(const std::wstring& text)
{
    std::vector<int> cards;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        cards.push_back(CardFromName(text.substr(i, 2)));
    }
    return cards;
}

int Omaha(const std::wstring& hole, const std::wstring& board)
{
    const std::vector<int> h = Cards(hole);
    const std::vector<int> b = Cards(board);
    return getCombinationOmahaFsm5Common(h.data(), static_cast<int>(h.size()), b.data(),
                                         static_cast<int>(b.size()), nullptr);
}

int Low(const std::wstring& hole, const std::wstring& board)
{
    const std::vector<int> h = Cards(hole);
    const std::vector<int> b = Cards(board);
    return SetLowValueCombinationOmahaCommon(h.data(), static_cast<int>(h.size()), b.data(),
                                             static_cast<int>(b.size()));
}

int ShortDeck(const std::wstring& hole, const std::wstring& board)
{
    const std::vector<int> h = Cards(hole);
    const std::vector<int> b = Cards(board);
    return EvaluateHoldem6Plus(h.data(), static_cast<int>(h.size()), b.data(),
                               static_cast<int>(b.size()));
}

}  // namespace

TEST(HandEvaluatorsTest, OmahaFlushNeedsTwoSuitedHoleCardsAndThreeSuitedBoardCards)
{
    // Four spades in the hand but two on the board: no flush.
    EXPECT_EQ(Get_rankFsm5(Omaha(L"AsKsQsJs", L"2s7sTd3h8c")), 1);
    // Four spades on the board and one in the hand: no flush either.
    EXPECT_NE(Get_rankFsm5(Omaha(L"AsKhQhTh", L"5s7s9sJs2d")), 6);
    EXPECT_EQ(Get_rankFsm5(Omaha(L"As2sQhTh", L"5s7s9sJs2d")), 6);
    // The flush takes the hand's two best spades and the board's three best.
    EXPECT_GT(Omaha(L"AsKs2s3s", L"5s7s9sJs2d"), Omaha(L"AsQs2s3s", L"5s7s9sJs2d"));
    EXPECT_EQ(Omaha(L"AsKs2s3s", L"5s7s9sJs2d"), Omaha(L"AsKs4s3s", L"6s7s9sJs2d"));
}

TEST(HandEvaluatorsTest, OmahaStraightsUseExactlyTwoHoleCards)
{
    // A king alone would straighten the board in Hold'em, not in Omaha.
    EXPECT_NE(Get_rankFsm5(Omaha(L"Kc3d4h5s", L"9cTdJhQs2d")), 5);
    EXPECT_EQ(Get_rankFsm5(Omaha(L"KcAd4h5s", L"9cTdJhQs2d")), 5);
    // The wheel is the lowest straight and still beats three of a kind.
    const int wheel = Omaha(L"Ac2dKhKs", L"3c4d5h9s9d");
    const int sixHigh = Omaha(L"6c2dKhKs", L"3c4d5h9s9d");
    const int trips = Omaha(L"9c2dKhQs", L"3c4d5h9s9d");
    EXPECT_EQ(Get_rankFsm5(wheel), 5);
    EXPECT_GT(sixHigh, wheel);
    EXPECT_GT(wheel, trips);
    EXPECT_EQ(Get_rankFsm5(trips), 4);
    // A king-high wrap does not go round the corner.
    EXPECT_NE(Get_rankFsm5(Omaha(L"Kc2dQh7s", L"Ac3d4h9s9d")), 5);
}

TEST(HandEvaluatorsTest, OmahaCategoryBoundaries)
{
    const int royal = Omaha(L"AsKs2c3d", L"QsJsTs4h5h");
    const int steelWheel = Omaha(L"As2s9c9d", L"3s4s5sKhQh");
    const int quads = Omaha(L"KcKd2c3d", L"KhKsTs4h5h");
    const int boardQuadsAndAPair = Omaha(L"2c2d7c8d", L"KcKdKhKs5h");
    const int fullHouse = Omaha(L"KcQd2c3d", L"KhKsQs4h5h");
    const int flush = Omaha(L"AhKh2c3d", L"QhJh4h9s5s");
    const int straight = Omaha(L"AhKd2c3d", L"QhJsTh9s5s");
    EXPECT_EQ(Get_rankFsm5(royal), 9);
    EXPECT_EQ(Get_rankFsm5(steelWheel), 9);
    EXPECT_GT(royal, steelWheel);
    EXPECT_GT(steelWheel, quads);
    EXPECT_EQ(Get_rankFsm5(quads), 8);
    // Only three of the four kings on the board can play.
    EXPECT_EQ(Get_rankFsm5(boardQuadsAndAPair), 7);
    EXPECT_GT(quads, fullHouse);
    EXPECT_EQ(Get_rankFsm5(fullHouse), 7);
    EXPECT_GT(fullHouse, flush);
    EXPECT_EQ(Get_rankFsm5(flush), 6);
    EXPECT_GT(flush, straight);
    // One king in the hand with three on the board is four of a kind.
    EXPECT_EQ(Get_rankFsm5(Omaha(L"Kc2d7h8s", L"KdKhKs3c4d")), 8);
    // A pocket pair on a paired board makes two pair, never three pairs' worth.
    EXPECT_EQ(Get_rankFsm5(Omaha(L"QcQd2h3s", L"8c8d5h6sKd")), 3);
}

TEST(HandEvaluatorsTest, MoreHoleCardsFindTheBestPair)
{
    // The sixth card brings the two cards that make the straight flush.
    EXPECT_EQ(Get_rankFsm5(Omaha(L"9h8h2c3d4d", L"ThJhQh5s5c")), 9);
    EXPECT_GT(Omaha(L"9h8h2c3d4dKh", L"ThJhQh5s5c"), Omaha(L"9h8h2c3d4d", L"ThJhQh5s5c"));
    // The reported five cards are two of the hand and three of the board.
    const std::vector<int> hole = Cards(L"2c3d4dKh9h8h");
    const std::vector<int> board = Cards(L"ThJhQh5s5c");
    int best5[5] = {};
    getCombinationOmahaFsm5Common(hole.data(), 6, board.data(), 5, best5);
    EXPECT_EQ(std::vector<int>(best5, best5 + 5), Cards(L"Kh9hThJhQh"));
}

TEST(HandEvaluatorsTest, EightOrBetterLows)
{
    EXPECT_EQ(Low(L"Ac2dKhKs", L"3c4d5hQsJd"), 225);  // the wheel, best possible
    EXPECT_EQ(Low(L"8c7dKhKs", L"6c5d4hQsJd"), 8);    // the worst qualifying low
    // Nines do not qualify; two low board cards are not enough.
    EXPECT_EQ(Low(L"9c2dKhKs", L"3c4d5hQsJd"), 0);
    EXPECT_EQ(Low(L"Ac2d3h4s", L"5c9dThQsJd"), 0);
    // Lows compare from the highest card down: 6-4-3-2-A beats 6-5-3-2-A.
    EXPECT_GT(Low(L"Ac4dKhKs", L"2c3d6hQsJd"), Low(L"Ac5dKhKs", L"2c3d6hQsJd"));
    // Counterfeited: the hand's ace and deuce pair the board's, so no low.
    EXPECT_EQ(Low(L"Ac2dKhKs", L"Ad2c3hQsJd"), 0);
    // One more low card in the hand is not enough; two that the board lacks are.
    EXPECT_EQ(Low(L"Ac2d5hKs", L"Ad2c3hQsJd"), 0);
    EXPECT_EQ(Low(L"Ac4d5hKs", L"Ad2c3hQsJd"), 225);
    // Pairs in the hand do not make a low with only one other low card.
    EXPECT_EQ(Low(L"AcAd2h2s", L"Ah2c3h9s9d"), 0);
}

TEST(HandEvaluatorsTest, ShortDeckOrder)
{
    const int flush = ShortDeck(L"AhKh", L"7h8h9cTdQh");
    const int fullHouse = ShortDeck(L"AhAd", L"AsKhKd6c7c");
    const int trips = ShortDeck(L"AhAd", L"AsKh9d6c7c");
    const int straight = ShortDeck(L"6h7d", L"8s9hTd6cKc");
    const int lowStraight = ShortDeck(L"Ah6d", L"7s8h9dKcKd");
    EXPECT_EQ(Get_rankFsm5(flush), 6);
    EXPECT_EQ(Get_rankFsm5(fullHouse), 7);
    EXPECT_GT(flush, fullHouse);
    EXPECT_GT(fullHouse, trips);
    EXPECT_GT(trips, straight);
    EXPECT_EQ(Get_rankFsm5(lowStraight), 5);
    EXPECT_GT(straight, lowStraight);
    EXPECT_GT(lowStraight, ShortDeck(L"AhAd", L"KsKh9d6c7c"));
    // With both a straight and three of a kind in seven cards, the trips play.
    EXPECT_EQ(Get_rankFsm5(ShortDeck(L"6h6d", L"6s7h8d9cTc")), 4);
    // A-6-7-8-9 of one suit is a straight flush, below 6-7-8-9-T of one suit.
    const int lowStraightFlush = ShortDeck(L"Ah6h", L"7h8h9hKcKd");
    EXPECT_EQ(Get_rankFsm5(lowStraightFlush), 9);
    EXPECT_GT(ShortDeck(L"6hTh", L"7h8h9hKcKd"), lowStraightFlush);
    EXPECT_GT(lowStraightFlush, ShortDeck(L"KhKs", L"KcKd9hAc6d"));
    // The board may play all five of its cards.
    EXPECT_EQ(ShortDeck(L"6c7d", L"AhKhQhJhTh"), ShortDeck(L"6s8d", L"AhKhQhJhTh"));
}

TEST(HandEvaluatorsTest, BadInputGivesNoHand)
{
    const std::vector<int> hole = Cards(L"AsKsQsJs");
    const std::vector<int> board = Cards(L"2c3c4c5c6c");
    EXPECT_EQ(getCombinationOmahaFsm5Common(hole.data(), 1, board.data(), 5, nullptr), 0);
    EXPECT_EQ(getCombinationOmahaFsm5Common(hole.data(), 4, board.data(), 2, nullptr), 0);
    EXPECT_EQ(getCombinationOmahaFsm5Common(nullptr, 4, board.data(), 5, nullptr), 0);
    const int duplicate[4] = {51, 51, 0, 1};
    EXPECT_EQ(getCombinationOmahaFsm5Common(duplicate, 4, board.data(), 5, nullptr), 0);
    const int outside[4] = {52, 50, 49, 48};
    EXPECT_EQ(getCombinationOmahaFsm5Common(outside, 4, board.data(), 5, nullptr), 0);
    EXPECT_EQ(SetLowValueCombinationOmahaCommon(duplicate, 4, board.data(), 5), 0);
    EXPECT_EQ(Get_rankFsm5(0), 0);
    EXPECT_EQ(Get_rankFsm5(-5), 0);
    // Fives and lower are not in the short deck.
    EXPECT_EQ(ShortDeck(L"5h6h", L"7h8h9hKcKd"), 0);
    EXPECT_EQ(ShortDeck(L"AhKh", L"7h8h"), 0);
}

TEST(HandEvaluatorsTest, TablesLoadAndCanBeFreedAndRebuilt)
{
    EXPECT_EQ(load_ofsm_omaha7(), 1);
    EXPECT_EQ(fsm5::load_fsm7(), 1);
    EXPECT_EQ(fsm5::load_2_index(), 1);
    EXPECT_EQ(fsm5::load_2(5, 1, 0), 1);
    EXPECT_EQ(fsm5::load_2(4, 1, 0), 0);
    const int before = Omaha(L"AsKs2c3d", L"QsJsTs4h5h");
    fsm5::Free();
    // Evaluating after a release builds the tables again.
    EXPECT_EQ(Omaha(L"AsKs2c3d", L"QsJsTs4h5h"), before);
    EXPECT_EQ(load_ofsm_omaha7(), 1);
}
