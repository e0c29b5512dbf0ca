#include "app/core/CStartupSettings.h"

#include "foundation/CIniFile.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

TEST(CStartupSettingsTest, DefaultsAndLimits)
{
    vxtest::CTempDir dir;
    const CIniFile ini(dir.Write("Veltrix.ini", "[Export]\nDelay_Hours=30\nDelay_Days=\n"));
    const CStartupSettings s = LoadStartupSettings(ini, L"/opt/vx", {}, L"/home/u");
    EXPECT_EQ(s.archiveDelayHours, 23u);
    EXPECT_EQ(s.archiveDelayDays, 1u);
    EXPECT_EQ(s.exportFolder, L"/home/u/KROArchive/");
    EXPECT_EQ(s.allinEvFolder, L"/home/u/AllinDir/");
    EXPECT_EQ(s.hudFolder, L"/opt/vx");
    EXPECT_EQ(s.hudFileName, L"Pelmora.exe");
    EXPECT_EQ(s.seatPrefList, (std::array<int, 9>{}));
}

TEST(CStartupSettingsTest, MissingFileConfiguresNothing)
{
    const CIniFile ini("/nonexistent/Veltrix.ini");
    const CStartupSettings s = LoadStartupSettings(ini, L"/opt/vx", {L"/c/", L"/h"}, L"/home/u");
    EXPECT_FALSE(s.startupFileFound);
    EXPECT_TRUE(s.exportFolder.empty());
    EXPECT_TRUE(s.pokerStarsHistory.empty());
    EXPECT_EQ(s.archiveDelayHours, 0u);
}

TEST(CStartupSettingsTest, ClientSettingsGiveHeroHistoryAndSeats)
{
    vxtest::CTempDir dir;
    dir.Write("client/user.ini",
              "[User]\nName=HeroNick\n[PipeOption]\nSaveMyHandsPath=/hands/\nSeatPref=1 -2 3\n");
    const CIniFile ini(dir.Write("Veltrix.ini", "[PokerStars]\nFolder=" + dir.File("client") +
                                                    "\nHUD=1\n[Export]\nFolder=/arch\n"));
    const CStartupSettings s = LoadStartupSettings(ini, L"/opt", {}, L"/home/u");
    EXPECT_EQ(s.heroName, L"HeroNick");
    EXPECT_EQ(s.pokerStarsHistory, L"/hands/HeroNick");
    EXPECT_EQ(s.pokerStarsHud, 1u);
    // Work folders glue the room name to the export folder as written.
    EXPECT_EQ(s.exportFolder, L"/arch");
    EXPECT_EQ(s.pokerStarsAudit.substr(s.pokerStarsAudit.size() - 13), L"client/Audit/");
    EXPECT_EQ(s.seatPrefList, (std::array<int, 9>{1, 0, 3, 3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(s.preferredSeatBySize[0], 1);
    EXPECT_EQ(s.preferredSeatBySize[1], 3);
}

TEST(CStartupSettingsTest, OneTrailingSeparatorOfTheHistoryFolderIsDropped)
{
    vxtest::CTempDir dir;
    const CIniFile ini(dir.Write("Veltrix.ini", "[PokerStars]\nHistory=/data/hands//\n"));
    EXPECT_EQ(LoadStartupSettings(ini, L"", {}, L"").pokerStarsHistory, L"/data/hands/");
}

TEST(CStartupSettingsTest, SeatPrefRepeatsTheLastNumber)
{
    EXPECT_EQ(ParseSeatPref(L"4 5 6 7 8 9 1 2 3"), (std::array<int, 9>{4, 5, 6, 7, 8, 9, 1, 2, 3}));
    EXPECT_EQ(ParseSeatPref(L"x"), (std::array<int, 9>{}));
}

TEST(CStartupSettingsTest, AllinDumpFolderIsCreatedOrTheDumpSwitchedOff)
{
    vxtest::CTempDir dir;
    dir.Write("blocker", "x");
    const CIniFile ok(
        dir.Write("ok.ini", "[Debug]\nAllinEV=1\nFolderAllinEV=" + dir.File("dump/ev/") + "\n"));
    EXPECT_EQ(LoadStartupSettings(ok, L"", {}, L"").allinEv, 1u);
    const CIniFile bad(
        dir.Write("bad.ini", "[Debug]\nAllinEV=1\nFolderAllinEV=" + dir.File("blocker/ev") + "\n"));
    EXPECT_EQ(LoadStartupSettings(bad, L"", {}, L"").allinEv, 0u);
}
