// Every room's real files, imported as a user would (each file's room
// recognised from its lines): every real-money hand stored has flags that
// agree with its own actions, results and rake that add up, and rake shares
// that make the rake. Prints each room's counts.
#include "companion/ReadHistoryFileEx.h"
#include "foundation/Sites.h"
#include "parser/CRoomDetector.h"
#include "parser/tests/RoomChecksFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

class CorpusRoomsTest : public RoomChecksFixture
{
protected:
    // Imports every file of a corpus folder under the room its lines name;
    // the number of hands handled.
    int ImportFolder(const std::string& folder)
    {
        std::vector<std::string> files;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(vxtest::CorpusFile(folder))) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path().string());
            }
        }
        std::sort(files.begin(), files.end());
        int hands = 0;
        for (const auto& file : files) {
            int64_t position = 0;
            std::vector<std::wstring> lines;
            if (ReadHistoryFileEx(file, position, lines) != kReadOk) {
                continue;
            }
            const int code = kroHandParser::CRoomDetector::GuessSiteCode(lines);
            if (code < 0) {
                continue;
            }
            hands += ImportFile(file, std::wstring(SiteNameOfCode(code)));
        }
        return hands;
    }

    // The checks every room's hands pass; `unbalanced` names the hands whose
    // money is known not to add up.
    void ExpectRoomSound(const std::wstring& site, const std::wstring& unbalanced = L"")
    {
        EXPECT_EQ(UnbalancedHands(site), unbalanced) << site;
        EXPECT_EQ(RakeSharesOff(site), L"") << site;
        EXPECT_EQ(ResultsOff(site), L"") << site;
        EXPECT_EQ(VpipAgainstActions(site), L"") << site;
        EXPECT_EQ(WtsdAgainstActions(site), L"") << site;
        // Real tables play between a tenth and a half of their hands; a room
        // with a handful of hands says nothing either way.
        const double vpip = VpipShare(site);
        const std::wstring chances = Scalar(
            L"SELECT count(*) FROM handsplayers hp JOIN hands h ON h.id = hp.idhand "
            L"WHERE hp.flag_vpip_opp AND " +
            OfRoom(site));
        if (std::stoi(chances) >= 100) {
            EXPECT_GT(vpip, 10.0) << site;
            EXPECT_LT(vpip, 50.0) << site;
        }
        std::printf("[ COUNTS   ] %ls: %ls, VPIP %.1f %%\n", site.c_str(), Counts(site).c_str(),
                    vpip);
    }
};

TEST_F(CorpusRoomsTest, PokerStarsHandsAreSound)
{
    VX_REQUIRE_CORPUS();
    EXPECT_GT(ImportFolder("pokerstars"), 3400);
    ExpectRoomSound(L"PokerStars");
}

TEST_F(CorpusRoomsTest, GGPokerHandsAreSound)
{
    VX_REQUIRE_CORPUS();
    EXPECT_EQ(ImportFolder("ggpoker"), 875);
    ExpectRoomSound(L"GGPoker");
    // Cash drops put money into the pot from outside: those hands add up to it.
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands WHERE totalpot > (SELECT sum(bet) FROM "
                     L"handsplayers WHERE idhand = hands.id)"),
              L"4");
}

TEST_F(CorpusRoomsTest, Room888HandsAreSound)
{
    VX_REQUIRE_CORPUS();
    EXPECT_EQ(ImportFolder("888"), 221);
    ExpectRoomSound(L"888Poker");
}

TEST_F(CorpusRoomsTest, RunItOnceHandsAreSound)
{
    VX_REQUIRE_CORPUS();
    // Only the Omaha files are the room's; its Hold'em files name no room.
    EXPECT_EQ(ImportFolder("runitonce"), 3);
    ExpectRoomSound(L"Run It Once Poker");
}

TEST_F(CorpusRoomsTest, PokerKingAsiaHandsAreSound)
{
    VX_REQUIRE_CORPUS();
    EXPECT_EQ(ImportFolder("pkng"), 34);
    // A player with no name and no seat line plays in two hands: its money
    // cannot be known. In one of them it only posted a blind, which then
    // counts as money from outside the seated players.
    ExpectRoomSound(L"PokerKing Asia", L"665307190");
}

TEST_F(CorpusRoomsTest, ClubHandsAreSound)
{
    VX_REQUIRE_CORPUS();
    // Of the club files only the Omaha one is a room of ours.
    EXPECT_EQ(ImportFolder("club"), 1);
    ExpectRoomSound(L"PokerMaster HM3");
}

TEST_F(CorpusRoomsTest, TournamentFilesOfEveryRoomStoreNothing)
{
    VX_REQUIRE_CORPUS();
    ImportFolder("tournament-negative");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"0");
    EXPECT_EQ(m_t.env->counts.stored, 0);
}
