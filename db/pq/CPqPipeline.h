// Hands whose units only add rows of their own go to the second session
// several at a time: a thread of its own builds each unit's statements and
// sends it behind those still on their way, so that the server always has
// the next hand while this thread reads the answers and the caller reads the
// next hands. Several connections may send through one pipeline, each on a
// lane of its own: a lane's outcomes come back to it, one per unit, in the
// order it sent them.
#pragma once

#include "db/HeldStatements.h"
#include "db/pq/CPqSession.h"
#include "foundation/CStatus.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
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

    // A lane no other sender has (NewLane is thread-safe).
    static uint64_t NewLane();

    // Queues a unit (rows of AddsOnlyHandRows) on `lane`.
    void Send(std::vector<CHeldStatement> held, uint64_t lane);
    // Units sent on `lane` whose outcome was not taken.
    size_t Unsettled(uint64_t lane) const;
    // Units of every lane whose outcome was not taken.
    size_t Unsettled() const;
    // The outcome of the oldest unit of `lane` not taken; with `wait`, waits
    // for it. Nullopt when none is known (or none is unsettled).
    std::optional<COutcome> Take(bool wait, uint64_t lane);

private:
    template <typename Unit>
    struct CLaneUnit
    {
        uint64_t lane = 0;
        Unit unit;
    };

    void Loop();
    // Waits for the answers of the oldest unit sent and keeps its outcome.
    // Requires: `lock` held; it is let go while waiting.
    void TakeAnswer(std::unique_lock<std::mutex>& lock);
    // Units of `lane` queued, being built or sent, not answered. Requires:
    // m_mutex held.
    size_t OnTheWay(uint64_t lane) const;

    CPqSession& m_session;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<CLaneUnit<std::vector<CHeldStatement>>> m_queue;
    // Units sent and not answered, kept for the log of a failure.
    std::deque<CLaneUnit<std::vector<CPqStep>>> m_sent;
    // The lane of the unit being built, when one is.
    std::optional<uint64_t> m_building;
    std::map<uint64_t, std::deque<COutcome>> m_done;
    // Units built and sent, freed by the thread that made them: memory goes
    // back where it came from, not through the allocator's shared lists.
    std::vector<std::vector<CHeldStatement>> m_spent;
    bool m_quit = false;
    std::thread m_thread;
};

}  // namespace kroDB::pq
