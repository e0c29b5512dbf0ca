// When the tracker's alarms sound: once per level, trailing levels moving.
#include "tracker/CSessionAlarms.h"

#include <gtest/gtest.h>

namespace {

using Alarms = std::vector<TrackerAlarm>;

TEST(CSessionAlarmsTest, SwitchedOffAlarmsNeverSound)
{
    CTrackerSettings s;
    s.handsCount = 1;
    s.timeMinutes = 1;
    s.takeProfitOn = 1;
    s.stopLossOn = 1;
    CSessionAlarms alarms;
    alarms.Reset(s);
    EXPECT_TRUE(alarms.Check(5000, 10000000, 999999).empty());
    EXPECT_TRUE(alarms.Check(5000, -10000000, 999999).empty());
}

TEST(CSessionAlarmsTest, HandsAndTimeSoundOnceWhenReachedAndAgainAfterANewSession)
{
    CTrackerSettings s;
    s.handsAlarm = 1;
    s.handsCount = 100;
    s.timeAlarm = 1;
    s.timeMinutes = 90;
    CSessionAlarms alarms;
    alarms.Reset(s);
    EXPECT_TRUE(alarms.Check(99, 0, 90 * 60 - 1).empty());
    EXPECT_EQ(alarms.Check(100, 0, 90 * 60), (Alarms{TrackerAlarm::Hands, TrackerAlarm::Time}));
    EXPECT_TRUE(alarms.Check(150, 0, 100 * 60).empty());
    alarms.Reset(s);
    EXPECT_EQ(alarms.Check(101, 0, 0), (Alarms{TrackerAlarm::Hands}));
}

TEST(CSessionAlarmsTest, TakeProfitAndStopLossNeedTheirOwnSwitchesAndSoundOnce)
{
    CTrackerSettings s;
    s.moneyAlarm = 1;
    s.takeProfit = 200;
    s.stopLoss = -100;
    CSessionAlarms alarms;
    alarms.Reset(s);
    EXPECT_TRUE(alarms.Check(1, 50000, 0).empty());

    s.takeProfitOn = 1;
    s.stopLossOn = 1;
    alarms.Reset(s);
    EXPECT_TRUE(alarms.Check(1, 19999, 0).empty());
    EXPECT_EQ(alarms.Check(2, 20000, 0), (Alarms{TrackerAlarm::TakeProfit}));
    EXPECT_TRUE(alarms.Check(3, 30000, 0).empty());
    EXPECT_TRUE(alarms.Check(4, -9999, 0).empty());
    EXPECT_EQ(alarms.Check(5, -10000, 0), (Alarms{TrackerAlarm::StopLoss}));
    EXPECT_TRUE(alarms.Check(6, -20000, 0).empty());
}

TEST(CSessionAlarmsTest, ATrailingTakeProfitMovesUpByItsAmount)
{
    CTrackerSettings s;
    s.moneyAlarm = 1;
    s.takeProfitOn = 1;
    s.trailingTakeProfit = 1;
    s.takeProfit = 100;
    CSessionAlarms alarms;
    alarms.Reset(s);
    EXPECT_EQ(alarms.Check(1, 10000, 0), (Alarms{TrackerAlarm::TakeProfit}));
    EXPECT_EQ(alarms.TakeProfitLevel(), 20000);
    EXPECT_TRUE(alarms.Check(2, 15000, 0).empty());
    // A big pot past two steps sounds once and sets the next step beyond it.
    EXPECT_EQ(alarms.Check(3, 45000, 0), (Alarms{TrackerAlarm::TakeProfit}));
    EXPECT_EQ(alarms.TakeProfitLevel(), 50000);
}

TEST(CSessionAlarmsTest, ATrailingStopFollowsTheBestMoneyOfTheSession)
{
    CTrackerSettings s;
    s.moneyAlarm = 1;
    s.stopLossOn = 1;
    s.trailingStopLoss = 1;
    s.stopLoss = -50;
    CSessionAlarms alarms;
    alarms.Reset(s);
    EXPECT_EQ(alarms.StopLossLevel(), -5000);
    EXPECT_TRUE(alarms.Check(1, 20000, 0).empty());
    EXPECT_EQ(alarms.StopLossLevel(), 15000);
    // Giving back less than the distance is fine; more sounds the alarm.
    EXPECT_TRUE(alarms.Check(2, 15001, 0).empty());
    EXPECT_EQ(alarms.Check(3, 14000, 0), (Alarms{TrackerAlarm::StopLoss}));
    EXPECT_TRUE(alarms.Check(4, 10000, 0).empty());
    // A new best money raises the stop and arms it again.
    EXPECT_TRUE(alarms.Check(5, 30000, 0).empty());
    EXPECT_EQ(alarms.Check(6, 24000, 0), (Alarms{TrackerAlarm::StopLoss}));
}

}  // namespace
