#include "db/pq/CPqPipeline.h"

#include "foundation/WideText.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <new>

namespace kroDB::pq {

namespace {

// Units on their way at once: enough that the server never waits for the
// next hand, few enough that their answers fit the socket's buffers.
constexpr size_t kDepth = 4;

bool IsHandTable(std::wstring_view table)
{
    static constexpr std::array<std::wstring_view, 6> kTables = {
        L"hands", L"handsplayers", L"handsactions", L"pots", L"handhistory", L"runittwice"};
    for (const auto name : kTables) {
        if (EqualsNoCase(table, name)) {
            return true;
        }
    }
    return false;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// The table a single "insert into" statement names; empty for any other
// statement.
std::wstring_view InsertTable(std::wstring_view sql)
{
    while (!sql.empty() && (sql.front() == L' ' || sql.front() == L'\n' || sql.front() == L'\t')) {
        sql.remove_prefix(1);
    }
    if (!StartsWithNoCase(sql, L"insert into ")) {
        return {};
    }
    sql.remove_prefix(12);
    const size_t end = sql.find_first_of(L" (");
    const size_t semicolon = sql.find(L';');
    if (end == std::wstring_view::npos ||
        (semicolon != std::wstring_view::npos && semicolon + 1 < sql.size())) {
        return {};
    }
    return sql.substr(0, end);
}

}  // namespace

bool AddsOnlyHandRows(const std::vector<CHeldStatement>& held)
{
    bool rows = false;
    for (const auto& statement : held) {
        if (!statement.table.empty()) {
            if (!IsHandTable(statement.table)) {
                return false;
            }
            rows = true;
            continue;
        }
        std::wstring_view sql = statement.sql;
        while (!sql.empty() &&
               (sql.front() == L' ' || sql.front() == L'\n' || sql.front() == L'\t')) {
            sql.remove_prefix(1);
        }
        if (EqualsNoCase(sql, L"BEGIN") || EqualsNoCase(sql, L"COMMIT") ||
            StartsWithNoCase(sql, L"SET LOCAL ")) {
            continue;
        }
        const std::wstring_view table = InsertTable(sql);
        if (table.empty() || !IsHandTable(table)) {
            return false;
        }
        rows = true;
    }
    return rows;
}

std::optional<int64_t> SoleNewHand(const std::vector<CHeldStatement>& held)
{
    std::optional<int64_t> hand;
    for (const auto& statement : held) {
        if (statement.table.empty()) {
            const std::wstring_view table = InsertTable(statement.sql);
            if (EqualsNoCase(table, L"hands") || EqualsNoCase(table, L"handsplayers")) {
                return std::nullopt;
            }
        } else if (EqualsNoCase(statement.table, L"hands")) {
            if (hand) {
                return std::nullopt;
            }
            hand = statement.id;
        }
    }
    if (!hand) {
        return std::nullopt;
    }
    const std::wstring id = std::to_wstring(*hand);
    for (const auto& statement : held) {
        if (!EqualsNoCase(statement.table, L"handsplayers")) {
            continue;
        }
        const size_t at = FindColumn(statement.values, 0, L"idhand");
        if (at == statement.values.size() || statement.values[at].second != id) {
            return std::nullopt;
        }
    }
    return hand;
}

CPqPipeline::CPqPipeline(CPqSession& session)
    : m_session(session)
    , m_thread([this] { Loop(); })
{}

CPqPipeline::~CPqPipeline()
{
    {
        std::scoped_lock lock(m_mutex);
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

uint64_t CPqPipeline::NewLane()
{
    static std::atomic<uint64_t> next{1};
    return next++;
}

void CPqPipeline::Send(std::vector<CHeldStatement> held, uint64_t lane)
{
    std::vector<std::vector<CHeldStatement>> spent;
    {
        std::scoped_lock lock(m_mutex);
        m_queue.push_back({lane, std::move(held)});
        spent.swap(m_spent);
    }
    m_changed.notify_all();
}

size_t CPqPipeline::Unsettled(uint64_t lane) const
{
    std::scoped_lock lock(m_mutex);
    return OnTheWay(lane) + (m_done.count(lane) != 0 ? m_done.at(lane).size() : 0);
}

size_t CPqPipeline::Unsettled() const
{
    std::scoped_lock lock(m_mutex);
    size_t done = 0;
    for (const auto& [lane, outcomes] : m_done) {
        done += outcomes.size();
    }
    return m_queue.size() + (m_building ? 1 : 0) + m_sent.size() + done;
}

size_t CPqPipeline::OnTheWay(uint64_t lane) const
{
    const auto ofLane = [lane](const auto& unit) { return unit.lane == lane; };
    return static_cast<size_t>(std::count_if(m_queue.begin(), m_queue.end(), ofLane) +
                               std::count_if(m_sent.begin(), m_sent.end(), ofLane)) +
           (m_building == lane ? 1 : 0);
}

std::optional<CPqPipeline::COutcome> CPqPipeline::Take(bool wait, uint64_t lane)
{
    std::unique_lock lock(m_mutex);
    const auto known = [this, lane] {
        const auto at = m_done.find(lane);
        return at != m_done.end() && !at->second.empty();
    };
    if (wait) {
        m_changed.wait(lock, [&] { return known() || OnTheWay(lane) == 0; });
    }
    if (!known()) {
        return std::nullopt;
    }
    // A lane's list stays while the pipeline lives (lanes are few), so that
    // a hand's outcome does not allocate one anew.
    auto& outcomes = m_done[lane];
    COutcome outcome = std::move(outcomes.front());
    outcomes.pop_front();
    return outcome;
}

void CPqPipeline::TakeAnswer(std::unique_lock<std::mutex>& lock)
{
    lock.unlock();
    const auto start = std::chrono::steady_clock::now();
    COutcome outcome;
    outcome.status = m_session.TakeOldest();
    outcome.nanoseconds =
        static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::steady_clock::now() - start)
                                  .count());
    lock.lock();
    if (!outcome.status.IsOk()) {
        outcome.text = DescribeSteps(m_sent.front().unit);
    }
    m_done[m_sent.front().lane].push_back(std::move(outcome));
    m_sent.pop_front();
}

void CPqPipeline::Loop()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_quit || !m_queue.empty() || !m_sent.empty(); });
        if (!m_queue.empty() && m_sent.size() < kDepth) {
            CLaneUnit<std::vector<CHeldStatement>> held = std::move(m_queue.front());
            m_queue.pop_front();
            m_building = held.lane;
            lock.unlock();
            std::vector<CPqStep> steps;
            bool built = false;
            try {
                built = BuildSteps(held.unit, &m_session.Shapes(), steps);
            } catch (const std::bad_alloc&) {
                built = false;
            }
            if (built) {
                // The answers come in order; a send that failed has its
                // outcome among them.
                (void)m_session.Send(steps, true);
            }
            lock.lock();
            m_building.reset();
            if (built) {
                m_sent.push_back({held.lane, std::move(steps)});
                m_spent.push_back(std::move(held.unit));
            } else {
                // Never expected for rows of a hand; refused, not lost, so
                // that the caller stores the hand again its other way.
                while (!m_sent.empty()) {
                    TakeAnswer(lock);
                }
                m_done[held.lane].push_back(
                    {CStatus::Error(CStatus::Code::Conflict,
                                    L"the hand's statements could not be prepared"),
                     HeldText(held.unit), 0});
                m_changed.notify_all();
            }
            continue;
        }
        if (!m_sent.empty()) {
            TakeAnswer(lock);
            m_changed.notify_all();
            continue;
        }
        if (m_quit) {
            return;
        }
    }
}

}  // namespace kroDB::pq
