// The session tracker window as a real widget: its place and size, the
// figures, the look, the timer buttons, the alarms and the context menu.
#include "app/widgets/CxSkinButton.h"
#include "tracker/CRoraRevirTimerDlg.h"
#include "tracker/TrackerQtConversions.h"
#include "tracker/tests/TrackerTestHelpers.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace {

using vxtest::CRecordingProfile;
using vxtest::CRecordingSound;
using vxtest::CTestClock;

class TrackerWindowTest : public ::testing::Test
{
protected:
    std::unique_ptr<CRoraRevirTimerDlg> Make()
    {
        auto tracker = std::make_unique<CRoraRevirTimerDlg>(m_profile, m_sound);
        tracker->SetClock(m_clock.Function());
        return tracker;
    }

    CxSkinButton* Button(CRoraRevirTimerDlg& t, const char* name)
    {
        return t.findChild<CxSkinButton*>(QLatin1String(name));
    }

    CRecordingProfile m_profile;
    CRecordingSound m_sound;
    CTestClock m_clock;
};

TEST_F(TrackerWindowTest, ItOpensAt300By160InTheCornerWithTheSampleFigures)
{
    auto t = Make();
    t->show();
    EXPECT_EQ(t->geometry(), QRect(0, 0, 300, 160));
    EXPECT_TRUE(t->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(t->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ((t->windowFlags() & Qt::Tool), Qt::Tool);
    EXPECT_EQ(t->HandsText(), QStringLiteral("124"));
    EXPECT_EQ(t->MoneyText(), QStringLiteral("13.38"));
    EXPECT_EQ(t->EvText(), QStringLiteral("12.25"));
    EXPECT_EQ(t->DiffText(), QStringLiteral("1.13"));
    EXPECT_EQ(t->TimeText(), QStringLiteral("00:00"));
    EXPECT_TRUE(Button(*t, "startTimer")->isVisible());
    EXPECT_FALSE(Button(*t, "stopTimer")->isVisible());
    EXPECT_FALSE(Button(*t, "pauseTimer")->isVisible());
    EXPECT_EQ(Button(*t, "startTimer")->toolTip(), QStringLiteral("Start timer"));
    EXPECT_EQ(Button(*t, "stopTimer")->toolTip(), QStringLiteral("Stop timer"));
    EXPECT_EQ(Button(*t, "pauseTimer")->toolTip(), QStringLiteral("Pause timer"));
    // The sample figures are no session: no alarm looks at them.
    m_profile.WriteProfileString(L"RoraRevirDlg_Alarm", L"Param", L"1:100");
    auto again = Make();
    again->Tick();
    EXPECT_TRUE(m_sound.played.empty());
}

TEST_F(TrackerWindowTest, TheStoredPlaceIsRestoredOnScreenAndSavedOnClose)
{
    m_profile.WriteProfileString(L"RoraRevirDlg", L"wndPos", L"-20:-10:280:150");
    auto t = Make();
    EXPECT_EQ(t->geometry(), QRect(0, 0, 300, 160));

    m_profile.WriteProfileString(L"RoraRevirDlg", L"wndPos", L"1:2");
    t = Make();
    EXPECT_EQ(t->geometry(), QRect(1, 2, 300, 160));

    t->show();
    t->move(40, 60);
    t->close();
    EXPECT_EQ(m_profile.GetProfileString(L"RoraRevirDlg", L"wndPos", L""), L"40:60:340:220");
    EXPECT_EQ(Make()->geometry(), QRect(40, 60, 300, 160));
}

TEST_F(TrackerWindowTest, FiguresShowTheirAmountsAndTheTimeOfTheSession)
{
    auto t = Make();
    t->UpdateFigures(0, 0, 0, 0);
    EXPECT_EQ(t->TimeText(), QStringLiteral("00:00"));
    m_clock.now += 25 * 3600 + 59;
    t->UpdateFigures(31, -1234, 250, -1484);
    EXPECT_EQ(t->TimeText(), QStringLiteral("25:00"));
    EXPECT_EQ(t->HandsText(), QStringLiteral("31"));
    EXPECT_EQ(t->MoneyText(), QStringLiteral("-12.34"));
    EXPECT_EQ(t->EvText(), QStringLiteral("2.50"));
    EXPECT_EQ(t->DiffText(), QStringLiteral("-14.84"));
    // Without the timer the time moves only with the figures.
    m_clock.now += 600;
    t->Tick();
    EXPECT_EQ(t->TimeText(), QStringLiteral("25:00"));
    // Hands 0 starts the session anew.
    t->UpdateFigures(0, 0, 0, 0);
    EXPECT_EQ(t->TimeText(), QStringLiteral("00:00"));
}

TEST_F(TrackerWindowTest, TheLookComesFromTheProfile)
{
    m_profile.WriteProfileInt(L"RoraRevirDlg_View", L"ColorBg", 0x102030);
    m_profile.WriteProfileString(L"RoraRevirDlg_View", L"FontText3",
                                 L"ffffffe0,0,0,0,2bc,0,0,0,0,0,0,0,22,DejaVu Sans");
    auto t = Make();
    EXPECT_EQ(t->palette().color(QPalette::Window), QColor(0x30, 0x20, 0x10));
    auto* money = t->findChild<QLabel*>(QStringLiteral("moneyValue"));
    ASSERT_NE(money, nullptr);
    EXPECT_EQ(money->palette().color(QPalette::WindowText), QColor(255, 192, 0));
    EXPECT_EQ(money->font().pixelSize(), 32);
    EXPECT_EQ(money->font().weight(), QFont::Bold);
    auto* hands = t->findChild<QLabel*>(QStringLiteral("handsValue"));
    EXPECT_EQ(hands->palette().color(QPalette::WindowText), QColor(19, 195, 0));
    EXPECT_EQ(hands->font().pixelSize(), 16);
}

TEST_F(TrackerWindowTest, TheTimerButtonsStartPauseAndStopTheSessionTime)
{
    auto t = Make();
    t->show();
    QTest::mouseClick(Button(*t, "startTimer"), Qt::LeftButton);
    EXPECT_FALSE(Button(*t, "startTimer")->isVisible());
    EXPECT_TRUE(Button(*t, "stopTimer")->isVisible());
    EXPECT_TRUE(Button(*t, "pauseTimer")->isVisible());
    m_clock.now += 3600 + 120;
    t->Tick();
    EXPECT_EQ(t->TimeText(), QStringLiteral("01:02"));
    QTest::mouseClick(Button(*t, "pauseTimer"), Qt::LeftButton);
    EXPECT_TRUE(Button(*t, "pauseTimer")->isChecked());
    m_clock.now += 3600;
    t->Tick();
    EXPECT_EQ(t->TimeText(), QStringLiteral("01:02"));
    QTest::mouseClick(Button(*t, "pauseTimer"), Qt::LeftButton);
    m_clock.now += 60;
    t->Tick();
    EXPECT_EQ(t->TimeText(), QStringLiteral("01:03"));
    QTest::mouseClick(Button(*t, "stopTimer"), Qt::LeftButton);
    EXPECT_TRUE(Button(*t, "startTimer")->isVisible());
    m_clock.now += 3600;
    t->Tick();
    EXPECT_EQ(t->TimeText(), QStringLiteral("01:03"));
}

TEST_F(TrackerWindowTest, StartingAtProgramStartRunsTheTimerAndAutoPauseStopsIt)
{
    m_profile.WriteProfileInt(L"RoraRevirDlg_BaseInfo", L"RunOnStart", 1);
    m_profile.WriteProfileInt(L"RoraRevirDlg_BaseInfo", L"AutoPause", 1);
    m_profile.WriteProfileInt(L"RoraRevirDlg_BaseInfo", L"AutoPauseMin", 5);
    auto t = Make();
    t->show();
    EXPECT_FALSE(Button(*t, "startTimer")->isVisible());
    EXPECT_TRUE(Button(*t, "stopTimer")->isVisible());
    EXPECT_FALSE(Button(*t, "pauseTimer")->isChecked());
    t->UpdateFigures(0, 0, 0, 0);
    m_clock.now += 60;
    t->UpdateFigures(1, 100, 100, 0);
    m_clock.now += 5 * 60;
    t->Tick();
    EXPECT_EQ(t->Clock().GetState(), CSessionClock::State::Paused);
    EXPECT_TRUE(Button(*t, "pauseTimer")->isChecked());
    EXPECT_EQ(t->TimeText(), QStringLiteral("00:01"));
    // The next hand goes on.
    m_clock.now += 30 * 60;
    t->UpdateFigures(2, 200, 200, 0);
    EXPECT_EQ(t->Clock().GetState(), CSessionClock::State::Running);
    m_clock.now += 120;
    t->Tick();
    EXPECT_EQ(t->TimeText(), QStringLiteral("00:03"));
}

TEST_F(TrackerWindowTest, AlarmsSoundTheirOwnFilesOrTheBuiltInSoundsOnce)
{
    m_profile.WriteProfileString(L"RoraRevirDlg_Alarm", L"Param", L"1:3");
    m_profile.WriteProfileString(L"RoraRevirDlg_Alarm2", L"Param", L"1:50:-20");
    m_profile.WriteProfileInt(L"RoraRevirDlg_Alarm2", L"StopLoss", 1);
    m_profile.WriteProfileString(L"RoraRevirDlg_Alarm3", L"Param", L"1:30");
    // Sound files that exist are kept; the others are dropped at start.
    const QString kept = QStringLiteral(VX_SOURCE_DIR "/tracker/sounds/hands.wav");
    m_profile.WriteProfileString(L"RoraRevirDlg_Alarm", L"Sound", kept.toStdWString());
    m_profile.WriteProfileString(L"RoraRevirDlg_Alarm2", L"SoundLoss", L"/no/such/file.wav");
    auto t = Make();
    EXPECT_EQ(t->Settings().lossSound, L"");
    auto* icon = t->findChild<QLabel*>(QStringLiteral("handsAlarmIcon"));
    ASSERT_NE(icon, nullptr);

    std::vector<TrackerAlarm> raised;
    QObject::connect(t.get(), &CRoraRevirTimerDlg::AlarmRaised,
                     [&](TrackerAlarm a) { raised.push_back(a); });
    t->UpdateFigures(0, 0, 0, 0);
    t->UpdateFigures(2, -1999, 0, 0);
    EXPECT_TRUE(m_sound.played.empty());
    t->UpdateFigures(3, -2000, 0, 0);
    ASSERT_EQ(m_sound.played.size(), 2u);
    EXPECT_EQ(m_sound.played[0], std::make_pair(TrackerAlarm::Hands, kept));
    EXPECT_EQ(m_sound.played[1], std::make_pair(TrackerAlarm::StopLoss, QString()));
    t->UpdateFigures(4, -5000, 0, 0);
    EXPECT_EQ(m_sound.played.size(), 2u);
    m_clock.now += 30 * 60;
    t->Tick();
    ASSERT_EQ(m_sound.played.size(), 3u);
    EXPECT_EQ(m_sound.played[2].first, TrackerAlarm::Time);
    EXPECT_EQ(raised, (std::vector<TrackerAlarm>{TrackerAlarm::Hands, TrackerAlarm::StopLoss,
                                                 TrackerAlarm::Time}));
}

TEST_F(TrackerWindowTest, TheContextMenuOffersTheSettingsAndTheGraph)
{
    auto t = Make();
    int runs = 0;
    t->SetSettingsRunner([&] { ++runs; });
    t->show();
    const QList<QAction*> actions = t->ContextMenu()->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Settings"));
    EXPECT_EQ(actions[0]->data().toInt(), 32829);
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Session graph"));
    QTest::mouseClick(t.get(), Qt::RightButton, Qt::NoModifier, QPoint(150, 120));
    EXPECT_TRUE(t->ContextMenu()->isVisible());
    t->ContextMenu()->hide();
    actions[0]->trigger();
    EXPECT_EQ(runs, 1);
}

TEST_F(TrackerWindowTest, AsSessionSinkItKeepsTheRatesAndTheHandsOfTheSession)
{
    auto t = Make();
    ISessionSink& sink = *t;
    EXPECT_EQ(sink.DisplayCurrency(), 0);
    EXPECT_DOUBLE_EQ(sink.CurrencyRate(1), 1.12);
    EXPECT_DOUBLE_EQ(sink.CurrencyRate(3), 0.0);
    EXPECT_TRUE(t->Settings().currency.HasEntry(3));
    sink.HandsCounted({{7, 0, 150, 150}, {8, 1, -20, 40}});
    sink.UpdateFigures(2, 128, 195, -67);
    EXPECT_EQ(t->SessionHands().size(), 2u);
    sink.UpdateFigures(0, 0, 0, 0);
    EXPECT_TRUE(t->SessionHands().empty());
}

}  // namespace
