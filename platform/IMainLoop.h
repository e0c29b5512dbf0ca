// The main thread's loop as other threads see it: a place to queue work that
// must run on the main thread, in the order it was queued.
#pragma once

#include <functional>

class IMainLoop
{
public:
    virtual ~IMainLoop() = default;
    // Queues `task` to run on the main thread after every task queued before
    // it. Thread-safe; never runs the task itself and never waits for the main
    // thread, so a worker may call it while the main thread waits for that
    // worker.
    virtual void Post(std::function<void()> task) = 0;
};
