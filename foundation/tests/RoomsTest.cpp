#include "foundation/Rooms.h"

#include "foundation/CStatDefinitions.h"
#include "foundation/Sites.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(RoomsTest, EverySiteCodeHasOneRowAndNumbersAreUnique)
{
    std::set<int> codes;
    std::set<int> numbers;
    std::set<std::wstring> names;
    for (const CRoomInfo& room : AllRooms()) {
        if (room.symbolicName[0] != L'\0') {
            EXPECT_TRUE(codes.insert(room.siteCode).second) << room.siteCode;
            EXPECT_EQ(SiteCodeFromSymbolicName(room.symbolicName), room.siteCode);
        }
        if (room.roomNumber >= 0) {
            EXPECT_TRUE(numbers.insert(room.roomNumber).second) << room.roomNumber;
            EXPECT_LT(room.roomNumber, 20);
        }
        if (room.siteName[0] != L'\0') {
            EXPECT_TRUE(names.insert(room.siteName).second) << room.siteName;
            // A room that has a name in the sites table is read by a strategy
            // and recognised by a test.
            EXPECT_NE(room.strategy, StrategyKind::None) << room.siteName;
            EXPECT_NE(room.detects, nullptr) << room.siteName;
        }
    }
    EXPECT_EQ(codes.size(), static_cast<size_t>(kSiteCodeCount));
    EXPECT_EQ(*codes.begin(), 0);
    EXPECT_EQ(*codes.rbegin(), kSiteCodeCount - 1);
}

// The shipped stat definitions fill the sites table: they must name the same
// rooms with the same ids as the registry.
TEST(RoomsTest, ShippedSiteDefinitionsAgreeWithTheRegistry)
{
    CStatDefinitions definitions;
    ASSERT_TRUE(definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json"));
    std::vector<CStatDefinition> sites;
    ASSERT_TRUE(definitions.ReadStatSection(L"sites", sites));
    size_t named = 0;
    for (const CRoomInfo& room : AllRooms()) {
        named += room.siteName[0] != L'\0' ? 1 : 0;
    }
    EXPECT_EQ(sites.size(), named);
    for (const auto& site : sites) {
        const CRoomInfo* room = RoomOfSymbolicName(site.name);
        ASSERT_NE(room, nullptr) << site.name;
        EXPECT_EQ(site.id, room->siteId) << site.name;
        EXPECT_EQ(site.description, room->siteName);
        EXPECT_EQ(site.notation, room->notation);
        EXPECT_EQ(SiteCodeFromRoomName(room->siteName, definitions), room->siteCode);
        EXPECT_EQ(SiteNameOfCode(room->siteCode), room->siteName);
    }
}

TEST(RoomsTest, DetectionTestsOfEachRoom)
{
    const auto detects = [](int code, const std::wstring& line) {
        const CRoomInfo* room = RoomOfSiteCode(code);
        return room != nullptr && room->detects != nullptr && room->detects(line);
    };
    EXPECT_TRUE(detects(kSitePokerStars, L"PokerStars Game #2344646393:  Hold'em Limit"));
    EXPECT_FALSE(detects(kSitePokerStars, L"PokerStars Hand #1: Tournament #2, $1+$0.10"));
    EXPECT_TRUE(detects(kSite888, L"#Game No : 512810968"));
    EXPECT_TRUE(detects(kSiteRunItOnce, L"Run It Once Poker Hand #1: Omaha Pot Limit (€1/€2)"));
    EXPECT_FALSE(detects(kSiteRunItOnce, L"Run It Once Poker Hand #1: Hold'em No Limit"));
    EXPECT_TRUE(detects(kSitePokerKingAsia, L"Game started at: 2016/8/8 16:26:41"));
    EXPECT_TRUE(detects(kSiteGGPoker, L"Poker Hand #RC1: Hold'em No Limit ($0.02/$0.05)"));
    EXPECT_TRUE(detects(kSiteUpokerHm3, L"UPoker Hand #1: Omaha Pot Limit ($1/$2 USD)"));
    EXPECT_FALSE(detects(kSiteUpokerHm3, L"UPoker Hand #1: Hold'em No Limit ($1/$2 USD)"));
    EXPECT_TRUE(detects(kSiteUpokerHm3, L"UPoker Hand #1: 6+ Hold'em No Limit ($1/$2 USD)"));
    EXPECT_TRUE(detects(kSitePokerBrosHm3, L"PokerMaster Hand #1: Omaha Pot Limit ($1/$2)"));
    EXPECT_FALSE(detects(kSiteRedKings, L"anything"));
}

TEST(RoomsTest, PokerMasterIsTriedBeforePokerBrosWhoseTestItsLinesPass)
{
    int master = -1;
    int bros = -1;
    int index = 0;
    for (const CRoomInfo& room : AllRooms()) {
        master = room.siteCode == kSitePokerMasterHm3 ? index : master;
        bros = room.siteCode == kSitePokerBrosHm3 ? index : bros;
        ++index;
    }
    EXPECT_LT(master, bros);
}

TEST(RoomsTest, LiveRoomsAndTheirFolders)
{
    const CRoomInfo* stars = RoomOfSiteCode(kSitePokerStars);
    ASSERT_NE(stars, nullptr);
    EXPECT_EQ(stars->roomNumber, 1);
    EXPECT_TRUE(stars->watched);
    EXPECT_EQ(stars->historyFolder, HistoryFolderSource::PokerStarsClient);
    const CRoomInfo* suprema = RoomOfNumber(16);
    ASSERT_NE(suprema, nullptr);
    EXPECT_EQ(suprema->siteCode, kSiteSuprema);
    EXPECT_STREQ(suprema->clubSubfolder, L"hh/");
    EXPECT_STREQ(RoomOfSiteCode(kSiteUpokerHm3)->fileWord, L"UPoker");
    EXPECT_EQ(RoomOfSiteCode(kSitePokerMasterHm3)->fileWord, nullptr);
    EXPECT_EQ(RoomOfNumber(3), nullptr);
    EXPECT_STREQ(RoomOfNumber(8)->liveName, L"Titan");
    int watched = 0;
    for (const CRoomInfo& room : AllRooms()) {
        watched += room.watched ? 1 : 0;
    }
    EXPECT_EQ(watched, 2) << "the PokerStars and the Upoker history folders";
}
