#include "platform/CTaskQueue.h"

#include <utility>

void CTaskQueue::Post(std::function<void()> task)
{
    bool wasEmpty = false;
    {
        std::scoped_lock lock(m_mutex);
        wasEmpty = m_tasks.empty();
        m_tasks.push_back(std::move(task));
    }
    m_queued.notify_all();
    if (wasEmpty && m_wakeUp) {
        m_wakeUp();
    }
}

void CTaskQueue::SetWakeUp(std::function<void()> wakeUp)
{
    m_wakeUp = std::move(wakeUp);
}

size_t CTaskQueue::RunPending()
{
    std::deque<std::function<void()>> batch;
    {
        std::scoped_lock lock(m_mutex);
        batch.swap(m_tasks);
    }
    for (auto& task : batch) {
        task();
    }
    return batch.size();
}

size_t CTaskQueue::WaitAndRun(std::chrono::milliseconds timeout)
{
    {
        std::unique_lock lock(m_mutex);
        m_queued.wait_for(lock, timeout, [this] { return !m_tasks.empty() || m_interrupted; });
        m_interrupted = false;
    }
    return RunPending();
}

bool CTaskQueue::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    (void)RunPending();
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) {
            return false;
        }
        (void)WaitAndRun(std::chrono::duration_cast<std::chrono::milliseconds>(end - now) +
                         std::chrono::milliseconds(1));
    }
    return true;
}

void CTaskQueue::Interrupt()
{
    {
        std::scoped_lock lock(m_mutex);
        m_interrupted = true;
    }
    m_queued.notify_all();
}

size_t CTaskQueue::Size() const
{
    std::scoped_lock lock(m_mutex);
    return m_tasks.size();
}
