#include "platform/linux/CProcProcessList.h"

#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool HasName(const CProcessInfo& info, const std::wstring& name)
{
    return std::find(info.names.begin(), info.names.end(), name) != info.names.end();
}

}  // namespace

TEST(CProcProcessListTest, ListsThisProcessWithItsUser)
{
    CProcProcessList list;
    const auto processes = list.Processes();
    const auto self = std::find_if(processes.begin(), processes.end(),
                                   [](const CProcessInfo& p) { return p.pid == ::getpid(); });
    ASSERT_NE(self, processes.end());
    EXPECT_FALSE(self->names.empty());
    EXPECT_EQ(self->effectiveUserId, ::geteuid());
}

TEST(CProcProcessListTest, FindsAWindowsProgramByTheNameOfItsCommandLine)
{
    // A process laid out as a Wine process shows it: the loader as executable,
    // the Windows path as the first word of the command line.
    vxtest::CTempDir proc;
    fs::create_directories(proc.File("4242"));
    proc.Write("4242/status", "Name:\twine64-preload\nUid:\t1000\t1000\t1000\t1000\n");
    proc.Write("4242/comm", "PokerStars.exe\n");
    proc.Write("4242/cmdline",
               std::string("C:\\Program Files\\PokerStars\\PokerStars.exe\0-x\0", 47));
    fs::create_symlink("/usr/bin/wine64-preloader", proc.File("4242/exe"));
    proc.Write("17/comm", "");
    CProcProcessList list(proc.Path());
    const auto processes = list.Processes();
    ASSERT_EQ(processes.size(), 1u);
    EXPECT_EQ(processes[0].pid, 4242);
    EXPECT_TRUE(HasName(processes[0], L"PokerStars.exe"));
    EXPECT_TRUE(HasName(processes[0], L"wine64-preloader"));
    EXPECT_EQ(processes[0].effectiveUserId, 1000u);
}

TEST(CProcProcessListTest, TellsWhetherAFileIsOpenForWriting)
{
    vxtest::CTempDir dir;
    const std::string file = dir.Write("HH1.txt", "hand");
    CProcProcessList list;
    EXPECT_TRUE(list.WritersOf(file).empty());

    const int reader = ::open(file.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(list.WritersOf(file).empty());

    const int writer = ::open(file.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(writer, 0);
    EXPECT_EQ(list.WritersOf(file), std::vector<int>{::getpid()});
    ::close(writer);
    EXPECT_TRUE(list.WritersOf(file).empty());
    ::close(reader);
    EXPECT_TRUE(list.WritersOf(dir.File("missing.txt")).empty());
}
