// A second session to the program's database through PostgreSQL's own client
// library, for the units that only add rows: each unit goes as one pipeline of
// extended-protocol statements ended by one sync, and statements of rows of
// the same shape are prepared once per session. Not thread-safe: one user at a
// time (the connection's lock, or the sender thread while a unit is in flight).
#pragma once

#include "db/pq/PqUnit.h"
#include "db/pq/TableShapes.h"
#include "foundation/CStatus.h"

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

struct pg_conn;

namespace kroDB::pq {

class CPqSession
{
public:
    CPqSession() = default;
    ~CPqSession();
    CPqSession(const CPqSession&) = delete;
    CPqSession& operator=(const CPqSession&) = delete;

    // Opens the database of the program's connection text. Unavailable when
    // the text does not parse, or the server cannot be reached or refuses
    // the login.
    CStatus Open(const std::wstring& connectString, int timeoutSeconds);
    bool IsOpen() const;
    // Runs the steps (the unit's BEGIN and COMMIT among them) and returns the
    // first failure; the server's transaction is then rolled back.
    // Unavailable when the session was lost; it is closed then. Units sent
    // before are answered first; TakeOldest gives their outcomes.
    CStatus Run(const std::vector<CPqStep>& steps);

    // Pipelining: sends the steps as one unit ended by a sync, without
    // waiting. With `implicitTransaction` its BEGIN and COMMIT are left out:
    // the unit is the transaction of its sync, so that a failed unit leaves
    // nothing open for the units sent behind it. False when it could not be
    // sent whole (its outcome says why).
    bool Send(const std::vector<CPqStep>& steps, bool implicitTransaction);
    // Units sent and not taken.
    size_t Pending() const { return m_pending.size() + m_done.size(); }
    // The outcome of the oldest unit sent and not taken, waiting for its
    // answer; Ok when there is none.
    CStatus TakeOldest();
    // The shapes of new rows, read from the catalogue through this session.
    // Requires: nothing in flight.
    CTableShapes& Shapes() { return m_shapes; }
    // Prepared statements kept by the session.
    size_t PreparedCount() const { return m_prepared.size(); }

private:
    void Close();
    // Reads the answers of every unit sent; their outcomes wait in order.
    void DrainPending();
    // Reads the answers of the oldest unit sent; Ok when there is none.
    CStatus ReceiveOldest();
    bool LoadDefaults(const std::wstring& table,
                      std::vector<std::pair<std::wstring, std::wstring>>& defaults);

    pg_conn* m_conn = nullptr;
    // Statement text to its name on the server.
    std::unordered_map<std::string, std::string> m_prepared;
    struct CPendingUnit
    {
        // The texts of the statements prepared for the unit, in their own
        // segment ahead of it.
        std::vector<const std::string*> prepares;
        bool preparesSynced = false;
        // Steps sent, each answered.
        size_t answers = 0;
        CStatus failure;
        bool synced = false;
    };
    std::deque<CPendingUnit> m_pending;
    std::deque<CStatus> m_done;
    // Names are never used twice in a session, also after a failed prepare.
    uint64_t m_lastName = 0;
    CTableShapes m_shapes{[this](const std::wstring& table, auto& defaults) {
        return LoadDefaults(table, defaults);
    }};
};

}  // namespace kroDB::pq
