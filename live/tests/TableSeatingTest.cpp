#include "live/TableSeating.h"

#include "live/CRoomTable.h"
#include "platform/PokerClientWindows.h"
#include "platform/fakes/CFakeWindowFinder.h"

#include <gtest/gtest.h>

namespace {

CAuditFile SixHanded(int heroSeat)
{
    CAuditFile line;
    line.tableSize = 6;
    for (int seat = 1; seat <= 6; ++seat) {
        line.names[static_cast<size_t>(seat)] = L"P" + std::to_wstring(seat);
    }
    line.heroSeat = heroSeat;
    return line;
}

TEST(TableSeatingTest, TheHeroOnSeatFourGoesToPositionZeroWhenHePrefersSeatOne)
{
    const std::vector<std::wstring> names = NamesByPosition(SixHanded(4), 1);
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[3], L"P1");
    EXPECT_EQ(names[0], L"P4");
    EXPECT_EQ(names[2], L"P6");
    EXPECT_EQ(names, (std::vector<std::wstring>{L"P4", L"P5", L"P6", L"P1", L"P2", L"P3"}));
}

TEST(TableSeatingTest, APreferredSeatAfterTheHeroTurnsTheOtherWay)
{
    EXPECT_EQ(NamesByPosition(SixHanded(2), 5),
              (std::vector<std::wstring>{L"P4", L"P5", L"P6", L"P1", L"P2", L"P3"}));
}

TEST(TableSeatingTest, WithoutAUsablePreferredSeatSeatsKeepTheirPlaces)
{
    const std::vector<std::wstring> asIs = {L"P1", L"P2", L"P3", L"P4", L"P5", L"P6"};
    EXPECT_EQ(NamesByPosition(SixHanded(4), 0), asIs);
    // A preferred seat beyond the table would put players outside the boxes.
    EXPECT_EQ(NamesByPosition(SixHanded(4), 7), asIs);
    // A hero without a seat has nothing to be turned to.
    EXPECT_EQ(NamesByPosition(SixHanded(0), 1), asIs);
}

TEST(TableSeatingTest, TablesOfNineAndTenSeatsUseTheEntriesNoOtherSizeReads)
{
    CPokerRoom room;
    for (size_t i = 0; i < room.preferredSeats.size(); ++i) {
        room.preferredSeats[i] = static_cast<int32_t>(10 + i);
    }
    for (int size = 2; size <= 8; ++size) {
        EXPECT_EQ(PreferredSeat(room, size), 10 + size);
    }
    EXPECT_EQ(PreferredSeat(room, 9), 11);
    EXPECT_EQ(PreferredSeat(room, 10), 10);
    EXPECT_EQ(PreferredSeat(room, 11), 0);
    EXPECT_EQ(PreferredSeat(room, 1), 0);
}

class TableWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_room.clientProcessId = 700;
        m_room.tableWindowClasses = {kPokerStarsTableWindowClasses[0],
                                     kPokerStarsTableWindowClasses[1]};
    }

    void Add(uint64_t id, int pid, const std::wstring& cls, const std::wstring& title)
    {
        m_windows.windows.push_back({id, pid, cls, cls, title});
    }

    CPokerRoom m_room;
    CFakeWindowFinder m_windows;
};

TEST_F(TableWindowTest, TheTitleMustBeginWithTheTableNameAndADash)
{
    Add(11, 700, L"PokerStars.exe", L"Halley II - $0.10/$0.25 USD - Pot Limit Omaha");
    Add(12, 700, L"PokerStars.exe", L"Halley - $0.10/$0.25 USD - Pot Limit Omaha");
    EXPECT_EQ(FindTableWindow(m_windows, m_room, L"Halley"), 12u);
    EXPECT_EQ(FindTableWindow(m_windows, m_room, L"Halley II"), 11u);
    EXPECT_EQ(FindTableWindow(m_windows, m_room, L"Hal"), 0u);
}

TEST_F(TableWindowTest, OnlyTheClientsWindowsOfATableClassCount)
{
    Add(21, 701, L"PokerStars.exe", L"Halley - a browser page");
    Add(22, 700, L"Explorer", L"Halley - not a table");
    Add(23, 700, L"PokerStars.exe", L"Halley - $0.10/$0.25");
    Add(24, 700, L"pokerstars.exe", L"Halley - $0.10/$0.25");
    Add(25, 700, L"Wine", L"Vega - $0.10/$0.25");
    // The first in the window system's order wins; Wine's case does not count.
    EXPECT_EQ(FindTableWindow(m_windows, m_room, L"Halley"), 23u);
    EXPECT_EQ(FindTableWindow(m_windows, m_room, L"Vega"), 25u);
    m_room.clientProcessId = 0;
    EXPECT_EQ(FindTableWindow(m_windows, m_room, L"Halley"), 0u);
}

TEST_F(TableWindowTest, TitlesAreComparedUpToNinetyNineCharacters)
{
    const std::wstring name(97, L'x');
    Add(31, 700, L"PokerStars.exe", name + L" - $1/$2");
    // The dash falls on the 99th character, the blank after it beyond.
    EXPECT_EQ(FindTableWindow(m_windows, m_room, name), 0u);
    const std::wstring shorter(96, L'y');
    Add(32, 700, L"PokerStars.exe", shorter + L" - $1/$2");
    EXPECT_EQ(FindTableWindow(m_windows, m_room, shorter), 32u);
}

}  // namespace
