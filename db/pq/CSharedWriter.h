// One session through which the hands of several connections go to the
// server (the parse workers of a folder import): one server process stores
// every hand, which costs the server less than a process per worker that
// compete for the same cores, indexes and HUD rows. Each connection sends on
// a lane of its own and gets back its own outcomes, in its own order.
#pragma once

#include "db/pq/CPqPipeline.h"
#include "db/pq/CPqSession.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kroDB::pq {

class CSharedWriter
{
public:
    CSharedWriter() = default;
    // Waits for every unit sent.
    ~CSharedWriter();
    CSharedWriter(const CSharedWriter&) = delete;
    CSharedWriter& operator=(const CSharedWriter&) = delete;

    // Whether units can be sent now: the session is opened on
    // `connectString` when it is not open, a session that broke once no
    // lane has an outcome to come from it. False, with `why`, when it
    // cannot be opened.
    bool Ready(const std::wstring& connectString, int timeoutSeconds, std::wstring& why);
    // Queues `held` (rows of AddsOnlyHandRows) on `lane`, the session opened
    // on `connectString` first when it is not open. A session that broke is
    // opened anew once no lane has an outcome to come from it. False, with
    // `held` untouched and `why` set, when it cannot be opened.
    bool Send(std::vector<CHeldStatement>& held,
              uint64_t lane,
              const std::wstring& connectString,
              int timeoutSeconds,
              std::wstring& why);
    // As CPqPipeline's, for the units sent so far.
    size_t Unsettled(uint64_t lane);
    std::optional<CPqPipeline::COutcome> Take(bool wait, uint64_t lane);

private:
    std::shared_ptr<CPqPipeline> Current();
    bool ReadyLocked(const std::wstring& connectString, int timeoutSeconds, std::wstring& why);

    std::mutex m_mutex;
    CPqSession m_session;
    // Shared with the callers waiting on it, so that a new one may take over
    // the session while they still hold the old (empty for their lane).
    std::shared_ptr<CPqPipeline> m_pipeline;
};

}  // namespace kroDB::pq
