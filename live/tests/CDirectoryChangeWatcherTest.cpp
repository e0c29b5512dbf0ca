#include "live/CDirectoryChangeWatcher.h"

#include "live/CDelayedDirectoryChangeHandler.h"
#include "live/SystemErrorText.h"
#include "platform/CTaskQueue.h"
#include "platform/fakes/CFakeFileChangeSource.h"
#include "platform/linux/CInotifyChangeSource.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Every change it gets, as one line of text, in order.
class CRecordingHandler : public CDirectoryChangeHandler
{
public:
    void FileAdded(const std::wstring& path) override { Note(L"added " + path); }
    void FileRemoved(const std::wstring& path) override { Note(L"removed " + path); }
    void FileRenamed(const std::wstring& oldPath, const std::wstring& newPath) override
    {
        Note(L"renamed " + oldPath + L" -> " + newPath);
    }
    void FileModified(const std::wstring& path) override
    {
        Note(L"modified " + path);
        if (throwOnModified) {
            throw std::runtime_error("handler failure");
        }
    }
    void WatchError(uint32_t code, const std::wstring& folder) override
    {
        Note(L"error " + std::to_wstring(code) + L" " + folder);
    }
    void WatchStarted(uint32_t code, const std::wstring& folder) override
    {
        Note(L"started " + std::to_wstring(code) + L" " + folder);
    }
    void WatchStopped(const std::wstring& folder) override { Note(L"stopped " + folder); }

    bool Has(const std::wstring& line) const
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    size_t IndexOf(const std::wstring& line) const
    {
        return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
    }

    std::vector<std::wstring> lines;
    std::vector<std::wstring> folders;
    bool throwOnModified = false;

private:
    void Note(const std::wstring& line)
    {
        lines.push_back(line);
        folders.push_back(CurrentFolder());
    }
};

std::wstring W(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

void Append(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::app) << text;
}

}  // namespace

TEST(MatchesPatternTest, StarAndQuestionMarkExactCase)
{
    EXPECT_TRUE(MatchesPattern(L"HH1.txt", L"*.txt"));
    EXPECT_TRUE(MatchesPattern(L".txt", L"*.txt"));
    EXPECT_FALSE(MatchesPattern(L"A.TXT", L"*.txt"));
    EXPECT_FALSE(MatchesPattern(L"a.txt.bak", L"*.txt"));
    EXPECT_TRUE(MatchesPattern(L"a.txt.txt", L"*.txt"));
    EXPECT_TRUE(MatchesPattern(L"HH1.dat", L"HH?.*"));
    EXPECT_FALSE(MatchesPattern(L"HH12.dat", L"HH?.dat"));
    EXPECT_TRUE(MatchesPattern(L"abc", L"a**c"));
    EXPECT_TRUE(MatchesPattern(L"", L"*"));
    EXPECT_FALSE(MatchesPattern(L"", L"?"));
    EXPECT_EQ(SplitPatterns(L"*.txt;*.dat"), (std::vector<std::wstring>{L"*.txt", L"*.dat"}));
    EXPECT_EQ(SplitPatterns(L"*.txt"), (std::vector<std::wstring>{L"*.txt"}));
}

// The watcher over real inotify, its changes delivered by the test's main loop.
class CDirectoryChangeWatcherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_watcher.WatchDirectory(W(m_dir.Path()), m_handler, L"*.txt"), 0u);
    }

    bool RunUntilHas(const std::wstring& line)
    {
        return m_loop.RunUntil([&] { return m_handler->Has(line); }, 10s);
    }

    vxtest::CTempDir m_dir;
    CTaskQueue m_loop;
    std::shared_ptr<CRecordingHandler> m_handler = std::make_shared<CRecordingHandler>();
    CDirectoryChangeWatcher m_watcher{m_loop, std::make_unique<CInotifyChangeSource>()};
};

TEST_F(CDirectoryChangeWatcherTest, DeliversChangesOnTheMainLoopInTheirOrder)
{
    const std::string file = m_dir.File("HH1.txt");
    Append(file, "hand\n");
    fs::remove(file);
    ASSERT_TRUE(RunUntilHas(L"removed " + W(file)));
    const size_t started = m_handler->IndexOf(L"started 0 " + W(m_dir.Path()));
    const size_t added = m_handler->IndexOf(L"added " + W(file));
    const size_t modified = m_handler->IndexOf(L"modified " + W(file));
    const size_t removed = m_handler->IndexOf(L"removed " + W(file));
    EXPECT_LT(started, added);
    EXPECT_LT(added, modified);
    EXPECT_LT(modified, removed);
    EXPECT_EQ(m_handler->folders[modified], W(m_dir.Path()));
}

TEST_F(CDirectoryChangeWatcherTest, DeliversARenameWithBothNamesWhenTheNewNamePasses)
{
    Append(m_dir.File("a.tmp"), "x");
    fs::rename(m_dir.File("a.tmp"), m_dir.File("a.txt"));
    ASSERT_TRUE(
        RunUntilHas(L"renamed " + W(m_dir.File("a.tmp")) + L" -> " + W(m_dir.File("a.txt"))));
    // The temporary name alone never passed the filter.
    EXPECT_FALSE(m_handler->Has(L"added " + W(m_dir.File("a.tmp"))));
}

TEST_F(CDirectoryChangeWatcherTest, FiltersByFileNameExactlyInCase)
{
    Append(m_dir.File("A.TXT"), "x");
    Append(m_dir.File("b.txt"), "x");
    ASSERT_TRUE(RunUntilHas(L"modified " + W(m_dir.File("b.txt"))));
    for (const auto& line : m_handler->lines) {
        EXPECT_EQ(line.find(L"A.TXT"), std::wstring::npos) << line;
    }
}

TEST_F(CDirectoryChangeWatcherTest, DeliversChangesOfSubFoldersWithTheirFullPaths)
{
    fs::create_directories(m_dir.File("2023/08"));
    Append(m_dir.File("2023/08/HH2.txt"), "x");
    EXPECT_TRUE(RunUntilHas(L"modified " + W(m_dir.File("2023/08/HH2.txt"))));
}

TEST_F(CDirectoryChangeWatcherTest, AFileMovedOutOfTheFolderIsRemoved)
{
    vxtest::CTempDir outside;
    Append(m_dir.File("out.txt"), "x");
    ASSERT_TRUE(RunUntilHas(L"modified " + W(m_dir.File("out.txt"))));
    fs::rename(m_dir.File("out.txt"), outside.File("out.txt"));
    EXPECT_TRUE(RunUntilHas(L"removed " + W(m_dir.File("out.txt"))));
}

TEST_F(CDirectoryChangeWatcherTest, StoppingFromTheMainThreadEndsWithTheWatchStopped)
{
    // Changes are waiting for the main loop while it stops the folder; the
    // stop must neither wait for them nor lose them.
    Append(m_dir.File("late.txt"), "x");
    // Started, added and modified wait in the queue; nothing runs them yet.
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (m_loop.Size() < 3 && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_GE(m_loop.Size(), 3u);
    EXPECT_TRUE(m_watcher.StopWatching(W(m_dir.Path()) + L"/"));
    EXPECT_FALSE(m_watcher.IsWatched(W(m_dir.Path())));
    ASSERT_TRUE(RunUntilHas(L"stopped " + W(m_dir.Path())));
    EXPECT_LT(m_handler->IndexOf(L"modified " + W(m_dir.File("late.txt"))),
              m_handler->IndexOf(L"stopped " + W(m_dir.Path())));
    EXPECT_EQ(m_handler->WatchCount(), 0);
    const size_t seen = m_handler->lines.size();
    Append(m_dir.File("after.txt"), "x");
    m_loop.RunUntil([] { return false; }, 200ms);
    EXPECT_EQ(m_handler->lines.size(), seen);
    EXPECT_FALSE(m_watcher.StopWatching(W(m_dir.Path())));
}

TEST_F(CDirectoryChangeWatcherTest, WatchingAFolderAgainStopsTheFirstWatch)
{
    ASSERT_EQ(m_watcher.WatchDirectory(W(m_dir.Path()) + L"/", m_handler, L"*.txt"), 0u);
    EXPECT_EQ(m_watcher.WatchedFolders().size(), 1u);
    EXPECT_EQ(m_handler->WatchCount(), 1);
    Append(m_dir.File("once.txt"), "x");
    ASSERT_TRUE(RunUntilHas(L"modified " + W(m_dir.File("once.txt"))));
    m_loop.RunUntil([] { return false; }, 200ms);
    EXPECT_EQ(std::count(m_handler->lines.begin(), m_handler->lines.end(),
                         L"modified " + W(m_dir.File("once.txt"))),
              1);
    // Case counts: this is another folder, and it does not exist.
    EXPECT_FALSE(m_watcher.IsWatched(W(m_dir.Path() + "X")));
}

TEST_F(CDirectoryChangeWatcherTest, AFolderDeletedWhileWatchedReportsAnErrorAndIsDropped)
{
    fs::create_directory(m_dir.File("gone"));
    ASSERT_EQ(m_watcher.WatchDirectory(W(m_dir.File("gone")), m_handler, L""), 0u);
    fs::remove_all(m_dir.File("gone"));
    ASSERT_TRUE(RunUntilHas(L"error " + std::to_wstring(ENOENT) + L" " + W(m_dir.File("gone"))));
    EXPECT_FALSE(m_watcher.IsWatched(W(m_dir.File("gone"))));
    EXPECT_TRUE(m_watcher.IsWatched(W(m_dir.Path())));
}

TEST_F(CDirectoryChangeWatcherTest, RefusesBadArgumentsWithTheirNumbers)
{
    EXPECT_EQ(m_watcher.WatchDirectory(L"", m_handler, L"*.txt"), kErrorInvalidParameter);
    EXPECT_EQ(m_watcher.WatchDirectory(W(m_dir.Path()), nullptr, L"*.txt"), kErrorInvalidParameter);
    EXPECT_EQ(m_watcher.WatchDirectory(W(m_dir.File("missing")), m_handler, L"*.txt"),
              kErrorBadPathName);
    Append(m_dir.File("plain.txt"), "x");
    EXPECT_EQ(m_watcher.WatchDirectory(W(m_dir.File("plain.txt")), m_handler, L"*.txt"),
              kErrorBadPathName);
    EXPECT_EQ(SystemErrorText(0), L"The operation completed successfully.");
}

TEST_F(CDirectoryChangeWatcherTest, AHandlerServesTwoWatchersAtOnce)
{
    vxtest::CTempDir second;
    CDirectoryChangeWatcher other(m_loop, std::make_unique<CInotifyChangeSource>());
    ASSERT_EQ(other.WatchDirectory(W(second.Path()), m_handler, L"*.txt"), 0u);
    EXPECT_EQ(m_handler->WatchCount(), 2);
    EXPECT_TRUE(m_watcher.IsWatched(W(m_dir.Path())));
    Append(m_dir.File("first.txt"), "x");
    Append(second.File("second.txt"), "x");
    EXPECT_TRUE(RunUntilHas(L"modified " + W(m_dir.File("first.txt"))));
    EXPECT_TRUE(RunUntilHas(L"modified " + W(second.File("second.txt"))));
}

// The watcher over a change source the test drives.
class CDirectoryChangeWatcherFakeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto source = std::make_unique<CFakeFileChangeSource>();
        m_source = source.get();
        m_watcher = std::make_unique<CDirectoryChangeWatcher>(m_loop, std::move(source));
        ASSERT_EQ(m_watcher->WatchDirectory(W(m_dir.Path()), m_handler, L"*.txt;*.dat"), 0u);
        m_tree = m_source->TreeOf(m_dir.Path());
    }

    CFileChange Change(CFileChange::Kind kind, const std::string& name, uint32_t cookie = 0)
    {
        CFileChange c;
        c.kind = kind;
        c.tree = m_tree;
        c.path = m_dir.File(name);
        c.cookie = cookie;
        return c;
    }

    void DeliverAll()
    {
        ASSERT_TRUE(m_source->WaitUntilTaken(5000));
        m_loop.RunUntil([] { return false; }, 100ms);
    }

    vxtest::CTempDir m_dir;
    CTaskQueue m_loop;
    std::shared_ptr<CRecordingHandler> m_handler = std::make_shared<CRecordingHandler>();
    CFakeFileChangeSource* m_source = nullptr;
    std::unique_ptr<CDirectoryChangeWatcher> m_watcher;
    int m_tree = 0;
};

TEST_F(CDirectoryChangeWatcherFakeTest, ARenameSplitBetweenTwoBatchesArrivesWithBothNames)
{
    using K = CFileChange::Kind;
    m_source->Queue({Change(K::Modified, "x.txt"), Change(K::MovedFrom, "a.txt", 7)});
    m_source->Queue({Change(K::MovedTo, "b.txt", 7)});
    DeliverAll();
    EXPECT_TRUE(
        m_handler->Has(L"renamed " + W(m_dir.File("a.txt")) + L" -> " + W(m_dir.File("b.txt"))));
    EXPECT_FALSE(m_handler->Has(L"removed " + W(m_dir.File("a.txt"))));
}

TEST_F(CDirectoryChangeWatcherFakeTest, AnOldNameWithoutItsNewNameIsARemoval)
{
    using K = CFileChange::Kind;
    m_source->Queue({Change(K::MovedFrom, "a.txt", 9)});
    ASSERT_TRUE(
        m_loop.RunUntil([&] { return m_handler->Has(L"removed " + W(m_dir.File("a.txt"))); }, 5s));
    m_source->Queue({Change(K::MovedFrom, "c.txt", 11), Change(K::Modified, "d.txt")});
    DeliverAll();
    EXPECT_LT(m_handler->IndexOf(L"removed " + W(m_dir.File("c.txt"))),
              m_handler->IndexOf(L"modified " + W(m_dir.File("d.txt"))));
}

TEST_F(CDirectoryChangeWatcherFakeTest, LostChangesAreReportedToEveryFolderWhichStaysWatched)
{
    vxtest::CTempDir second;
    ASSERT_EQ(m_watcher->WatchDirectory(W(second.Path()), m_handler, L"*.txt"), 0u);
    CFileChange overflow;
    overflow.kind = CFileChange::Kind::Overflow;
    m_source->Queue({overflow});
    DeliverAll();
    EXPECT_TRUE(m_handler->Has(L"error 1022 " + W(m_dir.Path())));
    EXPECT_TRUE(m_handler->Has(L"error 1022 " + W(second.Path())));
    EXPECT_TRUE(m_watcher->IsWatched(W(m_dir.Path())));
    m_source->Queue({Change(CFileChange::Kind::Modified, "next.dat")});
    DeliverAll();
    EXPECT_TRUE(m_handler->Has(L"modified " + W(m_dir.File("next.dat"))));
}

TEST_F(CDirectoryChangeWatcherFakeTest, AStartTheSystemRefusesReturnsItsError)
{
    vxtest::CTempDir denied;
    m_source->FailAddTree(denied.Path(), EACCES);
    EXPECT_EQ(m_watcher->WatchDirectory(W(denied.Path()), m_handler, L"*.txt"),
              static_cast<uint32_t>(EACCES));
    EXPECT_FALSE(m_watcher->IsWatched(W(denied.Path())));
    DeliverAll();
    EXPECT_TRUE(m_handler->Has(L"started " + std::to_wstring(EACCES) + L" " + W(denied.Path())));
    EXPECT_EQ(m_handler->WatchCount(), 1);
}

TEST_F(CDirectoryChangeWatcherFakeTest, AHandlerThatThrowsStillGetsTheNextChange)
{
    m_handler->throwOnModified = true;
    m_source->Queue({Change(CFileChange::Kind::Modified, "a.txt"),
                     Change(CFileChange::Kind::Removed, "a.txt")});
    DeliverAll();
    EXPECT_TRUE(m_handler->Has(L"removed " + W(m_dir.File("a.txt"))));
}

TEST_F(CDirectoryChangeWatcherFakeTest, StopAllEndsTheWorkerAndEveryFolder)
{
    m_watcher->StopAll();
    EXPECT_TRUE(m_watcher->WatchedFolders().empty());
    EXPECT_TRUE(m_source->Folders().empty());
    m_loop.RunUntil([] { return false; }, 50ms);
    EXPECT_TRUE(m_handler->Has(L"stopped " + W(m_dir.Path())));
    // A later folder starts a new worker.
    EXPECT_EQ(m_watcher->WatchDirectory(W(m_dir.Path()), m_handler, L"*.txt"), 0u);
    EXPECT_TRUE(m_watcher->IsWatched(W(m_dir.Path())));
}
