#include "platform/CTaskQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

TEST(CTaskQueueTest, RunsTasksInPostingOrderAndNotThoseTheyPost)
{
    CTaskQueue queue;
    std::vector<int> order;
    queue.Post([&] { order.push_back(1); });
    queue.Post([&] {
        order.push_back(2);
        queue.Post([&] { order.push_back(4); });
    });
    queue.Post([&] { order.push_back(3); });
    EXPECT_EQ(queue.RunPending(), 3u);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(queue.RunPending(), 1u);
    EXPECT_EQ(order.back(), 4);
}

TEST(CTaskQueueTest, WakesUpOnlyWhenATaskArrivesInAnEmptyQueue)
{
    CTaskQueue queue;
    int wakeUps = 0;
    queue.SetWakeUp([&] { ++wakeUps; });
    queue.Post([] {});
    queue.Post([] {});
    EXPECT_EQ(wakeUps, 1);
    (void)queue.RunPending();
    queue.Post([] {});
    EXPECT_EQ(wakeUps, 2);
}

TEST(CTaskQueueTest, WaitReturnsWithTheTaskAnotherThreadPosts)
{
    CTaskQueue queue;
    std::atomic<bool> ran{false};
    std::jthread poster([&] { queue.Post([&] { ran = true; }); });
    EXPECT_TRUE(queue.RunUntil([&] { return ran.load(); }, 10s));
}

TEST(CTaskQueueTest, InterruptEndsAWaitWithoutTasks)
{
    CTaskQueue queue;
    std::jthread interrupter([&] { queue.Interrupt(); });
    const auto start = std::chrono::steady_clock::now();
    // An interrupt that came first is kept for the next wait.
    interrupter.join();
    EXPECT_EQ(queue.WaitAndRun(30s), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST(CTaskQueueTest, RunUntilGivesUpAfterItsTimeout)
{
    CTaskQueue queue;
    EXPECT_FALSE(queue.RunUntil([] { return false; }, 20ms));
}
