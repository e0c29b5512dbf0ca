#include "db/pq/CSharedWriter.h"

namespace kroDB::pq {

CSharedWriter::~CSharedWriter()
{
    // The pipeline's thread uses the session until it stops.
    m_pipeline.reset();
}

bool CSharedWriter::Ready(const std::wstring& connectString, int timeoutSeconds, std::wstring& why)
{
    std::scoped_lock lock(m_mutex);
    return ReadyLocked(connectString, timeoutSeconds, why);
}

bool CSharedWriter::Send(std::vector<CHeldStatement>& held,
                         uint64_t lane,
                         const std::wstring& connectString,
                         int timeoutSeconds,
                         std::wstring& why)
{
    std::scoped_lock lock(m_mutex);
    if (!ReadyLocked(connectString, timeoutSeconds, why)) {
        return false;
    }
    m_pipeline->Send(std::move(held), lane);
    held.clear();
    return true;
}

bool CSharedWriter::ReadyLocked(const std::wstring& connectString,
                                int timeoutSeconds,
                                std::wstring& why)
{
    // While units are on their way the session is the pipeline thread's; a
    // unit behind a broken session fails as those before it do.
    if (m_pipeline && m_pipeline->Unsettled() > 0) {
        return true;
    }
    if (m_pipeline && m_session.IsOpen()) {
        return true;
    }
    // The old pipeline's thread only waits for units, and none will come to
    // it.
    m_pipeline.reset();
    const CStatus opened = m_session.Open(connectString, timeoutSeconds);
    if (!opened.IsOk()) {
        why = opened.Message();
        return false;
    }
    m_pipeline = std::make_shared<CPqPipeline>(m_session);
    return true;
}

std::shared_ptr<CPqPipeline> CSharedWriter::Current()
{
    std::scoped_lock lock(m_mutex);
    return m_pipeline;
}

size_t CSharedWriter::Unsettled(uint64_t lane)
{
    const auto pipeline = Current();
    return pipeline ? pipeline->Unsettled(lane) : 0;
}

std::optional<CPqPipeline::COutcome> CSharedWriter::Take(bool wait, uint64_t lane)
{
    // Not under the lock: the other lanes go on sending meanwhile.
    const auto pipeline = Current();
    return pipeline ? pipeline->Take(wait, lane) : std::nullopt;
}

}  // namespace kroDB::pq
