#include "platform/PokerClientWindows.h"

#include <gtest/gtest.h>

namespace {

CWindowInfo Window(const std::wstring& instance,
                   const std::wstring& className,
                   const std::wstring& title)
{
    CWindowInfo info;
    info.id = 1;
    info.instanceName = instance;
    info.className = className;
    info.title = title;
    return info;
}

}  // namespace

TEST(PokerClientWindowsTest, TablesOfTheWineClientAreKnownByClassAndStakesInTheTitle)
{
    const std::wstring table = L"Halley - $0.01/$0.02 USD - Pot Limit Omaha";
    EXPECT_TRUE(IsPokerStarsTableWindow(Window(L"pokerstars.exe", L"pokerstars.exe", table)));
    // Older Wine, and a client whose executable name has capitals.
    EXPECT_TRUE(IsPokerStarsTableWindow(Window(L"pokerstars.exe", L"Wine", table)));
    EXPECT_TRUE(IsPokerStarsTableWindow(Window(L"PokerStars.exe", L"PokerStars.exe", table)));
    EXPECT_TRUE(IsPokerStarsTableWindow(
        Window(L"pokerstars.exe", L"pokerstars.exe", L"Halley II - 10/20 Play Money - Omaha")));
    EXPECT_TRUE(IsPokerStarsTableWindow(
        Window(L"pokerstars.exe", L"Wine", L"Zeta - \u20ac0.05/\u20ac0.10 EUR - 5 Card Omaha")));

    // The lobby, other programs, other Wine programs, names without stakes.
    EXPECT_FALSE(IsPokerStarsTableWindow(
        Window(L"pokerstars.exe", L"pokerstars.exe", L"PokerStars Lobby - Logged in as Nick42")));
    EXPECT_FALSE(IsPokerStarsTableWindow(Window(L"firefox", L"Firefox", table)));
    EXPECT_FALSE(IsPokerStarsTableWindow(Window(L"notepad.exe", L"Wine", table)));
    EXPECT_FALSE(IsPokerStarsTableWindow(Window(L"pokerstars.exe", L"pokerstars.exe", L"Halley")));
    EXPECT_FALSE(IsPokerStarsTableWindow(
        Window(L"pokerstars.exe", L"pokerstars.exe", L" - $0.01/$0.02 USD")));
    EXPECT_FALSE(IsPokerStarsTableWindow(Window(L"", L"", table)));
}

TEST(PokerClientWindowsTest, TheTableNameIsTheTitleBeforeTheFirstDash)
{
    EXPECT_EQ(TableNameOfTitle(L"Halley - $0.01/$0.02 USD - Pot Limit Omaha"), L"Halley");
    EXPECT_EQ(TableNameOfTitle(L"Halley II - 10/20"), L"Halley II");
    EXPECT_EQ(TableNameOfTitle(L"Caf\u00e9-Bar - 1/2"), L"Caf\u00e9-Bar");
    EXPECT_EQ(TableNameOfTitle(L"PokerStars"), L"");
}
