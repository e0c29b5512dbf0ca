#include "live/ArchiveFiles.h"

#include "live/CPokerRoom.h"
#include "parser/tests/ParserTestEnvironment.h"
#include "platform/linux/CProcProcessList.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::wstring W(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

// Seconds of a local date and time.
time_t Local(int year, int month, int day, int hour)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ArchiveFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_room.name = L"PokerStars";
        m_room.workDirectory = W(m_dir.File("KROArchive/PokerStars"));
    }

    std::string Make(const std::string& name, time_t written, const std::string& text)
    {
        const std::string path = m_dir.Write("hh/" + name, text);
        const timespec times[2] = {{written, 0}, {written, 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        return path;
    }

    vxtest::CTempDir m_dir;
    CPokerRoom m_room;
    CProcProcessList m_processes;
    vxtest::CRecordingSink m_log;
};

}  // namespace

TEST_F(ArchiveFilesTest, MovesAFileIntoTheFolderOfItsLocalDateAndOverwrites)
{
    const time_t written = Local(2023, 8, 5, 23);
    const std::string file = Make("HH20230805 Halley.txt", written, "new hand");
    const std::string target = m_dir.File("KROArchive/PokerStars/2023/08/05/HH20230805 Halley.txt");
    fs::create_directories(fs::path(target).parent_path());
    std::ofstream(target) << "an older copy";

    EXPECT_EQ(ArchiveFiles({W(file)}, m_room, m_processes, m_log), 1);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(Read(target), "new hand");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, written);
    const std::wstring line =
        L"Move file " + W(file) + L" to ExportDirectory " + m_room.workDirectory + L" ";
    EXPECT_EQ(m_log.logs, std::vector<std::wstring>{line});
    EXPECT_EQ(m_log.outputs, std::vector<std::wstring>{line});
}

TEST_F(ArchiveFilesTest, AFileStillOpenForWritingStays)
{
    const std::string open = Make("HH busy.txt", Local(2023, 8, 4, 12), "being written");
    const std::string done = Make("HH done.txt", Local(2023, 8, 4, 12), "finished");
    // Reading alone does not keep a file from moving.
    const int reader = ::open(done.c_str(), O_RDONLY);
    const int writer = ::open(open.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(writer, 0);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(ArchiveFiles({W(open), W(done)}, m_room, m_processes, m_log), 1);
    ::close(writer);
    ::close(reader);
    EXPECT_TRUE(fs::exists(open));
    EXPECT_FALSE(fs::exists(done));
    EXPECT_TRUE(fs::exists(m_dir.File("KROArchive/PokerStars/2023/08/04/HH done.txt")));
    EXPECT_EQ(m_log.logs.size(), 1u);
}

TEST_F(ArchiveFilesTest, AFileWhoseFolderCannotBeMadeStaysSilently)
{
    // The work directory's place is taken by a file.
    m_dir.Write("KROArchive/PokerStars", "not a folder");
    const std::string file = Make("HH stays.txt", Local(2023, 8, 4, 12), "hand");
    EXPECT_EQ(ArchiveFiles({W(file), W(m_dir.File("hh/missing.txt"))}, m_room, m_processes, m_log),
              1);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_TRUE(m_log.logs.empty());
}
