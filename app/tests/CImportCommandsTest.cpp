#include "app/commands/CImportCommands.h"

#include "app/CImportDialog.h"
#include "app/COutputList.h"
#include "app/COutputWnd.h"
#include "app/CRibbonBar.h"
#include "app/commands/CommandIds.h"
#include "app/core/CManualImport.h"
#include "app/tests/CPgFrameFixture.h"
#include "foundation/WideText.h"
#include "testing/CTempDir.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class CImportCommandsTest : public CPgFrameFixture
{
protected:
    // Copies corpus files of `room` into the temporary folder, at most
    // `count`, and returns how many.
    int CopyCorpus(const std::string& room, int count, const std::string& into)
    {
        fs::create_directories(into);
        int copied = 0;
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(vxtest::CorpusDir() + "/" + room)) {
            if (e.path().extension() == ".txt") {
                files.push_back(e.path());
            }
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& p : files) {
            if (copied == count) {
                break;
            }
            fs::copy_file(p, fs::path(into) / p.filename());
            ++copied;
        }
        return copied;
    }

    void ChooseImportRoom(const QString& room)
    {
        QComboBox* combo = m_h->Frame().Ribbon()->Combo(vxcmd::kImportRoomList);
        combo->setCurrentIndex(combo->findText(room));
        emit combo->activated(combo->currentIndex());
    }

    vxtest::CTempDir m_dir;
};

TEST_F(CImportCommandsTest, AFolderImportWritesItsLinesAndTotalsAndRemembersTheFolder)
{
    VX_REQUIRE_CORPUS();
    MakeFrame();
    CreateDatabase();
    const std::string folder = m_dir.File("stars");
    const int files = CopyCorpus("pokerstars", 3, folder);
    ASSERT_EQ(files, 3);
    // Not hand histories of the room: left alone by the folder walk.
    fs::create_directories(folder + "/sub");
    std::ofstream(folder + "/notes.csv") << "not hands\n";
    m_h->dialogs.folders.push_back(QString::fromStdString(folder));
    ASSERT_TRUE(m_h->Frame().Dispatch(vxcmd::kImportFolder2));
    EXPECT_EQ(m_h->dialogs.titles.last(), "Select hand history folder");
    EXPECT_EQ(m_h->profile.GetProfileString(L"Room_PokerStars", L"ImpotrFolderPath2", L""),
              FromUtf8(folder));
    EXPECT_EQ(m_h->profile.GetProfileString(L"Room_PokerStars", L"ImpotrFolderPath", L"none"),
              L"none");

    CImportDialog* dialog = m_h->Frame().findChild<CImportDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(WaitFor([&] { return dialog->IsFinished(); }, 120000));
    EXPECT_EQ(dialog->Button()->text(), "Close");
    EXPECT_EQ(dialog->Bar()->value(), 3);

    QStringList lines = m_h->PaneLines();
    ASSERT_EQ(lines.size(), 8);
    int total = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(lines[2 * i].startsWith(
            QStringLiteral("All files = 3 file number %1. Start import from file = %2/")
                .arg(i + 1)
                .arg(QString::fromStdString(folder))))
            << lines[2 * i].toStdString();
        EXPECT_TRUE(lines[2 * i].endsWith(" \n"));
        QRegularExpressionMatch m =
            QRegularExpression(
                QStringLiteral("^Hands = (\\d+) is imported from file = (.*) \\n\\n$"))
                .match(lines[2 * i + 1]);
        ASSERT_TRUE(m.hasMatch()) << lines[2 * i + 1].toStdString();
        total += m.captured(1).toInt();
    }
    EXPECT_GT(total, 0);
    EXPECT_TRUE(
        lines[6].startsWith(QStringLiteral("Total hands = %1. Elapsed time = ").arg(total)));
    EXPECT_EQ(lines[7].toStdString(), "New hands stored = " + std::to_string(total) +
                                          ", already stored = 0, left out = 0, failed = 0.");
    // The same lines went to the log.
    const std::string log = m_h->LogText();
    for (const QString& line : lines) {
        EXPECT_NE(log.find(line.toStdString()), std::string::npos) << line.toStdString();
    }
    EXPECT_EQ(dialog->CountText(), QString::number(total));
    EXPECT_TRUE(dialog->TotalsText().contains(QStringLiteral("New hands stored: %1").arg(total)))
        << dialog->TotalsText().toStdString();
    EXPECT_EQ(Scalar(L"select count(*) from hands"), std::to_wstring(total));
}

TEST_F(CImportCommandsTest, ACancelledImportKeepsEveryStoredHandWhole)
{
    VX_REQUIRE_CORPUS();
    MakeFrame();
    CreateDatabase();
    const std::string folder = m_dir.File("many");
    int files = 0;
    for (const char* room : {"pokerstars", "ggpoker", "888", "club", "runitonce", "pkng"}) {
        files += CopyCorpus(room, 100, folder + "/" + room);
    }
    ASSERT_GT(files, 20);
    m_h->dialogs.folders.push_back(QString::fromStdString(folder));
    ASSERT_TRUE(m_h->Frame().Dispatch(vxcmd::kImportFolder1));
    CImportDialog* dialog = m_h->Frame().findChild<CImportDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitFor([&] { return dialog->CountText() != "0" || dialog->IsFinished(); }));
    dialog->Button()->click();
    EXPECT_TRUE(dialog->CancelRequested());
    ASSERT_TRUE(WaitFor([&] { return dialog->IsFinished(); }, 120000));
    EXPECT_TRUE(dialog->TotalsText().contains("Cancelled")) << dialog->TotalsText().toStdString();
    const QStringList lines = m_h->PaneLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.filter(QRegularExpression("^Total hands = ")).size(), 1);
    EXPECT_TRUE(lines.contains(
        "The import was stopped: these files were not imported, or not completely:"));
    // Fewer files than found were read.
    EXPECT_LT(lines.filter("Start import from file").size(), files);
    // Every stored hand is whole: players and actions, none half-written.
    EXPECT_EQ(Scalar(L"select count(*) from hands h where not exists (select 1 from "
                     L"handsplayers hp where hp.idhand = h.id)"),
              L"0");
    EXPECT_EQ(Scalar(L"select count(*) from handsplayers hp where not exists (select 1 from "
                     L"hands h where h.id = hp.idhand)"),
              L"0");
    dialog->Button()->click();
    EXPECT_TRUE(WaitFor([&] { return m_h->Frame().findChild<CImportDialog*>() == nullptr; }));
}

TEST_F(CImportCommandsTest, ImportsNeedTheDatabaseAndACancelledDialogDoesNothing)
{
    MakeFrame();
    m_h->dialogs.folders.push_back(QString::fromStdString(m_dir.Path()));
    ASSERT_TRUE(m_h->Frame().Dispatch(vxcmd::kImportFolder1));
    ASSERT_TRUE(m_h->Frame().Dispatch(vxcmd::kImportFiles));
    EXPECT_EQ(m_h->dialogs.messages,
              QStringList({"DataBase does not exist!", "DataBase does not exist!"}));
    EXPECT_EQ(m_h->Frame().findChild<CImportDialog*>(), nullptr);

    CreateDatabase();
    m_h->dialogs.messages.clear();
    // The dialogs answer nothing: cancelled.
    ASSERT_TRUE(m_h->Frame().Dispatch(vxcmd::kImportFolder1));
    ASSERT_TRUE(m_h->Frame().Dispatch(vxcmd::kImportFiles));
    EXPECT_TRUE(m_h->dialogs.messages.isEmpty());
    EXPECT_EQ(m_h->Frame().findChild<CImportDialog*>(), nullptr);
    EXPECT_EQ(m_h->dialogs.titles.last(), "Select Hand History File");
}

TEST_F(CImportCommandsTest, AFolderWithoutHandsWritesOnlyTheTotals)
{
    MakeFrame();
    CreateDatabase();
    m_h->dialogs.folders.push_back(QString::fromStdString(m_dir.Path()));
    ASSERT_TRUE(m_h->Frame().Dispatch(vxcmd::kImportFolder1));
    CImportDialog* dialog = m_h->Frame().findChild<CImportDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitFor([&] { return dialog->IsFinished(); }));
    const QStringList lines = m_h->PaneLines();
    ASSERT_EQ(lines.size(), 2);
    // No hands, no time per hand: 0 rather than "nan".
    EXPECT_TRUE(lines[0].startsWith("Total hands = 0. Elapsed time = 0 mins. "));
    EXPECT_TRUE(lines[0].endsWith("Time for 1 hand: 0.000 secs.\n")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "New hands stored = 0, already stored = 0, left out = 0, failed = 0.");
}

TEST_F(CImportCommandsTest, ASingleFileReportsItsHandsAndPlayMoneyIsRefused)
{
    VX_REQUIRE_CORPUS();
    MakeFrame();
    CreateDatabase();
    const std::string folder = m_dir.File("one");
    ASSERT_EQ(CopyCorpus("pokerstars", 1, folder), 1);
    const std::string path = fs::directory_iterator(folder)->path().string();
    const std::string money = m_dir.Write("HH20240101 Vega - $0 Play Money No Limit Hold'em.txt",
                                          "PokerStars Hand #1: Hold'em No Limit (10/20)\n");
    m_h->dialogs.files.push_back(QString::fromStdString(money));
    ASSERT_TRUE(m_h->Frame().Dispatch(vxcmd::kImportFiles));
    EXPECT_EQ(m_h->dialogs.messages, QStringList({"Play Money is not supported!"}));

    m_h->dialogs.files.push_back(QString::fromStdString(path));
    ASSERT_TRUE(m_h->Frame().Dispatch(vxcmd::kImportFiles));
    CImportDialog* dialog = m_h->Frame().findChild<CImportDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitFor([&] { return dialog->IsFinished(); }, 120000));
    const QStringList lines = m_h->PaneLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("All files = 1 file number 1. Hands = "));
    EXPECT_TRUE(lines[0].endsWith(
        QStringLiteral("is imported from file = %1 \n").arg(QString::fromStdString(path))));
    EXPECT_TRUE(lines[1].startsWith("Total hands = "));
}

TEST(CImportCommandsRulesTest, RoomNumbersAndTheFilesOfAFolder)
{
    EXPECT_EQ(CManualImport::RoomNumberOf(L"PokerStars"), 1);
    EXPECT_EQ(CManualImport::RoomNumberOf(L"RedStar"), 4);
    EXPECT_EQ(CManualImport::RoomNumberOf(L"iPoker"), 9);
    EXPECT_EQ(CManualImport::RoomNumberOf(L"GGPoker"), 1);
    vxtest::CTempDir dir;
    dir.Write("GameHistory.dat", "x");
    dir.Write("other.txt", "x");
    // RedStar and iPoker keep their hands in one database file.
    EXPECT_EQ(CManualImport::CollectFiles({dir.Path()}, 4),
              std::vector<std::string>{dir.File("GameHistory.dat")});
    EXPECT_EQ(CManualImport::CollectFiles({dir.Path()}, 1),
              std::vector<std::string>{dir.File("other.txt")});
}
