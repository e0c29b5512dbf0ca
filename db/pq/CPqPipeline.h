// Hands whose units only add rows of their own go to the second session
// several at a time: a thread of its own builds each unit's statements and
// sends it behind those still on their way, so that the server always has
// the next hand while this thread reads the answers and the caller reads the
// next hands. Outcomes come back one per unit, in the order sent.
#pragma once

#include "db/HeldStatements.h"
#include "db/pq/CPqSession.h"
#include "foundation/CStatus.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kroDB::pq {

// True when every row and statement of `held` belongs to one hand's own
// tables (hands, players of the hand, actions, pots, texts): no unit sent
// later can rest on its rows, so it may go before the units ahead of it
// are answered.
bool AddsOnlyHandRows(const std::vector<CHeldStatement>& held);

// The id of the one hand row that `held` (rows of AddsOnlyHandRows) adds,
// when every hand player row it adds belongs to that hand; nullopt when it
// adds no hand, several, players of another hand, or hands or hand players
// by a statement of their own.
std::optional<int64_t> SoleNewHand(const std::vector<CHeldStatement>& held);

class CPqPipeline
{
public:
    struct COutcome
    {
        CStatus status;
        // What was sent, for the log of a failure.
        std::wstring text;
        uint64_t nanoseconds = 0;
    };

    // Requires: `session` is open and outlives this object, which alone uses
    // it until Idle.
    explicit CPqPipeline(CPqSession& session);
    // Waits for every unit.
    ~CPqPipeline();
    CPqPipeline(const CPqPipeline&) = delete;
    CPqPipeline& operator=(const CPqPipeline&) = delete;

    // Queues a unit (rows of AddsOnlyHandRows).
    void Send(std::vector<CHeldStatement> held);
    // Units sent whose outcome was not taken.
    size_t Unsettled() const;
    // The outcome of the oldest unit not taken; with `wait`, waits for it.
    // Nullopt when none is known (or none is unsettled).
    std::optional<COutcome> Take(bool wait);

private:
    void Loop();
    // Waits for the answers of the oldest unit sent and keeps its outcome.
    // Requires: `lock` held; it is let go while waiting.
    void TakeAnswer(std::unique_lock<std::mutex>& lock);

    CPqSession& m_session;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<CHeldStatement>> m_queue;
    // Units sent and not answered, kept for the log of a failure.
    std::deque<std::vector<CPqStep>> m_sent;
    size_t m_building = 0;
    std::deque<COutcome> m_done;
    // Units built and sent, freed by the thread that made them: memory goes
    // back where it came from, not through the allocator's shared lists.
    std::vector<std::vector<CHeldStatement>> m_spent;
    bool m_quit = false;
    std::thread m_thread;
};

}  // namespace kroDB::pq
