#include "hud/display/CSendQueue.h"

#include <QMetaObject>

CSendQueue::CSendQueue()
    : m_worker([this] { Run(); })
{}

CSendQueue::~CSendQueue()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_jobs.clear();
    }
    m_wake.notify_all();
    m_worker.join();
}

void CSendQueue::Post(std::function<CStatus()> send, std::function<void(CStatus)> done)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back({std::move(send), std::move(done)});
    }
    m_wake.notify_one();
}

void CSendQueue::Run()
{
    for (;;) {
        CJob job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
            if (m_stop) {
                return;
            }
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        CStatus status = job.send();
        // Queued to the context's thread; dropped if the context is gone.
        QMetaObject::invokeMethod(
            &m_context, [done = std::move(job.done), status] { done(status); },
            Qt::QueuedConnection);
    }
}
