#include "app/CRibbonBar.h"
#include "app/commands/CommandIds.h"
#include "app/core/CApplicationCore.h"
#include "app/tests/CPgFrameFixture.h"
#include "tracker/CRoraRevirTimerDlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QToolButton>
#include <QWidget>

#include <tuple>

namespace {

// A tracker window that only records what it was told.
class CRecordingTracker : public ITrackerWindow
{
public:
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    bool IsVisible() const override { return visible; }
    void ShowTopmost() override { visible = true; }
    void Close() override { closed = true; }
    QWidget* Widget() override { return &widget; }
    void UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff) override
    {
        figures.emplace_back(hands, money, ev, diff);
    }
    int DisplayCurrency() const override { return 0; }
    double CurrencyRate(int) override { return 1.0; }

    bool visible = false;
    bool closed = false;
    std::vector<std::tuple<int, int, int, int>> figures;
    QWidget widget;
};

}  // namespace

class CLiveCommandsTest : public CPgFrameFixture
{
protected:
    void MakeLiveFrame()
    {
        MakeFrame([this](CMainFrameContext& c) {
            c.makeTracker = [this](QWidget*, IProfile&) {
                auto tracker = std::make_unique<CRecordingTracker>();
                m_tracker = tracker.get();
                return tracker;
            };
        });
    }

    CLiveTracking* Live() { return m_h->Core().Live(); }

    QToolButton* StartButton() { return m_h->Frame().Ribbon()->Button(vxcmd::kStart); }

    CRecordingTracker* m_tracker = nullptr;
};

TEST_F(CLiveCommandsTest, StartWithTheTrackerOnResetsTheSessionAndTurnsIntoStop)
{
    MakeLiveFrame();
    CreateDatabase();
    CMainFrame& f = m_h->Frame();
    ASSERT_TRUE(f.Dispatch(vxcmd::kRoraRevir));
    ASSERT_NE(m_tracker, nullptr);
    EXPECT_TRUE(m_tracker->visible);
    EXPECT_EQ(StartButton()->text(), "Start");
    EXPECT_EQ(StartButton()->property("vxImage").toInt(), 8);

    ASSERT_TRUE(f.Dispatch(vxcmd::kStart));
    EXPECT_TRUE(m_h->dialogs.messages.isEmpty());
    EXPECT_EQ(StartButton()->text(), "Stop");
    EXPECT_EQ(StartButton()->property("vxImage").toInt(), 9);
    EXPECT_TRUE(f.HoldsLiveConnection());
    ASSERT_NE(Live(), nullptr);
    EXPECT_TRUE(Live()->TrackerSwitch());
    ASSERT_FALSE(m_tracker->figures.empty());
    EXPECT_EQ(m_tracker->figures.back(), std::make_tuple(0, 0, 0, 0));
    EXPECT_EQ(f.StatusPane(1)->text(), "Live import: watching");

    ASSERT_TRUE(f.Dispatch(vxcmd::kStart));
    EXPECT_EQ(StartButton()->text(), "Start");
    EXPECT_EQ(StartButton()->property("vxImage").toInt(), 8);
    EXPECT_FALSE(f.HoldsLiveConnection());
    // Start again: the same live tracking goes on.
    ASSERT_TRUE(f.Dispatch(vxcmd::kStart));
    EXPECT_EQ(StartButton()->text(), "Stop");
}

// Without a factory of its own the frame makes the session tracker window
// itself, and live tracking reports the session to that window.
TEST_F(CLiveCommandsTest, TheSessionTrackerWindowIsWhatLiveTrackingReportsTo)
{
    MakeFrame();
    CreateDatabase();
    CMainFrame& f = m_h->Frame();
    ASSERT_TRUE(f.Dispatch(vxcmd::kRoraRevir));
    ASSERT_NE(f.Tracker(), nullptr);
    auto* window = dynamic_cast<CRoraRevirTimerDlg*>(f.Tracker()->Widget());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    // The sample figures of a first start, until a session begins.
    EXPECT_EQ(window->HandsText(), "124");
    ASSERT_TRUE(f.Dispatch(vxcmd::kStart));
    EXPECT_EQ(StartButton()->text(), "Stop");
    EXPECT_EQ(window->HandsText(), "0");
    ASSERT_TRUE(f.Dispatch(vxcmd::kStart));
}

TEST_F(CLiveCommandsTest, WithTheTrackerOffStartLeavesTheSessionAlone)
{
    MakeLiveFrame();
    CreateDatabase();
    CMainFrame& f = m_h->Frame();
    ASSERT_TRUE(f.Dispatch(vxcmd::kStart));
    EXPECT_EQ(StartButton()->text(), "Stop");
    EXPECT_EQ(m_tracker, nullptr);
    ASSERT_NE(Live(), nullptr);
    EXPECT_FALSE(Live()->TrackerSwitch());
    // The switch turned on later reaches live import.
    ASSERT_TRUE(f.Dispatch(vxcmd::kRoraRevir));
    EXPECT_TRUE(Live()->TrackerSwitch());
    ASSERT_NE(m_tracker, nullptr);
    EXPECT_TRUE(m_tracker->figures.empty());
    ASSERT_TRUE(f.Dispatch(vxcmd::kRoraRevir));
    EXPECT_FALSE(Live()->TrackerSwitch());
    EXPECT_FALSE(m_tracker->visible);
    f.close();
    EXPECT_FALSE(f.HoldsLiveConnection());
}

TEST_F(CLiveCommandsTest, StartWithoutTheDatabaseSaysSoAndStaysStart)
{
    MakeLiveFrame();
    ASSERT_TRUE(m_h->Frame().Dispatch(vxcmd::kStart));
    EXPECT_EQ(m_h->dialogs.messages, QStringList({"DataBase does not exist!"}));
    EXPECT_EQ(StartButton()->text(), "Start");
    EXPECT_FALSE(m_h->Frame().HoldsLiveConnection());
}
