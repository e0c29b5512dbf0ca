// The session timer: start, stop, pause by hand and by itself.
#include "tracker/CSessionClock.h"

#include <gtest/gtest.h>

namespace {

using State = CSessionClock::State;

TEST(CSessionClockTest, WithoutTheButtonsTheTimeCountsFromTheSessionStart)
{
    CSessionClock clock;
    clock.Restart(1000);
    EXPECT_EQ(clock.GetState(), State::Idle);
    EXPECT_EQ(clock.Elapsed(1000 + 25 * 3600), 25 * 3600);
    // A new session (hands 0) counts from then.
    clock.Restart(5000);
    EXPECT_EQ(clock.Elapsed(5000), 0);
    EXPECT_EQ(clock.Elapsed(4000), 0);
}

TEST(CSessionClockTest, PausesAreLeftOutAndStopKeepsTheTime)
{
    CSessionClock clock;
    clock.Start(0);
    EXPECT_EQ(clock.GetState(), State::Running);
    clock.TogglePause(600);
    EXPECT_EQ(clock.GetState(), State::Paused);
    EXPECT_EQ(clock.Elapsed(900), 600);
    clock.TogglePause(1000);
    EXPECT_EQ(clock.Elapsed(1300), 900);
    clock.Stop(1300);
    EXPECT_EQ(clock.GetState(), State::Stopped);
    EXPECT_EQ(clock.Elapsed(9000), 900);
    // Stopping while paused keeps the time of the pause.
    clock.Start(10000);
    clock.TogglePause(10060);
    clock.Stop(10500);
    EXPECT_EQ(clock.Elapsed(20000), 60);
    // Start begins anew.
    clock.Start(30000);
    EXPECT_EQ(clock.Elapsed(30030), 30);
}

TEST(CSessionClockTest, TheTimerPausesItselfWithoutHandsAndGoesOnWithTheNextHand)
{
    CSessionClock clock;
    clock.Start(0);
    clock.HandsArrived(100);
    EXPECT_FALSE(clock.CheckAutoPause(100 + 179, 3));
    EXPECT_TRUE(clock.CheckAutoPause(100 + 180, 3));
    EXPECT_EQ(clock.GetState(), State::Paused);
    EXPECT_TRUE(clock.AutoPaused());
    // The idle minutes are no playing time.
    EXPECT_EQ(clock.Elapsed(1000), 100);
    clock.HandsArrived(1000);
    EXPECT_EQ(clock.GetState(), State::Running);
    EXPECT_EQ(clock.Elapsed(1060), 160);
    // A pause by hand is not ended by a hand.
    clock.TogglePause(1100);
    clock.HandsArrived(1200);
    EXPECT_EQ(clock.GetState(), State::Paused);
    // Neither a stopped nor an idle clock pauses.
    clock.Stop(1300);
    EXPECT_FALSE(clock.CheckAutoPause(99999, 3));
    CSessionClock idle;
    idle.Restart(0);
    EXPECT_FALSE(idle.CheckAutoPause(99999, 3));
}

}  // namespace
