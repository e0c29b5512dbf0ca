// Screenshots of the tracker, its settings dialog and the session graph with
// live figures from real hands. Runs only when VX_SCREENSHOT_DIR names the
// folder to write them to (under Xvfb, with QT_QPA_PLATFORM=xcb); skipped
// otherwise.
#include "live/tests/LiveTestFixture.h"
#include "tracker/CDlgSettingsRoraRevir.h"
#include "tracker/CRoraRevirTimerDlg.h"
#include "tracker/CSessionGraphWnd.h"
#include "tracker/tests/TrackerTestHelpers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QPixmap>
#include <QTest>

#include <cstdlib>

namespace {

class ScreenshotTest : public vxtest::CLiveFixture
{
protected:
    void SetUp() override
    {
        const char* dir = std::getenv("VX_SCREENSHOT_DIR");
        if (dir == nullptr) {
            GTEST_SKIP() << "set VX_SCREENSHOT_DIR to write the screenshots";
        }
        m_out = QString::fromLocal8Bit(dir);
        vxtest::CLiveFixture::SetUp();
    }

    void Save(QWidget* widget, const char* name)
    {
        widget->show();
        widget->raise();
        for (int i = 0; i < 10; ++i) {
            QApplication::processEvents();
            QTest::qWait(30);
        }
        const QString path = m_out + QLatin1Char('/') + QLatin1String(name);
        EXPECT_TRUE(widget->grab().save(path)) << path.toStdString();
    }

    QString m_out;
};

TEST_F(ScreenshotTest, TrackerDialogAndGraphWithLiveFigures)
{
    vxtest::CRecordingProfile profile;
    vxtest::CRecordingSound sound;
    vxtest::CTestClock clock;
    profile.WriteProfileString(L"RoraRevirDlg_Alarm", L"Param", L"1:500");
    profile.WriteProfileString(L"RoraRevirDlg_Alarm2", L"Param", L"1:100:-50");
    profile.WriteProfileInt(L"RoraRevirDlg_Alarm2", L"TakeProfit", 1);
    profile.WriteProfileInt(L"RoraRevirDlg_Alarm2", L"StopLoss", 1);
    profile.WriteProfileInt(L"RoraRevirDlg_Alarm2", L"TrailingStopLoss", 1);
    profile.WriteProfileString(L"RoraRevirDlg_Alarm3", L"Param", L"1:150");
    profile.WriteProfileInt(L"RoraRevirDlg_BaseInfo", L"RunOnStart", 1);
    profile.WriteProfileInt(L"RoraRevirDlg_BaseInfo", L"AutoPause", 1);
    profile.WriteProfileString(L"RoraRevirDlg_View", L"FontText",
                               L"ffffffe4,0,0,0,2bc,0,0,0,0,0,0,0,22,DejaVu Sans");
    profile.WriteProfileString(L"RoraRevirDlg", L"wndPos", L"40:40:340:200");

    CRoraRevirTimerDlg tracker(profile, sound);
    tracker.SetClock(clock.Function());
    tracker.SetDatabase(m_t.db.get());
    tracker.ApplyAfterSettings();
    m_live->SetSessionSink(&tracker);
    m_live->StartLiveTracking();
    tracker.StartTimer();

    // The session as the client writes it: a few hands at a time, from the
    // one player's long run of hands (with all-in hands among them).
    m_hands = vxtest::CorpusHands("pokerstars/PokerStudier_allHands.txt");
    const size_t first = 600;
    const size_t total = std::min<size_t>(m_hands.size(), first + 450);
    ASSERT_GT(total, first);
    for (size_t from = first; from < total; from += 30) {
        const size_t to = std::min(total, from + 30);
        AppendHands("HH20191007 Sculptor.txt", from, to);
        ASSERT_TRUE(RunUntilStored(static_cast<int64_t>(to - first)));
        clock.now += 7 * 60;
        Settle();
    }
    clock.now += 3 * 60;
    tracker.Tick();
    Save(&tracker, "tracker.png");

    CDlgSettingsRoraRevir dialog(tracker, profile);
    dialog.findChild<QCheckBox*>(QStringLiteral("timeAlarm"))->setFocus();
    Save(&dialog, "tracker_settings.png");
    dialog.reject();

    CSessionGraphWnd* graph = tracker.ShowSessionGraph();
    Save(graph, "session_graph.png");

    const auto firstHand = QDateTime::fromSecsSinceEpoch(
        std::stoll(Scalar(L"SELECT min(utc) FROM hands")) + MeasureLocalUtcOffset());
    ASSERT_TRUE(graph->ShowDay(firstHand.date()));
    Save(graph, "session_graph_day.png");
    graph->close();
}

}  // namespace
