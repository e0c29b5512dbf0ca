#include "live/CDirectoryChangeHandlerHistory.h"
#include "live/tests/LiveTestFixture.h"
#include "platform/fakes/CFakeFileChangeSource.h"

#include <filesystem>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using vxtest::W;
using vxtest::Written;

class LiveImportTest : public vxtest::CLiveFixture
{
};

TEST_F(LiveImportTest, AFilePresentBeforeStartGetsOnlyTheHandAppendedAfterIt)
{
    AppendHands("HH20191007 Sculptor.txt", 0, 3);
    m_live->StartLiveTracking();
    EXPECT_EQ(m_log.logs.back(),
              L"Start WatchDirectory History OK!\nThe operation completed successfully.");
    AppendHands("HH20191007 Sculptor.txt", 3, 4);
    ASSERT_TRUE(RunUntilStored(1));
    Settle();
    EXPECT_EQ(Count(L"hands"), 1);
    EXPECT_EQ(Scalar(L"SELECT sitehandnumber FROM hands"),
              W(m_hands[3].substr(17, m_hands[3].find(':') - 17)));
    const auto [money, ev] = HeroTotals();
    ASSERT_FALSE(m_session.updates.empty());
    // The start sets the figures to 0 first.
    EXPECT_EQ(m_session.updates.front(), (std::array<int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(m_session.updates.back(),
              (std::array<int32_t, 4>{1, static_cast<int32_t>(money), static_cast<int32_t>(ev),
                                      static_cast<int32_t>(money - ev)}));
}

TEST_F(LiveImportTest, AFileCreatedAfterStartIsImportedFromItsBeginning)
{
    m_live->StartLiveTracking();
    AppendHands("HH20191007 Sculptor.txt", 0, 2);
    ASSERT_TRUE(RunUntilStored(2));
    Settle();
    EXPECT_EQ(Count(L"hands"), 2);
    EXPECT_EQ(Scalar(L"SELECT path || '/' || idsite || '/' || finish FROM files"),
              L"HH20191007 Sculptor.txt/1/false");
    EXPECT_EQ(m_live->TotalHands(), 2);
    EXPECT_EQ(m_live->TotalMoney(), HeroTotals().first);
    EXPECT_EQ(m_live->TotalEv(), HeroTotals().second);
}

TEST_F(LiveImportTest, ThePokerStarsFolderKeepsOnlyFilesWhoseNamesBeginWithHH)
{
    AppendHands("Table 1.txt", 0, 1);
    AppendHands("HH20191007 Sculptor.txt", 1, 2);
    m_live->StartLiveTracking();
    EXPECT_EQ(m_live->HistoryFilesCopy().count(W(File("Table 1.txt"))), 0u);
    AppendHands("Table 1.txt", 2, 3);
    AppendHands("HH20191007 Sculptor.txt", 3, 4);
    ASSERT_TRUE(RunUntilStored(1));
    Settle();
    EXPECT_EQ(m_live->Counts().stored, 1);
    EXPECT_EQ(Count(L"hands"), 1);
}

TEST_F(LiveImportTest, WithTheTrackerOffNothingIsImportedAndNoPositionMoves)
{
    m_live->SetTrackerSwitch(false);
    m_live->StartLiveTracking();
    EXPECT_TRUE(m_session.updates.empty());
    AppendHands("HH20191007 Sculptor.txt", 0, 2);
    ASSERT_TRUE(m_loop.RunUntil(
        [&] { return m_live->HistoryFilesCopy().count(W(File("HH20191007 Sculptor.txt"))) != 0; },
        10s));
    Settle();
    EXPECT_EQ(m_live->Counts().stored, 0);
    EXPECT_EQ(Count(L"hands"), 0);
    EXPECT_EQ(m_live->HistoryFilesCopy().begin()->second.readPosition, 0);
    // Switched on, the file is read from where it stood: its start.
    m_live->SetTrackerSwitch(true);
    AppendHands("HH20191007 Sculptor.txt", 2, 3);
    ASSERT_TRUE(RunUntilStored(3));
}

TEST_F(LiveImportTest, SubFoldersRenamesAndRemovalsFollowTheFiles)
{
    m_live->StartLiveTracking();
    fs::create_directories(File("2019/10"));
    AppendHands("2019/10/HH20191007 Sculptor.txt", 0, 1);
    ASSERT_TRUE(RunUntilStored(1));
    EXPECT_EQ(m_live->HistoryFilesCopy().count(W(File("2019/10/HH20191007 Sculptor.txt"))), 1u);

    fs::rename(File("2019/10/HH20191007 Sculptor.txt"), File("2019/10/HH20191007 Sculptor II.txt"));
    ASSERT_TRUE(m_loop.RunUntil(
        [&] {
            return m_live->HistoryFilesCopy().count(
                       W(File("2019/10/HH20191007 Sculptor II.txt"))) != 0;
        },
        10s));
    EXPECT_EQ(m_live->HistoryFilesCopy().count(W(File("2019/10/HH20191007 Sculptor.txt"))), 0u);
    AppendHands("2019/10/HH20191007 Sculptor II.txt", 1, 2);
    ASSERT_TRUE(RunUntilStored(2));
    Settle();
    // The renamed file was read anew; its first hand was not stored again.
    EXPECT_EQ(Count(L"hands"), 2);
    EXPECT_EQ(m_live->TotalHands(), 2);

    fs::remove(File("2019/10/HH20191007 Sculptor II.txt"));
    ASSERT_TRUE(m_loop.RunUntil([&] { return m_live->HistoryFilesCopy().empty(); }, 10s));
}

TEST_F(LiveImportTest, AHandWrittenInTwoPiecesIsImportedOnceAndComplete)
{
    m_live->StartLiveTracking();
    const std::string& hand = m_hands[0];
    const size_t cut = hand.find("*** FLOP ***");
    ASSERT_NE(cut, std::string::npos);
    Append("HH20191007 Sculptor.txt", hand.substr(0, cut));
    ASSERT_TRUE(m_loop.RunUntil(
        [&] {
            const auto files = m_live->HistoryFilesCopy();
            return !files.empty() && !files.begin()->second.heldLines.empty();
        },
        10s));
    Settle();
    EXPECT_EQ(Count(L"hands"), 0);

    std::this_thread::sleep_for(1s);
    Append("HH20191007 Sculptor.txt", Written(hand.substr(cut)));
    ASSERT_TRUE(RunUntilStored(1));
    Settle();
    EXPECT_EQ(Count(L"hands"), 1);
    EXPECT_EQ(m_live->Counts().rejected, 0);
    // The stored text runs to the hand's last summary line.
    const std::string last = hand.substr(hand.rfind("Seat ", hand.size() - 3));
    const std::wstring stored = Scalar(L"SELECT hh FROM handhistory");
    EXPECT_NE(stored.find(W(last.substr(0, last.size() - 2))), std::wstring::npos);
    EXPECT_EQ(m_live->TotalMoney(), HeroTotals().first);
}

TEST_F(LiveImportTest, AnUnfinishedHandWaitsForItsEndHoweverLongTheClientPauses)
{
    m_live->StartLiveTracking();
    // A client that has not written the empty line after its last hand yet.
    Append("HH20191007 Sculptor.txt", m_hands[0]);
    ASSERT_TRUE(m_loop.RunUntil(
        [&] {
            const auto files = m_live->HistoryFilesCopy();
            return !files.empty() && !files.begin()->second.heldLines.empty();
        },
        10s));
    // Longer than any quiet time: a hand is never stored before it ended.
    EXPECT_FALSE(TickUntil([&] { return m_live->Counts().stored != 0; }, 5s));
    EXPECT_EQ(Count(L"hands"), 0);
    Append("HH20191007 Sculptor.txt", "\r\n\r\n");
    ASSERT_TRUE(RunUntilStored(1));
    Settle();
    EXPECT_EQ(Count(L"handsactions WHERE idhand = (SELECT id FROM hands)"),
              std::stoll(Scalar(L"SELECT count(*) FROM handsactions")));
    EXPECT_GT(Count(L"handsplayers"), 1);
    EXPECT_EQ(m_live->Counts().rejected, 0);
}

TEST_F(LiveImportTest, AShortenedOrReplacedFileIsReadAgainWithoutStoringAHandTwice)
{
    m_live->StartLiveTracking();
    AppendHands("HH20191007 Sculptor.txt", 0, 3);
    ASSERT_TRUE(RunUntilStored(3));

    // Cut and written anew, shorter than what was read.
    fs::resize_file(File("HH20191007 Sculptor.txt"), 0);
    AppendHands("HH20191007 Sculptor.txt", 3, 4);
    ASSERT_TRUE(RunUntilStored(4));

    // Replaced by another file that holds what was there and more.
    {
        std::ofstream out(File("next.tmp"), std::ios::binary);
        for (size_t i = 0; i < 6; ++i) {
            out << vxtest::Written(m_hands[i]);
        }
    }
    fs::rename(File("next.tmp"), File("HH20191007 Sculptor.txt"));
    ASSERT_TRUE(RunUntilStored(6));
    Settle();
    EXPECT_EQ(Count(L"hands"), 6);
    EXPECT_EQ(Scalar(L"SELECT count(DISTINCT sitehandnumber) FROM hands"), L"6");
    EXPECT_EQ(m_live->TotalHands(), 6);
    EXPECT_EQ(m_live->TotalMoney(), HeroTotals().first);
}

TEST_F(LiveImportTest, TheFiguresAddEveryStoredHeroHandOnce)
{
    m_live->StartLiveTracking();
    // Several hands in one write: one import stores them all.
    AppendHands("HH20191007 Sculptor.txt", 0, 8);
    ASSERT_TRUE(RunUntilStored(8));
    Settle();
    const auto [money, ev] = HeroTotals();
    EXPECT_EQ(m_session.updates.back(),
              (std::array<int32_t, 4>{8, static_cast<int32_t>(money), static_cast<int32_t>(ev),
                                      static_cast<int32_t>(money - ev)}));
    // A hand stored before adds nothing when it comes again.
    const size_t updates = m_session.updates.size();
    AppendHands("HH20191007 Sculptor.txt", 0, 1);
    ASSERT_TRUE(m_loop.RunUntil([&] { return m_live->Counts().alreadyStored >= 1; }, 10s));
    Settle();
    EXPECT_GT(m_session.updates.size(), updates);
    EXPECT_EQ(m_session.updates.back(), m_session.updates[updates - 1]);
}

TEST_F(LiveImportTest, AmountsAreConvertedIntoTheDisplayCurrency)
{
    m_session.display = 1;
    m_session.rates[0] = 0.5;
    m_live->StartLiveTracking();
    AppendHands("HH20191007 Sculptor.txt", 0, 6);
    ASSERT_TRUE(RunUntilStored(6));
    Settle();
    const auto [money, ev] = HeroTotals();
    EXPECT_EQ(m_live->TotalMoney(), static_cast<int32_t>(static_cast<double>(money) * 0.5 + 0.5));
    EXPECT_EQ(m_live->TotalEv(), static_cast<int32_t>(static_cast<double>(ev) * 0.5 + 0.5));

    // A currency without a rate counts 0.
    m_session.rates.clear();
    AppendHands("HH20191007 Sculptor.txt", 6, 7);
    ASSERT_TRUE(RunUntilStored(7));
    Settle();
    EXPECT_EQ(m_live->TotalHands(), 7);
    EXPECT_EQ(m_live->TotalMoney(), static_cast<int32_t>(static_cast<double>(money) * 0.5 + 0.5));
    EXPECT_EQ(m_session.rates.count(0), 1u);
}

TEST_F(LiveImportTest, FilesFinishedAtCloseAreReadAgainWhenTheyGrowAfterTheNextStart)
{
    m_log.debug = true;
    m_live->StartLiveTracking();
    AppendHands("HH20191007 Sculptor.txt", 0, 1);
    ASSERT_TRUE(RunUntilStored(1));
    m_live->FinishWatchedFiles();
    EXPECT_EQ(Scalar(L"SELECT finish FROM files"), L"1");
    EXPECT_NE(std::find(m_log.outputs.begin(), m_log.outputs.end(),
                        L"File HH20191007 Sculptor.txt was SetFinished to DB"),
              m_log.outputs.end());

    // The program starts again while the table is still open.
    m_live->StartLiveTracking();
    AppendHands("HH20191007 Sculptor.txt", 1, 2);
    ASSERT_TRUE(RunUntilStored(2));
    EXPECT_EQ(Scalar(L"SELECT finish FROM files"), L"0");
    EXPECT_NE(std::find(m_log.outputs.begin(), m_log.outputs.end(),
                        L"File " + W(File("HH20191007 Sculptor.txt")) + L" was modified"),
              m_log.outputs.end());
}

TEST_F(LiveImportTest, HandsWrittenWhileTrackingWasOffAreStoredAtTheNextStart)
{
    m_log.debug = true;
    m_live->StartLiveTracking();
    AppendHands("HH20191007 Sculptor.txt", 0, 2);
    ASSERT_TRUE(RunUntilStored(2));
    m_live->FinishWatchedFiles();
    EXPECT_EQ(Scalar(L"SELECT finish FROM files"), L"1");
    m_live->StopWatching();

    // The client opened the table again while the tracker was closed.
    AppendHands("HH20191007 Sculptor.txt", 2, 5);
    m_live->StartLiveTracking();
    ASSERT_TRUE(RunUntilStored(5));
    Settle();
    EXPECT_EQ(Count(L"hands"), 5);
    EXPECT_EQ(m_live->Counts().alreadyStored, 2);
    EXPECT_EQ(Scalar(L"SELECT finish FROM files"), L"0");

    // Finished again and unchanged: the next start reads nothing.
    m_live->FinishWatchedFiles();
    m_live->StopWatching();
    const auto before = m_live->Counts();
    m_live->StartLiveTracking();
    Settle();
    EXPECT_EQ(m_live->Counts().alreadyStored, before.alreadyStored);
    EXPECT_EQ(m_live->Counts().stored, before.stored);
}

TEST_F(LiveImportTest, AHandStillBeingWrittenWhenTrackingStartsAgainIsKept)
{
    m_live->StartLiveTracking();
    const std::string& hand = m_hands[0];
    const size_t cut = hand.find("*** SUMMARY ***");
    Append("HH20191007 Sculptor.txt", hand.substr(0, cut));
    ASSERT_TRUE(m_loop.RunUntil(
        [&] {
            const auto files = m_live->HistoryFilesCopy();
            return !files.empty() && !files.begin()->second.heldLines.empty();
        },
        10s));
    m_live->StartLiveTracking();
    Append("HH20191007 Sculptor.txt", Written(hand.substr(cut)));
    ASSERT_TRUE(RunUntilStored(1));
    Settle();
    EXPECT_EQ(m_live->Counts().rejected, 0);
    EXPECT_GT(Count(L"handsplayers"), 1);
    EXPECT_GT(std::stoll(Scalar(L"SELECT totalpot FROM hands")), 0);
}

TEST_F(LiveImportTest, ThePokerStarsAndUpokerFoldersAreWatchedTogether)
{
    fs::create_directories(m_dir.File("upo_hh"));
    CPokerRoom& upoker = m_rooms.Room(kRoomUpoker);
    upoker.historyFolder = W(m_dir.File("upo_hh"));
    upoker.hudSwitch = 1;
    m_live->StartLiveTracking();
    EXPECT_EQ(m_live->HistoryHandler()->WatchCount(), 2);
    AppendHands("HH20191007 Sculptor.txt", 0, 1);
    std::ofstream(m_dir.File("upo_hh/x_PKDOM_UPO_1.txt"), std::ios::binary)
        << vxtest::Written(m_hands[1]);
    ASSERT_TRUE(RunUntilStored(2));
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM files WHERE idsite = 1"), L"2");
}

// Live tracking over a change source the test drives.
class LiveImportFakeSourceTest : public vxtest::CLiveFixture
{
protected:
    void SetUp() override
    {
        CLiveFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        MakeLive([this] {
            auto source = std::make_unique<CFakeFileChangeSource>();
            m_source = source.get();
            return source;
        });
    }

    CFakeFileChangeSource* m_source = nullptr;
};

TEST_F(LiveImportFakeSourceTest, AfterLostChangesEveryFileOfTheFolderIsLookedAtAnew)
{
    AppendHands("HH20191007 Sculptor.txt", 0, 1);
    m_live->StartLiveTracking();
    ASSERT_NE(m_source, nullptr);
    // Changes the system did not report: one file grew, one is new.
    AppendHands("HH20191007 Sculptor.txt", 1, 2);
    AppendHands("HH20191007 Sculptor II.txt", 2, 4);
    CFileChange overflow;
    overflow.kind = CFileChange::Kind::Overflow;
    m_source->Queue({overflow});
    ASSERT_TRUE(RunUntilStored(3));
    Settle();
    EXPECT_EQ(Count(L"hands"), 3);
}

TEST_F(LiveImportFakeSourceTest, AWatchThatCannotStartIsLogged)
{
    m_rooms.Room(kRoomPokerStars).watcher.reset();
    MakeLive([this] {
        auto source = std::make_unique<CFakeFileChangeSource>();
        source->FailAddTree(m_dir.File("hh"), EACCES);
        return source;
    });
    m_live->StartLiveTracking();
    EXPECT_EQ(m_log.logs.back(), L"Failed to start watch for History:\nPermission denied");
}
