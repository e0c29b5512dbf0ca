#include "app/core/CApplicationCore.h"

#include "foundation/IUserNotifier.h"
#include "platform/fakes/CFakeProcessList.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::wstring W(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

class CRecordingNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring& text) override { notices.push_back(text); }
    std::vector<std::wstring> notices;
};

class CApplicationCoreTest : public ::testing::Test
{
protected:
    CApplicationCoreOptions Options() const
    {
        CApplicationCoreOptions options;
        options.programFolder = m_dir.File("program");
        options.home = m_dir.File("home");
        options.probe.winePrefixes = {m_dir.File("wine")};
        options.probe.userName = "bob";
        return options;
    }

    // The client of the Wine prefix, with its settings.
    void Client(const std::string& userIni)
    {
        m_dir.Write("wine/drive_c/users/bob/AppData/Local/PokerStars/user.ini", userIni);
    }

    void Ini(const std::string& text) { m_dir.Write("program/Veltrix.ini", text); }

    std::string LogText() const
    {
        std::ifstream in(m_dir.File("program/Veltrix.log"), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string Client() const
    {
        return m_dir.File("wine/drive_c/users/bob/AppData/Local/PokerStars");
    }

    vxtest::CTempDir m_dir;
    CRecordingNotifier m_notifier;
};

}  // namespace

TEST_F(CApplicationCoreTest, ConfiguresTheRoomsFromTheStartupFileAndTheClient)
{
    Client(
        "[User]\nName=Blues\n[PipeOption]\n"
        "SaveMyHandsPath=C:\\users\\bob\\AppData\\Local\\PokerStars\\HandHistory\\\n"
        "SeatPref=1 2 3 4 5 6 7 8 9\n");
    Ini("[Export]\nFolder=" + m_dir.File("archive/") +
        "\n[Varnhelm]\nFolder=" + m_dir.File("varnhelm") +
        "\nHUD=1\n[RedStar]\nHistory=" + m_dir.File("redstar") + "\n[PokerStars]\nHUD=1\n");
    CApplicationCore core(Options(), m_notifier);

    CRoomTable& rooms = core.Rooms();
    EXPECT_EQ(rooms.Room(kRoomRedStar).historyFolder, W(m_dir.File("redstar")));
    EXPECT_EQ(rooms.Room(kRoomRedStar).workDirectory, W(m_dir.File("archive/RedStar")));
    EXPECT_TRUE(fs::is_directory(m_dir.File("archive/RedStar")));
    EXPECT_EQ(rooms.Room(kRoomUpoker).historyFolder, W(m_dir.File("varnhelm/upo_hh/")));
    EXPECT_EQ(rooms.Room(kRoomSuprema).historyFolder, W(m_dir.File("varnhelm/hh/")));
    for (const int room : {kRoomUpoker, kRoomPPPoker, kRoomPokerBros, kRoomSuprema}) {
        EXPECT_EQ(rooms.Room(room).hudSwitch, 1) << room;
        const std::wstring& name = rooms.Room(room).name;
        EXPECT_TRUE(
            fs::is_directory(m_dir.File("archive/") + std::string(name.begin(), name.end())));
    }
    const CPokerRoom& stars = rooms.Room(kRoomPokerStars);
    EXPECT_EQ(stars.name, L"PokerStars");
    EXPECT_EQ(stars.hudSwitch, 1);
    EXPECT_EQ(stars.heroName, L"Blues");
    EXPECT_EQ(stars.historyFolder, W(Client() + "/HandHistory/Blues"));
    EXPECT_EQ(stars.auditFolder, W(Client() + "/Audit/"));
    EXPECT_EQ(stars.preferredSeats[0], 1);
    EXPECT_EQ(stars.preferredSeats[1], 8);
    EXPECT_TRUE(fs::is_directory(m_dir.File("archive/PokerStars")));
    EXPECT_TRUE(rooms.Room(kRoomPartyPoker).name.empty());
    EXPECT_EQ(core.SettingsRoom(), 1);
    EXPECT_TRUE(m_notifier.notices.empty());

    const std::string log = LogText();
    EXPECT_EQ(log.rfind("\n" + std::string(59, '-') + "\n\nCreation date:  ", 0), 0u) << log;
    EXPECT_NE(log.find("\nVersion number: 0.1.0.0\n"), std::string::npos);
    EXPECT_NE(log.find("HistoryPath = " + Client() + "/HandHistory/Blues\n"), std::string::npos);
}

TEST_F(CApplicationCoreTest, AWorkDirectoryThatCannotBeMadeStopsTheRoomsAfterIt)
{
    Client("[User]\nName=Blues\n");
    m_dir.Write("blocked", "a file where the archive should be");
    Ini("[Export]\nFolder=" + m_dir.File("blocked/") +
        "\n[RedStar]\nHistory=/r\n[Titan]\n"
        "History=/t\n[PokerStars]\nHUD=1\n");
    CApplicationCore core(Options(), m_notifier);
    const std::wstring text =
        L"Create WorkDirectory " + W(m_dir.File("blocked/RedStar")) + L" error!";
    EXPECT_EQ(m_notifier.notices, std::vector<std::wstring>{text});
    EXPECT_NE(LogText().find("Create WorkDirectory " + m_dir.File("blocked/RedStar") + " error!"),
              std::string::npos);
    EXPECT_TRUE(core.Rooms().Room(kRoomTitan).historyFolder.empty());
    EXPECT_TRUE(core.Rooms().Room(kRoomPokerStars).name.empty());
    EXPECT_EQ(core.SettingsRoom(), 1);
}

TEST_F(CApplicationCoreTest, AClientFolderWithoutUserIniIsLogged)
{
    Ini("[Export]\nFolder=" + m_dir.File("archive/") + "\n[PokerStars]\nFolder=" +
        m_dir.File("nowhere") + "\nHistory=" + m_dir.File("hands") + "\n");
    CApplicationCore core(Options(), m_notifier);
    EXPECT_NE(LogText().find("PokerStars Folder " + m_dir.File("nowhere") +
                             " error in file Veltrix.ini!"),
              std::string::npos);
    EXPECT_EQ(core.Rooms().Room(kRoomPokerStars).historyFolder, W(m_dir.File("hands")));
    EXPECT_TRUE(core.Rooms().Room(kRoomPokerStars).heroName.empty());
}

TEST_F(CApplicationCoreTest, WithoutAStartupFileNoRoomIsConfigured)
{
    fs::create_directories(m_dir.File("program"));
    {
        CApplicationCore core(Options(), m_notifier);
        EXPECT_TRUE(core.LogOpen());
        for (int room = 0; room < kRoomCount; ++room) {
            EXPECT_TRUE(core.Rooms().Room(room).historyFolder.empty());
            EXPECT_EQ(core.Rooms().Room(room).roomNumber, room);
        }
    }
    const std::string log = LogText();
    EXPECT_NE(log.find("Version number: "), std::string::npos);
    const std::string end =
        "\n" + std::string(13, '-') + " End of work " + std::string(45, '-') + "\n";
    EXPECT_EQ(log.substr(log.size() - end.size()), end);
}

TEST_F(CApplicationCoreTest, AClientInAnotherLanguageIsToldAbout)
{
    Client("[User]\nName=Blues\n");
    m_dir.Write("wine/drive_c/users/bob/AppData/Local/PokerStars/PokerStars.log.0",
                "ps.clb.getAppRef().login user language: ru,\n");
    Ini("[Export]\nFolder=" + m_dir.File("archive/") + "\n");
    CApplicationCore core(Options(), m_notifier);
    EXPECT_EQ(m_notifier.notices, std::vector<std::wstring>{kClientLanguageMessage});
    EXPECT_EQ(core.ClientProbe().language, L"ru");
}

TEST_F(CApplicationCoreTest, TheArchiveAtStartMovesOnlyFilesOlderThanTheDelay)
{
    Ini("[Export]\nFolder=" + m_dir.File("archive/") +
        "\nDelay_Days=1\nDelay_Hours=0\n"
        "[PokerStars]\nFolder=" +
        m_dir.File("nowhere") + "\nHistory=" + m_dir.File("hands") + "\n");
    const int64_t now = 1700000000;
    const auto make = [&](const std::string& name, int64_t written) {
        const std::string path = m_dir.Write("hands/" + name, "hand");
        const timespec times[2] = {{written, 0}, {written, 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };
    make("HH old.txt", now - 86400);
    make("HH recent.txt", now - 86399);
    CApplicationCore core(Options(), m_notifier);
    CFakeProcessList processes;
    core.ArchiveAtStart(processes, now);
    EXPECT_FALSE(fs::exists(m_dir.File("hands/HH old.txt")));
    EXPECT_TRUE(fs::exists(m_dir.File("hands/HH recent.txt")));
    std::tm local{};
    const time_t written = now - 86400;
    localtime_r(&written, &local);
    char date[16];
    std::strftime(date, sizeof date, "%Y/%m/%d", &local);
    EXPECT_TRUE(fs::exists(m_dir.File("archive/PokerStars/") + date + "/HH old.txt"));
}
