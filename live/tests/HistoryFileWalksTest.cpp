#include "live/HistoryFileWalks.h"

#include "live/CRoomTable.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int64_t kNow = 1700000000;

std::wstring W(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

class HistoryFileWalksTest : public ::testing::Test
{
protected:
    // A file last written at `time`.
    std::string Make(const std::string& name, int64_t time, const std::string& text = "hand")
    {
        const std::string path = m_dir.Write(name, text);
        const timespec times[2] = {{static_cast<time_t>(time), 0}, {static_cast<time_t>(time), 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        return path;
    }

    std::vector<std::wstring> Archive(int room, int64_t limit = kNow)
    {
        std::vector<std::wstring> out;
        SelectFilesToArchive(W(m_dir.Path()), limit, L"", room, true, out);
        return out;
    }

    std::vector<std::wstring> Import(int room, int64_t limit = kNow, bool flag = false)
    {
        std::vector<std::wstring> out;
        SelectFilesToImport(W(m_dir.Path()), limit, L"", room, flag, out);
        return out;
    }

    std::vector<std::wstring> Table(int room, const std::wstring& table, int64_t limit)
    {
        std::vector<std::wstring> out;
        FindTableFiles(W(m_dir.Path()), limit, table, room, true, out);
        return out;
    }

    std::wstring P(const std::string& name) const { return W(m_dir.File(name)); }

    vxtest::CTempDir m_dir;
};

}  // namespace

TEST_F(HistoryFileWalksTest, ExtensionsCompareExactlyInCase)
{
    Make("HH20230827 Table.TXT", kNow - 10);
    Make("HH20230827 Halley.txt", kNow - 10);
    Make(".txt", kNow - 10);
    EXPECT_EQ(Archive(kRoomPokerStars), std::vector<std::wstring>{P("HH20230827 Halley.txt")});
    EXPECT_EQ(Import(kRoomPokerStars), std::vector<std::wstring>{P("HH20230827 Halley.txt")});
    EXPECT_EQ(Table(kRoomPokerStars, L"", kNow - 100),
              std::vector<std::wstring>{P("HH20230827 Halley.txt")});
}

TEST_F(HistoryFileWalksTest, ArchiveTakesClubFilesByTheirMarksAfterTheFirstCharacter)
{
    Make("PKDOM_UPO_123.txt", kNow);
    Make("x_PKDOM_UPO_123.txt", kNow);
    EXPECT_EQ(Archive(kRoomUpoker), std::vector<std::wstring>{P("x_PKDOM_UPO_123.txt")});
    Make("ab_PMS_SPRP_1.txt", kNow);
    Make("aPMS_SPRP_1.txt", kNow);
    Make("aPMS_SPRP_SupremaPoker.txt", kNow);
    EXPECT_EQ(Archive(kRoomSuprema),
              (std::vector<std::wstring>{P("aPMS_SPRP_SupremaPoker.txt"), P("ab_PMS_SPRP_1.txt")}));
    Make("t_PPPoker.txt", kNow);
    Make("u_PKDOM_PBR.txt", kNow);
    EXPECT_EQ(Archive(kRoomPPPoker), std::vector<std::wstring>{P("t_PPPoker.txt")});
    EXPECT_EQ(Archive(kRoomPokerBros), std::vector<std::wstring>{P("u_PKDOM_PBR.txt")});
}

TEST_F(HistoryFileWalksTest, ArchiveExtensionsByRoom)
{
    Make("a.xml", kNow);
    Make("b.txt", kNow);
    EXPECT_EQ(Archive(kRoomTitan), std::vector<std::wstring>{P("a.xml")});
    EXPECT_EQ(Archive(kRoomPokerStars), std::vector<std::wstring>{P("b.txt")});
    // Rooms without files of their own find nothing.
    EXPECT_TRUE(Archive(kRoomPoker888).empty());
    EXPECT_TRUE(Archive(19).empty());
    // Room 0 with the flag leaves out table files.
    Make("Table 3.txt", kNow);
    EXPECT_EQ(Archive(kRoomPartyPoker), std::vector<std::wstring>{P("b.txt")});
}

TEST_F(HistoryFileWalksTest, PlayMoneyFilesAreNeitherImportedNorFoundAsTableFiles)
{
    Make("HH20230827 Halley - Play Money.txt", kNow);
    Make("HH20230827 Halley.txt", kNow);
    EXPECT_EQ(Import(kRoomPokerStars), std::vector<std::wstring>{P("HH20230827 Halley.txt")});
    EXPECT_EQ(Table(kRoomPokerStars, L"Halley", kNow),
              std::vector<std::wstring>{P("HH20230827 Halley.txt")});
    Make("x.dat", kNow);
    EXPECT_EQ(Import(kRoomRedStar), std::vector<std::wstring>{P("x.dat")});
}

TEST_F(HistoryFileWalksTest, ClubTableNamesCountFromTheEleventhCharacter)
{
    Make("Halley1234 other.txt", kNow);
    Make("0123456789 Halley.txt", kNow);
    EXPECT_EQ(Table(kRoomUpoker, L"Halley", kNow),
              std::vector<std::wstring>{P("0123456789 Halley.txt")});
}

TEST_F(HistoryFileWalksTest, TimeLimitsIncludeTheLimitItself)
{
    Make("HHold.txt", kNow - 1);
    Make("HHat.txt", kNow);
    Make("HHnew.txt", kNow + 1);
    EXPECT_EQ(Archive(kRoomPokerStars), (std::vector<std::wstring>{P("HHat.txt"), P("HHold.txt")}));
    EXPECT_EQ(Import(kRoomPokerStars), (std::vector<std::wstring>{P("HHat.txt"), P("HHold.txt")}));
    EXPECT_EQ(Table(kRoomPokerStars, L"", kNow),
              (std::vector<std::wstring>{P("HHat.txt"), P("HHnew.txt")}));
}

TEST_F(HistoryFileWalksTest, SubFoldersAreWalkedToAnyDepthWithLongNames)
{
    // Deeper than any path the system takes at once: made and removed folder
    // by folder.
    std::vector<std::string> names;
    for (int depth = 0; depth < 20; ++depth) {
        names.push_back(std::string(240, static_cast<char>('a' + depth)));
    }
    std::vector<int> fds = {::open(m_dir.Path().c_str(), O_RDONLY | O_DIRECTORY)};
    for (const auto& name : names) {
        ASSERT_EQ(::mkdirat(fds.back(), name.c_str(), 0755), 0);
        fds.push_back(::openat(fds.back(), name.c_str(), O_RDONLY | O_DIRECTORY));
        ASSERT_GE(fds.back(), 0);
    }
    const std::string file = std::string(250, 'h') + ".txt";
    const int fd = ::openat(fds.back(), file.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const timespec times[2] = {{kNow, 0}, {kNow, 0}};
    ASSERT_EQ(::futimens(fd, times), 0);
    ::close(fd);
    Make("top.txt", kNow);

    const auto found = Import(kRoomPokerStars);
    std::string deep = m_dir.Path();
    for (const auto& name : names) {
        deep += "/" + name;
    }
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], W(deep + "/" + file));
    EXPECT_GT(found[0].size(), 4096u);

    (void)::unlinkat(fds.back(), file.c_str(), 0);
    for (size_t i = names.size(); i-- > 0;) {
        ::close(fds[i + 1]);
        (void)::unlinkat(fds[i], names[i].c_str(), AT_REMOVEDIR);
    }
    ::close(fds[0]);
}

TEST_F(HistoryFileWalksTest, AMissingFolderGivesNothing)
{
    std::vector<std::wstring> out;
    SelectFilesToArchive(P("missing"), kNow, L"", kRoomPokerStars, true, out);
    SelectFilesToImport(L"", kNow, L"", kRoomPokerStars, true, out);
    EXPECT_TRUE(out.empty());
}

TEST_F(HistoryFileWalksTest, PreRegistrationTakesRecentHHFilesAtTheirSize)
{
    Make("HH recent.txt", kNow - 20 * 3600 - 3599, "12345");
    Make("HH too old.txt", kNow - 21 * 3600);
    Make("Table 1.txt", kNow);
    Make("HH other.dat", kNow);
    CWatchedFileMap files;
    PreRegisterFiles(W(m_dir.Path() + "/"), L".txt", kRoomPokerStars, files, kNow);
    ASSERT_EQ(files.size(), 1u);
    const auto& [path, record] = *files.begin();
    // A folder that ends with its separator gets no second one.
    EXPECT_EQ(path, P("HH recent.txt"));
    EXPECT_EQ(record.readPosition, 5);
    EXPECT_EQ(record.file.id, 0);
    EXPECT_TRUE(record.file.path.empty());
    EXPECT_NE(record.inode, 0u);

    // Other rooms have no name rule; an entry already there stays.
    files.begin()->second.readPosition = 2;
    PreRegisterFiles(W(m_dir.Path()), L".txt", kRoomUpoker, files, kNow);
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(files[P("HH recent.txt")].readPosition, 2);
    EXPECT_EQ(files.count(P("Table 1.txt")), 1u);
}

TEST(RoomTableTest, RoomNumbersAreTheRegistrysOnes)
{
    const std::pair<int, const wchar_t*> named[] = {
        {kRoomPartyPoker, L"PartyPoker"}, {kRoomPokerStars, L"PokerStars"},
        {kRoomPoker888, L"Poker888"},     {kRoomRedStar, L"RedStar"},
        {kRoomTitan, L"Titan"},           {kRoomIPoker, L"iPoker"},
        {kRoomUpoker, L"Upoker"},         {kRoomPPPoker, L"PPPoker"},
        {kRoomPokerBros, L"PokerBros"},   {kRoomSuprema, L"Suprema"}};
    for (const auto& [number, name] : named) {
        const CRoomInfo* info = CRoomTable::Info(number);
        ASSERT_NE(info, nullptr) << number;
        EXPECT_STREQ(info->liveName, name);
    }
    CRoomTable table;
    for (const CRoomInfo& info : AllRooms()) {
        if (info.roomNumber >= 0) {
            EXPECT_EQ(table.Room(info.roomNumber).roomNumber, info.roomNumber);
        }
    }
}
