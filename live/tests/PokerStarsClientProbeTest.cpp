#include "live/PokerStarsClientProbe.h"

#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::wstring W(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

class PokerStarsClientProbeTest : public ::testing::Test
{
protected:
    CClientProbeOptions Options() const
    {
        CClientProbeOptions options;
        options.winePrefixes = {m_dir.File("wine")};
        options.userName = "bob";
        return options;
    }

    std::string Local() const { return "wine/drive_c/users/bob/AppData/Local"; }

    vxtest::CTempDir m_dir;
};

}  // namespace

TEST_F(PokerStarsClientProbeTest, ReadsTheHistoryFolderAndHeroOfTheClientInItsWinePrefix)
{
    m_dir.Write(Local() + "/PokerStars/user.ini",
                "[User]\r\nName=Blues\r\n[PipeOption]\r\n"
                "SaveMyHandsPath=C:\\users\\bob\\AppData\\Local\\PokerStars\\HandHistory\\\r\n");
    const CClientProbe probe = ProbePokerStarsClient(Options());
    EXPECT_EQ(probe.clientFolder, W(m_dir.File(Local() + "/PokerStars/")));
    EXPECT_EQ(probe.heroName, L"Blues");
    // No dosdevices link: drive C is the prefix's drive_c.
    EXPECT_EQ(probe.historyFolder,
              W(m_dir.File("wine/drive_c/users/bob/AppData/Local/PokerStars/HandHistory/Blues")));
    EXPECT_TRUE(probe.language.empty());
}

TEST_F(PokerStarsClientProbeTest, TheSectionWithoutNameComesFirstAndDrivesFollowTheirLinks)
{
    m_dir.Write(Local() + "/PokerStars/user.ini",
                "[]\r\nSaveMyHandsPath=D:\\Hands\\\r\n[PipeOption]\r\nSaveMyHandsPath=C:\\x\\\r\n"
                "[User]\r\nName=Blues\r\n");
    fs::create_directories(m_dir.File("wine/dosdevices"));
    fs::create_directories(m_dir.File("disk"));
    fs::create_symlink(m_dir.File("disk"), m_dir.File("wine/dosdevices/d:"));
    const CClientProbe probe = ProbePokerStarsClient(Options());
    EXPECT_EQ(probe.historyFolder, W(m_dir.File("wine/dosdevices/d:")) + L"/Hands/Blues");
}

TEST_F(PokerStarsClientProbeTest, FindsTheClientInTheOlderWindowsLayoutAndItsLanguage)
{
    const std::string old = "wine/drive_c/users/bob/Local Settings/Application Data/PokerStars";
    m_dir.Write(old + "/user.ini", "[User]\nName=Blues\n");
    m_dir.Write(old + "/PokerStars.log.0",
                "boot\nps.clb.getAppRef().login user language: en,\n"
                "ps.clb.getAppRef().login user language: de,\n");
    m_dir.Write(old + "/PokerStars.log.1", "ps.clb.getAppRef().login user language: fr,\n");
    // The ".1" log is older.
    const timespec times[2] = {{1000, 0}, {1000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, m_dir.File(old + "/PokerStars.log.1").c_str(), times, 0), 0);
    const CClientProbe probe = ProbePokerStarsClient(Options());
    EXPECT_EQ(probe.clientFolder, W(m_dir.File(old + "/")));
    EXPECT_TRUE(probe.historyFolder.empty());
    EXPECT_EQ(probe.language, L"de");
}

TEST_F(PokerStarsClientProbeTest, WithoutAClientTheFolderIsTheFirstPlaceLookedAt)
{
    const CClientProbe probe = ProbePokerStarsClient(Options());
    EXPECT_EQ(probe.clientFolder, W(m_dir.File(Local() + "/PokerStars/")));
    EXPECT_TRUE(probe.historyFolder.empty());
    EXPECT_TRUE(probe.heroName.empty());
    EXPECT_EQ(DefaultWinePrefixes("", "/home/bob"), std::vector<std::string>{"/home/bob/.wine"});
    EXPECT_EQ(DefaultWinePrefixes("/games/ps", "/home/bob"),
              (std::vector<std::string>{"/games/ps", "/home/bob/.wine"}));
    EXPECT_EQ(WinePathToLinux("/p", L"relative\\hands"), L"relative/hands");
}
