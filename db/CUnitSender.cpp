#include "db/CUnitSender.h"

#include "companion/CDatabase.h"

#include <chrono>
#include <memory>
#include <new>

namespace kroDB {

CUnitSender::CUnitSender()
    : m_thread([this] { Loop(); })
{}

CUnitSender::~CUnitSender()
{
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_job; });
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void CUnitSender::Send(CDatabase& db, std::wstring text)
{
    auto shared = std::make_shared<const std::wstring>(std::move(text));
    Send(
        [&db, shared]() {
            CStatus status = db.ExecuteSQL(*shared);
            if (!status.IsOk() && status.GetCode() != CStatus::Code::Unavailable) {
                // Harmless when the server ended the transaction itself.
                (void)db.ExecuteSQL(L"ROLLBACK");
            }
            return status;
        },
        [shared]() { return *shared; });
}

void CUnitSender::Send(std::function<CStatus()> job, std::function<std::wstring()> describe)
{
    {
        std::scoped_lock lock(m_mutex);
        m_work = std::move(job);
        m_describe = std::move(describe);
        m_job = true;
        m_done = false;
        m_inFlight = true;
    }
    m_changed.notify_all();
}

CStatus CUnitSender::Wait(uint64_t& nanoseconds)
{
    nanoseconds = 0;
    if (!m_inFlight) {
        return CStatus::Ok();
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_done; });
    m_inFlight = false;
    m_done = false;
    nanoseconds = m_nanoseconds;
    return m_status;
}

void CUnitSender::Loop()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_job || m_quit; });
        if (!m_job) {
            return;
        }
        const std::function<CStatus()>* work = &m_work;
        lock.unlock();
        const auto start = std::chrono::steady_clock::now();
        CStatus status;
        try {
            status = (*work)();
        } catch (const std::bad_alloc&) {
            status = CStatus::DatabaseError(L"out of memory");
        }
        const auto nanoseconds =
            static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::steady_clock::now() - start)
                                      .count());
        lock.lock();
        m_status = status;
        m_nanoseconds = nanoseconds;
        m_job = false;
        m_done = true;
        m_changed.notify_all();
    }
}

}  // namespace kroDB
