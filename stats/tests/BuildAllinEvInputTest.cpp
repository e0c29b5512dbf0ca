#include "stats/BuildAllinEvInput.h"

#include "foundation/Cards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> Cards(const std::wstring& text)
{
    std::vector<int> cards;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        cards.push_back(CardFromName(text.substr(i, 2)));
    }
    return cards;
}

uint64_t Mask(const std::wstring& text)
{
    uint64_t mask = 0;
    for (const int card : Cards(text)) {
        mask |= uint64_t{1} << card;
    }
    return mask;
}

CAllinHandPlayer Player(int id, int startCash, const std::wstring& cards, bool hero = false)
{
    CAllinHandPlayer p;
    p.handPlayerId = id;
    p.startCash = startCash;
    p.cards = Cards(cards);
    p.hero = hero;
    p.stillIn = true;
    p.netWin = hero ? 700 : -700;
    p.bet = 700;
    return p;
}

CAllinHandFacts Hand(int gameKind, int street)
{
    CAllinHandFacts facts;
    facts.gameKind = gameKind;
    facts.allinStreet = street;
    facts.handNumber = L"555";
    facts.totalPot = 1450;
    facts.rake = 50;
    facts.board = Cards(L"2c7d8hKsQd");
    facts.lastPotAmount = 1400;
    facts.players = {Player(1, 3000, L"Ac3dKhKc", true), Player(2, 5000, L"Ad3cQhJd")};
    return facts;
}

}  // namespace

TEST(BuildAllinEvInputTest, FillsTheHandFactsAndTheKnownBoard)
{
    const auto input = BuildAllinEvInput(Hand(10, 2));
    ASSERT_TRUE(input);
    EXPECT_EQ(input->gameKind, 10);
    EXPECT_EQ(input->holeCount, 4);
    EXPECT_EQ(input->variant, 1);
    EXPECT_EQ(input->allinStreet, 2);
    EXPECT_DOUBLE_EQ(input->heroNetWin, 700);
    EXPECT_EQ(input->heroInvested, 700);
    EXPECT_EQ(input->totalPot, 1450);
    EXPECT_EQ(input->rake, 50);
    EXPECT_EQ(input->handNumber, L"555");
    EXPECT_EQ(input->boardMask, Mask(L"2c7d8h"));
    EXPECT_EQ(input->board[2], CardFromName(L"8h"));
    EXPECT_EQ(input->board[3], -1);
    // Without a pot list: one pot, the last one written, players as listed.
    EXPECT_EQ(input->pots, std::vector<int32_t>{1400});
    ASSERT_EQ(input->players.size(), 2u);
    EXPECT_EQ(input->heroIndex, 0);
    EXPECT_EQ(input->players[1].cardsMask, Mask(L"Ad3cQhJd"));

    EXPECT_EQ(BuildAllinEvInput(Hand(10, 1))->boardMask, 0u);
    EXPECT_EQ(BuildAllinEvInput(Hand(10, 3))->boardMask, Mask(L"2c7d8hKs"));
    // One card is shown before the flop in the games of variants 10 and 11.
    CAllinHandFacts early = Hand(16, 1);
    early.players = {Player(1, 3000, L"Ac3dKhKc5c", true), Player(2, 5000, L"Ad3cQhJd5d")};
    EXPECT_EQ(BuildAllinEvInput(early)->boardMask, Mask(L"2c"));
}

TEST(BuildAllinEvInputTest, NothingWithoutHeroOpponentOrEquityGame)
{
    EXPECT_FALSE(BuildAllinEvInput(Hand(2, 1)));
    EXPECT_FALSE(BuildAllinEvInput(Hand(8, 1)));
    CAllinHandFacts folded = Hand(7, 1);
    folded.players[1].stillIn = false;
    EXPECT_FALSE(BuildAllinEvInput(folded));
    CAllinHandFacts unknown = Hand(7, 1);
    unknown.players[1].cards.clear();
    EXPECT_FALSE(BuildAllinEvInput(unknown));
    CAllinHandFacts heroOut = Hand(7, 1);
    heroOut.players[0].stillIn = false;
    heroOut.players.push_back(Player(3, 100, L"2s3s4s5s"));
    EXPECT_FALSE(BuildAllinEvInput(heroOut));
    // A player without cards simply does not take part.
    CAllinHandFacts third = Hand(7, 1);
    third.players.push_back(Player(3, 100, L""));
    EXPECT_EQ(BuildAllinEvInput(third)->players.size(), 2u);
}

TEST(BuildAllinEvInputTest, HoleCardsPerGameKind)
{
    // Fusion: the hole-card count follows the known board.
    CAllinHandFacts fusion = Hand(30, 1);
    fusion.players[0].cards64 = Mask(L"Ac3dKhKc");
    auto input = BuildAllinEvInput(fusion);
    EXPECT_EQ(input->holeCount, 2);
    EXPECT_EQ(input->players[0].cardsMask, Mask(L"Ac3d"));
    fusion.allinStreet = 2;
    input = BuildAllinEvInput(fusion);
    EXPECT_EQ(input->holeCount, 3);
    EXPECT_EQ(input->players[0].cardsMask, Mask(L"Ac3dKh"));
    fusion.allinStreet = 3;
    EXPECT_EQ(BuildAllinEvInput(fusion)->holeCount, 4);
    // Short deck uses the first two cards; other kinds prefer the stored mask.
    CAllinHandFacts shortDeck = Hand(202, 1);
    shortDeck.players = {Player(1, 3000, L"AsKs", true), Player(2, 5000, L"QhQd")};
    shortDeck.players[0].cards64 = Mask(L"AsKsQs");
    EXPECT_EQ(BuildAllinEvInput(shortDeck)->players[0].cardsMask, Mask(L"AsKs"));
    CAllinHandFacts stored = Hand(7, 1);
    stored.players[1].cards64 = Mask(L"Ad3cQhJs");
    EXPECT_EQ(BuildAllinEvInput(stored)->players[1].cardsMask, Mask(L"Ad3cQhJs"));
}

TEST(BuildAllinEvInputTest, PotListSortsPlayersDeepestFirstAndFindsTheHero)
{
    CAllinHandFacts facts = Hand(7, 1);
    facts.players.push_back(Player(3, 1000, L"2s3s4s5s"));
    facts.pots = {3000, 4000};
    const auto input = BuildAllinEvInput(facts);
    ASSERT_TRUE(input);
    EXPECT_EQ(input->pots, (std::vector<int32_t>{3000, 4000}));
    ASSERT_EQ(input->players.size(), 3u);
    EXPECT_EQ(input->players[0].handPlayerId, 2);
    EXPECT_EQ(input->players[1].handPlayerId, 1);
    EXPECT_EQ(input->players[2].handPlayerId, 3);
    EXPECT_EQ(input->heroIndex, 1);
}
