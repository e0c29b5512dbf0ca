#include "companion/BoardTexture.h"

#include "foundation/Cards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> Board(const std::wstring& text)
{
    std::vector<int> cards;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        cards.push_back(CardFromName(text.substr(i, 2)));
    }
    return cards;
}

int Texture(const std::wstring& text)
{
    return ClassifyBoard(Board(text));
}

constexpr int kSuits = 0x3F;
constexpr int kPairs = 0x3FC0;
constexpr int kLows = 0xFC000;
constexpr int kStraights = 0xFF00000;

}  // namespace

TEST(BoardTextureTest, WorkedExamples)
{
    // Ace, deuce, seven: the ace also counts low, giving 0, 1, 6, 13 with a
    // smallest gap of 1 and a largest of 7. Three distinct low ranks.
    EXPECT_EQ(Texture(L"Ac2d7h"), 0x100000 | 0xC000);
    // A paired flop has no straight part on any street.
    EXPECT_EQ(Texture(L"7c7d8h9sTs") & kStraights, 0);
    EXPECT_EQ(Texture(L"7c7d8h") & kStraights, 0);
    // A monotone flop, then a blank of a fourth suit on the turn.
    EXPECT_EQ(Texture(L"2h7hKh") & kSuits, 3);
    EXPECT_EQ(Texture(L"2h7hKh4s") & kSuits, 15);
}

TEST(BoardTextureTest, TooFewOrBadCardsGiveZero)
{
    EXPECT_EQ(ClassifyBoard({}), 0);
    EXPECT_EQ(Texture(L"AcKd"), 0);
    EXPECT_EQ(ClassifyBoard({0, 1, 2, 3, 4, 5}), 0);
    EXPECT_EQ(ClassifyBoard({0, 0, 1}), 0);
    EXPECT_EQ(ClassifyBoard({0, 1, 52}), 0);
}

TEST(BoardTextureTest, SuitsOnEveryStreet)
{
    EXPECT_EQ(Texture(L"Ah7dKs") & kSuits, 0);
    EXPECT_EQ(Texture(L"Ah7dKs2h") & kSuits, 4);         // rainbow flop, turn pairs a suit
    EXPECT_EQ(Texture(L"Ah7dKs2h9h") & kSuits, 4 | 16);  // two of it, one from the flop
    EXPECT_EQ(Texture(L"Ah7hKs2c") & kSuits, 2 | 4);     // two-suited flop, new suit
    EXPECT_EQ(Texture(L"Ah7hKs2s") & kSuits, 2 | 8);     // two-suited flop, two pairs of suits
    EXPECT_EQ(Texture(L"Ah7hKs2c9h") & kSuits, 2 | 4 | 32);
    EXPECT_EQ(Texture(L"Ah7hKs2c9s") & kSuits, 2 | 4);
    EXPECT_EQ(Texture(L"Ah7hKs2h") & kSuits, 2 | 12);  // three of a suit on the turn
    EXPECT_EQ(Texture(L"Ah7hKs2h9c") & kSuits, 2 | 12 | 48);
    EXPECT_EQ(Texture(L"Ah7hKh2h9c") & kSuits, 3 | 12 | 48);
}

TEST(BoardTextureTest, PairsOnEveryStreet)
{
    EXPECT_EQ(Texture(L"2c7d9h") & kPairs, 0);
    EXPECT_EQ(Texture(L"7c7d8h9s") & kPairs, 128 | 384);
    EXPECT_EQ(Texture(L"7c7d7h7s") & kPairs, 192 | 1216);
    EXPECT_EQ(Texture(L"2c7d9h7s") & kPairs, 512);
    EXPECT_EQ(Texture(L"2c7d9h7s9c") & kPairs, 512 | 4096);
    EXPECT_EQ(Texture(L"2c7d9h7s7h") & kPairs, 512 | 14336);  // trips on the river
    EXPECT_EQ(Texture(L"7c7d9h9s7h") & kPairs, 128 | 1024 | 4096);
    EXPECT_EQ(Texture(L"7c7d9h7s9c") & kPairs, 128 | 768 | 8192);
    EXPECT_EQ(Texture(L"2c7d9hKsAc") & kPairs, 0);
}

TEST(BoardTextureTest, LowCardsOnEveryStreet)
{
    EXPECT_EQ(Texture(L"Ac2d7hKc3s") & kLows, 0xC000 | 0x2C000 | 0x90000);
    EXPECT_EQ(Texture(L"Ac9dThKc") & kLows, 0x4000);
    EXPECT_EQ(Texture(L"Ac9dTh2c3d") & kLows, 0x4000 | 0x14000 | 0x54000);
    EXPECT_EQ(Texture(L"Ac2dThKc3d") & kLows, 0x8000 | 0x18000 | 0x58000);
    // An ace already on the board does not count again.
    EXPECT_EQ(Texture(L"Ac2dThAh") & kLows, 0x8000 | 0x18000);
    EXPECT_EQ(Texture(L"9cTdJhQsKd") & kLows, 0);
}

TEST(BoardTextureTest, StraightsOnEveryStreet)
{
    EXPECT_EQ(Texture(L"9cTdJh") & kStraights, 0x300000);
    EXPECT_EQ(Texture(L"9cJdKh") & kStraights, 0x200000);
    EXPECT_EQ(Texture(L"2c7dKh") & kStraights, 0);
    EXPECT_EQ(Texture(L"9cTdJhQs") & kStraights, 0x300000 | 0x1400000);
    EXPECT_EQ(Texture(L"9cTdJh2s") & kStraights, 0x300000 | 0x800000);
    EXPECT_EQ(Texture(L"2h7hKh4s") & kStraights, 0x400000);
    // Turn pairs the board: the flop value stays, nothing more is added.
    EXPECT_EQ(Texture(L"9cTdJhJs5c") & kStraights, 0x300000);
    // Ten pairs straighten 9-T-J-Q-2: 7-8, four with the eight, four with the
    // king, and A-K.
    EXPECT_EQ(Texture(L"9cTdJhQs2d"), 0x300000 | 0x1400000 | 0xC000000);
    // Only A-5 and 5-6 straighten 2-3-4-K-Q; nothing straightens 2-3-9-K-8.
    EXPECT_EQ(Texture(L"2c3d4hKsQd") & 0xE000000, 0x4000000);
    EXPECT_EQ(Texture(L"2c3d9hKs8d") & 0xE000000, 0);
}
