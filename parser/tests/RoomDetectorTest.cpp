#include "foundation/Sites.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/CRoomDetector.h"

#include <gtest/gtest.h>

using namespace kroHandParser;

TEST(RoomDetectorTest, PokerStarsLinesAndTournaments)
{
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSitePokerStars, L"PokerStars Hand #1: Hold'em"),
              L"PokerStars");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSiteNone, L"PokerStars Zoom Hand #1: x"),
              L"PokerStars");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSitePokerStars, L"PokerStars Home Game Hand #1: x"),
              L"PokerStars");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSitePokerStars,
                                             L"PokerStars Hand #1: Tournament #2, $1+$0.10"),
              L"");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSiteGGPoker, L"PokerStars Hand #1: x"), L"");
}

TEST(RoomDetectorTest, LineStartRooms)
{
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSite888, L"#Game No : 123"), L"888Poker");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSite888, L" #Game No : 123"), L"");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSitePokerKingAsia, L"Game started at: 2016/06/21"),
              L"PokerKing Asia");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSiteGGPoker, L"Poker Hand #RC1: Hold'em"),
              L"GGPoker");
}

TEST(RoomDetectorTest, RunItOnceTakesOnlyOmaha)
{
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSiteRunItOnce,
                                             L"Run It Once Poker Hand #1: Omaha Pot Limit (1/2)"),
              L"Run It Once Poker");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSiteRunItOnce,
                                             L"Run It Once Poker Hand #1: Hold'em No Limit (1/2)"),
              L"");
}

TEST(RoomDetectorTest, ClubRoomsTakeOmahaAndShortDeckButNotHoldem)
{
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSitePokerMasterHm3,
                                             L"PokerMaster Hand #1: Omaha Pot Limit ($1/$2 USD)"),
              L"PokerMaster HM3");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSitePokerMasterHm3,
                                             L"PokerMaster Hand #1: Hold'em No Limit ($1/$2 USD)"),
              L"");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSiteSuprema,
                                             L"Suprema Hand #1: 6+ Hold'em No Limit ($1/$2 USD)"),
              L"Suprema");
    // The PokerBros client also writes the PokerMaster word.
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSitePokerBrosHm3,
                                             L"PokerMaster Hand #1: Omaha Pot Limit ($1/$2 USD)"),
              L"PokerBros HM3");
    EXPECT_EQ(CRoomDetector::SiteNameForLine(kSiteUpokerHm3,
                                             L"UPoker Hand #1: Tournament Omaha ($1/$2 USD)"),
              L"");
}

TEST(RoomDetectorTest, GuessingTriesEveryRoom)
{
    EXPECT_EQ(CRoomDetector::GuessSiteCode({L"", L"Poker Hand #RC1: x"}), kSiteGGPoker);
    EXPECT_EQ(CRoomDetector::GuessSiteCode({L"PokerStars Hand #1: x"}), kSitePokerStars);
    EXPECT_EQ(CRoomDetector::GuessSiteCode({L"nothing"}), -1);
}

TEST(RoomDetectorTest, ExtensionsStopAtTheLastFolder)
{
    EXPECT_EQ(FileExtension("/a/b/HH1.txt"), ".txt");
    EXPECT_EQ(FileExtension("/a/b/HH1.TXT"), ".TXT");
    EXPECT_EQ(FileExtension("/a/b.c/HH1"), "");
    EXPECT_EQ(FileExtension("noext"), "");
}
