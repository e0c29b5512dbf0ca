// A main loop made of a thread-safe task queue: any thread posts, the main
// thread runs the tasks. The desktop program turns the wake-up into an event of
// its own loop; the command-line program and the tests run the queue directly.
#pragma once

#include "platform/IMainLoop.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

class CTaskQueue : public IMainLoop
{
public:
    void Post(std::function<void()> task) override;

    // Called on the posting thread, outside the queue's lock, after a task was
    // queued into an empty queue. Set it before any thread posts.
    void SetWakeUp(std::function<void()> wakeUp);

    // Main thread: runs the tasks queued so far, not those they queue; returns
    // how many ran.
    size_t RunPending();

    // Main thread: waits until a task is queued, Interrupt is called or
    // `timeout` passes, then runs what is queued; returns how many ran.
    size_t WaitAndRun(std::chrono::milliseconds timeout);

    // Main thread: runs tasks as they come until `done()` holds (checked after
    // every batch) or `timeout` passes; true when `done()` held.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

    // Ends a WaitAndRun early without a task. Thread-safe.
    void Interrupt();

    size_t Size() const;

private:
    // Guards m_tasks and m_interrupted.
    mutable std::mutex m_mutex;
    std::condition_variable m_queued;
    std::deque<std::function<void()>> m_tasks;
    bool m_interrupted = false;
    std::function<void()> m_wakeUp;
};
