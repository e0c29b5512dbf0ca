// One worker thread that runs blocking sends in order, and hands each result
// back to the GUI thread, so that waiting for another program's answer never
// stops the event loop. Results for a queue that is gone are dropped.
#pragma once

#include "foundation/CStatus.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class CSendQueue
{
public:
    CSendQueue();
    // Waits for the send under way (bounded by its time-out); drops the rest.
    ~CSendQueue();
    CSendQueue(const CSendQueue&) = delete;
    CSendQueue& operator=(const CSendQueue&) = delete;

    // Runs `send` on the worker, then `done` with its result on the thread
    // that made this queue.
    void Post(std::function<CStatus()> send, std::function<void(CStatus)> done);

private:
    struct CJob
    {
        std::function<CStatus()> send;
        std::function<void(CStatus)> done;
    };
    void Run();

    QObject m_context;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<CJob> m_jobs;
    bool m_stop = false;
    std::thread m_worker;
};
