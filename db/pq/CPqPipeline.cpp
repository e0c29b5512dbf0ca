#include "db/pq/CPqPipeline.h"

#include "foundation/WideText.h"

#include <array>
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

void CPqPipeline::Send(std::vector<CHeldStatement> held)
{
    std::vector<std::vector<CHeldStatement>> spent;
    {
        std::scoped_lock lock(m_mutex);
        m_queue.push_back(std::move(held));
        spent.swap(m_spent);
    }
    m_changed.notify_all();
}

size_t CPqPipeline::Unsettled() const
{
    std::scoped_lock lock(m_mutex);
    return m_queue.size() + m_building + m_sent.size() + m_done.size();
}

std::optional<CPqPipeline::COutcome> CPqPipeline::Take(bool wait)
{
    std::unique_lock lock(m_mutex);
    if (wait) {
        m_changed.wait(lock, [this] {
            return !m_done.empty() || (m_queue.empty() && m_building == 0 && m_sent.empty());
        });
    }
    if (m_done.empty()) {
        return std::nullopt;
    }
    COutcome outcome = std::move(m_done.front());
    m_done.pop_front();
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
        outcome.text = DescribeSteps(m_sent.front());
    }
    m_sent.pop_front();
    m_done.push_back(std::move(outcome));
}

void CPqPipeline::Loop()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_quit || !m_queue.empty() || !m_sent.empty(); });
        if (!m_queue.empty() && m_sent.size() < kDepth) {
            std::vector<CHeldStatement> held = std::move(m_queue.front());
            m_queue.pop_front();
            ++m_building;
            lock.unlock();
            std::vector<CPqStep> steps;
            bool built = false;
            try {
                built = BuildSteps(held, &m_session.Shapes(), steps);
            } catch (const std::bad_alloc&) {
                built = false;
            }
            if (built) {
                // The answers come in order; a send that failed has its
                // outcome among them.
                (void)m_session.Send(steps, true);
            }
            lock.lock();
            --m_building;
            if (built) {
                m_sent.push_back(std::move(steps));
                m_spent.push_back(std::move(held));
            } else {
                // Never expected for rows of a hand; refused, not lost, so
                // that the caller stores the hand again its other way.
                while (!m_sent.empty()) {
                    TakeAnswer(lock);
                }
                m_done.push_back({CStatus::Error(CStatus::Code::Conflict,
                                                 L"the hand's statements could not be prepared"),
                                  HeldText(held), 0});
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
