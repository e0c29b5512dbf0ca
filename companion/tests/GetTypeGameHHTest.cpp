#include "companion/GetTypeGameHH.h"

#include "foundation/GameKinds.h"

#include <gtest/gtest.h>

struct GameCase
{
    const wchar_t* description;
    int kind;
};

class GetTypeGameHHTest : public ::testing::TestWithParam<GameCase>
{
};

TEST_P(GetTypeGameHHTest, MapsHeaderDescription)
{
    EXPECT_EQ(GetTypeGameHH(GetParam().description), GetParam().kind) << std::string(
        GetParam().description, GetParam().description + wcslen(GetParam().description));
}

// Descriptions as the rooms write them in their headers.
INSTANTIATE_TEST_SUITE_P(
    Rooms,
    GetTypeGameHHTest,
    ::testing::Values(GameCase{L"Hold'em No Limit", kGameHoldemNoLimit},
                      GameCase{L"Hold'em Limit", kGameHoldemLimit},
                      GameCase{L"Hold'em Pot Limit", kGameHoldemPotLimit},
                      GameCase{L"Split Hold'em No Limit", kGameHoldemNoLimit},
                      GameCase{L"{chipchipchip}  Hold'em No Limit", kGameHoldemNoLimit},
                      GameCase{L"Omaha Pot Limit", kGameOmahaPotLimit},
                      GameCase{L"Omaha Limit", kGameOmahaLimit},
                      GameCase{L"Omaha No Limit", kGameOmahaNoLimit},
                      GameCase{L"Omaha Hi/Lo Pot Limit", kGameOmahaHiLoPotLimit},
                      GameCase{L"Omaha Hi/Lo Limit", kGameOmahaHiLoLimit},
                      GameCase{L"5 Card Omaha Pot Limit", kGameOmaha5PotLimit},
                      GameCase{L"5 Card Omaha Hi/Lo Pot Limit", kGameOmaha5HiLoPotLimit},
                      GameCase{L"6 Card Omaha Pot Limit", kGameOmaha6PotLimit},
                      GameCase{L"6 Card Omaha Hi/Lo Pot Limit", kGameOmaha6HiLoPotLimit},
                      GameCase{L"Courchevel Pot Limit", kGameCourchevelPotLimit},
                      GameCase{L"Courchevel Hi/Lo Pot Limit", kGameCourchevelHiLoPotLimit},
                      GameCase{L"Courchevel Hi/Lo Limit", kGameCourchevelHiLoOther},
                      GameCase{L"PLO", kGameOmahaPotLimit},
                      GameCase{L"PLO-5", kGameOmaha5PotLimit},
                      GameCase{L"PLO-6", kGameOmaha6PotLimit},
                      GameCase{L"Omaha 5 Cards Pot Limit", kGameOmaha5PotLimit},
                      GameCase{L"ShortDeck No Limit", kGameShortDeckHoldem},
                      GameCase{L"6+ Hold'em No Limit", kGameShortDeckHoldem},
                      GameCase{L"No Limit Holdem", kGameHoldemNoLimit},
                      GameCase{L"Fix Limit Holdem", kGameHoldemLimit},
                      GameCase{L"Pot Limit Holdem", kGameHoldemPotLimit},
                      GameCase{L"Pot Limit Omaha", kGameOmahaPotLimit},
                      GameCase{L"Pot Limit OmahaHL", kGameOmahaHiLoPotLimit},
                      GameCase{L"No Limit Holdem Jackpot table", kGameHoldemNoLimit},
                      GameCase{L"Holdem(No Limit)", kGameHoldemNoLimit},
                      GameCase{L"Omaha H/L(No Limit)", kGameOmahaHiLoNoLimit},
                      GameCase{L"Hold'em 36", kGameShortDeckHoldem},
                      GameCase{L"Fusion Pot Limit", kGameFusion},
                      GameCase{L"7 Card Stud Limit", kGameUnknown},
                      GameCase{L"", kGameUnknown}));
