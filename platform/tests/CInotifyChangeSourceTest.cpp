#include "platform/linux/CInotifyChangeSource.h"

#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;
using Kind = CFileChange::Kind;

class CInotifyChangeSourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_source.OpenError(), 0);
        ASSERT_EQ(m_source.AddTree(m_dir.Path(), m_tree), 0);
    }

    // Takes changes until `done` holds or five seconds pass.
    bool CollectUntil(const std::function<bool()>& done)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            m_source.Wait(m_changes, 100);
        }
        return true;
    }

    size_t Find(Kind kind, const std::string& path) const
    {
        for (size_t i = 0; i < m_changes.size(); ++i) {
            if (m_changes[i].kind == kind && m_changes[i].path == path) {
                return i;
            }
        }
        return std::string::npos;
    }

    bool Has(Kind kind, const std::string& path) const
    {
        return Find(kind, path) != std::string::npos;
    }

    bool CollectUntilHas(Kind kind, const std::string& path)
    {
        return CollectUntil([&] { return Has(kind, path); });
    }

    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary | std::ios::app) << text;
    }

    vxtest::CTempDir m_dir;
    CInotifyChangeSource m_source;
    int m_tree = 0;
    std::vector<CFileChange> m_changes;
};

TEST_F(CInotifyChangeSourceTest, ReportsAddedModifiedAndRemovedFilesInOrder)
{
    const std::string file = m_dir.File("HH1.txt");
    Write(file, "hand\n");
    Write(file, "more\n");
    fs::remove(file);
    ASSERT_TRUE(CollectUntilHas(Kind::Removed, file));
    const size_t added = Find(Kind::Added, file);
    const size_t modified = Find(Kind::Modified, file);
    ASSERT_NE(added, std::string::npos);
    ASSERT_NE(modified, std::string::npos);
    EXPECT_LT(added, modified);
    EXPECT_LT(modified, Find(Kind::Removed, file));
    EXPECT_EQ(m_changes[added].tree, m_tree);
}

TEST_F(CInotifyChangeSourceTest, PairsTheTwoNamesOfARenameByCookie)
{
    Write(m_dir.File("a.tmp"), "x");
    fs::rename(m_dir.File("a.tmp"), m_dir.File("a.txt"));
    ASSERT_TRUE(CollectUntilHas(Kind::MovedTo, m_dir.File("a.txt")));
    const auto& from = m_changes[Find(Kind::MovedFrom, m_dir.File("a.tmp"))];
    const auto& to = m_changes[Find(Kind::MovedTo, m_dir.File("a.txt"))];
    EXPECT_NE(from.cookie, 0u);
    EXPECT_EQ(from.cookie, to.cookie);
}

TEST_F(CInotifyChangeSourceTest, WatchesSubFoldersMadeAfterTheStart)
{
    fs::create_directory(m_dir.File("day"));
    ASSERT_TRUE(CollectUntil([&] {
        Write(m_dir.File("day/HH2.txt"), "x");
        return Has(Kind::Modified, m_dir.File("day/HH2.txt"));
    }));
}

TEST_F(CInotifyChangeSourceTest, ReportsFilesWrittenIntoANewFolderBeforeItsWatch)
{
    // Made at once, faster than the watch of each new folder can be set.
    fs::create_directories(m_dir.File("a/b/c"));
    Write(m_dir.File("a/b/c/HH3.txt"), "hand");
    ASSERT_TRUE(CollectUntilHas(Kind::Modified, m_dir.File("a/b/c/HH3.txt")));
    EXPECT_TRUE(Has(Kind::Added, m_dir.File("a/b/c/HH3.txt")));
    Write(m_dir.File("a/b/c/HH4.txt"), "hand");
    EXPECT_TRUE(CollectUntilHas(Kind::Modified, m_dir.File("a/b/c/HH4.txt")));
}

TEST_F(CInotifyChangeSourceTest, SubFoldersThatExistedAtTheStartAreWatched)
{
    vxtest::CTempDir other;
    fs::create_directories(other.File("x/y"));
    CInotifyChangeSource source;
    int tree = 0;
    ASSERT_EQ(source.AddTree(other.Path() + "/", tree), 0);
    Write(other.File("x/y/f.txt"), "1");
    std::vector<CFileChange> changes;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    const std::string path = other.Path() + "/x/y/f.txt";
    while (std::none_of(changes.begin(), changes.end(),
                        [&](const CFileChange& c) { return c.path == path; }) &&
           std::chrono::steady_clock::now() < end) {
        source.Wait(changes, 100);
    }
    ASSERT_FALSE(changes.empty());
    // A folder given with its trailing "/" gets no second one.
    EXPECT_EQ(changes.back().path, path);
}

TEST_F(CInotifyChangeSourceTest, ARenamedSubFolderReportsItsNewPaths)
{
    fs::create_directory(m_dir.File("old"));
    ASSERT_TRUE(CollectUntil([&] {
        Write(m_dir.File("old/probe.txt"), "x");
        return Has(Kind::Modified, m_dir.File("old/probe.txt"));
    }));
    fs::rename(m_dir.File("old"), m_dir.File("new"));
    Write(m_dir.File("new/f.txt"), "x");
    EXPECT_TRUE(CollectUntilHas(Kind::Modified, m_dir.File("new/f.txt")));
    EXPECT_FALSE(Has(Kind::Modified, m_dir.File("old/f.txt")));
}

TEST_F(CInotifyChangeSourceTest, AFolderMovedOutOfTheTreeIsNoLongerReported)
{
    vxtest::CTempDir outside;
    fs::create_directory(m_dir.File("gone"));
    ASSERT_TRUE(CollectUntil([&] {
        Write(m_dir.File("gone/probe.txt"), "x");
        return Has(Kind::Modified, m_dir.File("gone/probe.txt"));
    }));
    fs::rename(m_dir.File("gone"), outside.File("gone"));
    Write(outside.File("gone/late.txt"), "x");
    Write(m_dir.File("marker.txt"), "x");
    ASSERT_TRUE(CollectUntilHas(Kind::Modified, m_dir.File("marker.txt")));
    for (const auto& change : m_changes) {
        EXPECT_EQ(change.path.find("late.txt"), std::string::npos) << change.path;
    }
}

TEST_F(CInotifyChangeSourceTest, HandlesNamesLongerThanAnyFixedBuffer)
{
    const std::string longName(200, 'n');
    std::string folder = m_dir.Path();
    for (int depth = 0; depth < 4; ++depth) {
        folder += "/" + longName;
    }
    fs::create_directories(folder);
    const std::string file = folder + "/" + std::string(250, 'f');
    Write(file, "x");
    EXPECT_TRUE(CollectUntilHas(Kind::Modified, file));
}

TEST_F(CInotifyChangeSourceTest, ReportsTheTreeGoneWhenItsFolderIsDeleted)
{
    vxtest::CTempDir other;
    fs::create_directory(other.File("watched"));
    int tree = 0;
    ASSERT_EQ(m_source.AddTree(other.File("watched"), tree), 0);
    fs::remove_all(other.File("watched"));
    ASSERT_TRUE(CollectUntil([&] {
        return std::any_of(m_changes.begin(), m_changes.end(), [&](const CFileChange& c) {
            return c.kind == Kind::TreeGone && c.tree == tree;
        });
    }));
    // The other tree goes on.
    Write(m_dir.File("still.txt"), "x");
    EXPECT_TRUE(CollectUntilHas(Kind::Modified, m_dir.File("still.txt")));
}

TEST_F(CInotifyChangeSourceTest, RemovedTreeReportsNothingMore)
{
    m_source.RemoveTree(m_tree);
    Write(m_dir.File("after.txt"), "x");
    m_source.Wait(m_changes, 200);
    EXPECT_TRUE(m_changes.empty());
}

TEST_F(CInotifyChangeSourceTest, ReportsAnOverflowOfTheSystemQueue)
{
    std::ifstream limitFile("/proc/sys/fs/inotify/max_queued_events");
    long limit = 16384;
    limitFile >> limit;
    if (limit > 200000) {
        GTEST_SKIP() << "the system queue holds " << limit << " changes";
    }
    // Nobody reads while the changes pile up.
    fs::create_directory(m_dir.File("many"));
    m_source.Wait(m_changes, 200);
    for (long i = 0; i <= limit; ++i) {
        std::FILE* f = std::fopen(m_dir.File("many/" + std::to_string(i)).c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    ASSERT_TRUE(CollectUntil([&] {
        return std::any_of(m_changes.begin(), m_changes.end(),
                           [](const CFileChange& c) { return c.kind == Kind::Overflow; });
    }));
}

TEST_F(CInotifyChangeSourceTest, InterruptEndsAWaitWithoutChanges)
{
    m_source.Interrupt();
    const auto start = std::chrono::steady_clock::now();
    m_source.Wait(m_changes, 30000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(m_changes.empty());
}

TEST_F(CInotifyChangeSourceTest, RefusesWhatIsNoFolder)
{
    int tree = 0;
    EXPECT_EQ(m_source.AddTree(m_dir.File("missing"), tree), ENOENT);
    Write(m_dir.File("plain.txt"), "x");
    EXPECT_EQ(m_source.AddTree(m_dir.File("plain.txt"), tree), ENOTDIR);
}
