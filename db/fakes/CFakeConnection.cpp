#include "db/fakes/CFakeConnection.h"

#include "companion/CODBCRecordset.h"

#include <boost/regex.hpp>

namespace kroDB {

void CFakeConnection::FailStatement(uint64_t n, CStatus status)
{
    m_failAt = n == 0 ? 0 : m_count + n;
    m_failWith = std::move(status);
}

CStatus CFakeConnection::Take(const std::wstring& sql)
{
    ++m_count;
    m_sent.push_back(sql);
    if (!m_failAll.IsOk()) {
        return m_failAll;
    }
    if (m_failAt != 0 && m_count == m_failAt) {
        return m_failWith;
    }
    return CStatus::Ok();
}

CFakeConnection::CRows CFakeConnection::Answer(const std::wstring& sql)
{
    static const boost::wregex kNextIds(
        LR"(SELECT string_agg\(nextval\('([^']+)'\)::text, ','\) AS ids FROM generate_series\(1,(\d+)\);?)",
        boost::regex::icase);
    boost::wsmatch m;
    if (boost::regex_match(sql, m, kNextIds)) {
        const std::wstring name = m[1].str();
        const int count = std::stoi(m[2].str());
        auto it = m_sequences.begin();
        while (it != m_sequences.end() && it->first != name) {
            ++it;
        }
        if (it == m_sequences.end()) {
            m_sequences.emplace_back(name, 0);
            it = m_sequences.end() - 1;
        }
        std::wstring list;
        for (int i = 0; i < count; ++i) {
            list += (i == 0 ? L"" : L",") + std::to_wstring(++it->second);
        }
        CRows rows;
        rows.names = {L"ids"};
        rows.rows.push_back({list});
        return rows;
    }
    return m_responder ? m_responder(sql) : CRows();
}

void CFakeConnection::Settle()
{
    if (!m_aheadInFlight) {
        return;
    }
    m_aheadKnown = m_aheadInFlight;
    m_aheadInFlight.reset();
    if (!m_aheadKnown->IsOk() && m_inUnit && m_unitStatus.IsOk()) {
        m_unitStatus = CStatus::Error(CStatus::Code::Conflict,
                                      L"the unit sent before this one was not stored");
    }
}

CStatus CFakeConnection::CommitUnitAhead()
{
    Settle();
    if (m_inUnit && !m_unitStatus.IsOk()) {
        return CommitUnit();
    }
    const bool failing = !m_failCommit.IsOk();
    const CStatus status = CommitUnit();
    if (!status.IsOk() && !failing) {
        return status;
    }
    m_aheadInFlight = status;
    m_last = CStatus::Ok();
    return m_last;
}

std::optional<CStatus> CFakeConnection::TakeAheadOutcome(bool wait)
{
    if (wait) {
        Settle();
    }
    std::optional<CStatus> outcome;
    outcome.swap(m_aheadKnown);
    return outcome;
}

bool CFakeConnection::OpenRecordset(const std::wstring& sql,
                                    std::unique_ptr<CODBCRecordset>& recordset)
{
    recordset.reset();
    Settle();
    if (m_inUnit && !m_unitStatus.IsOk()) {
        return false;
    }
    m_last = Take(sql);
    if (!m_last.IsOk()) {
        if (m_inUnit) {
            m_unitStatus = m_last;
        }
        return false;
    }
    CRows answer = Answer(sql);
    std::vector<std::vector<CDBField>> rows;
    for (auto& row : answer.rows) {
        std::vector<CDBField> fields;
        for (auto& value : row) {
            fields.emplace_back(std::move(value));
        }
        rows.push_back(std::move(fields));
    }
    recordset = std::make_unique<CODBCRecordset>(std::move(answer.names), std::move(rows));
    return true;
}

bool CFakeConnection::Execute(const std::wstring& sql)
{
    if (!m_inUnit) {
        Settle();
    }
    if (m_inUnit && !m_unitStatus.IsOk()) {
        return false;
    }
    m_last = Take(sql);
    if (!m_last.IsOk()) {
        if (m_inUnit) {
            m_unitStatus = m_last;
        }
        return false;
    }
    if (m_inUnit) {
        m_unit.push_back(sql);
    } else {
        m_committed.push_back(sql);
    }
    return true;
}

bool CFakeConnection::ExecuteBatch(const std::vector<std::wstring>& statements)
{
    for (const auto& sql : statements) {
        if (!Execute(sql)) {
            return false;
        }
    }
    return true;
}

CStatus CFakeConnection::BeginUnit()
{
    if (m_inUnit) {
        return CStatus::InvalidArgument(L"a unit is open already");
    }
    if (!m_failAll.IsOk()) {
        return m_failAll;
    }
    m_inUnit = true;
    m_unit.clear();
    m_unitStatus = CStatus::Ok();
    return CStatus::Ok();
}

CStatus CFakeConnection::CommitUnit()
{
    Settle();
    if (!m_inUnit) {
        return CStatus::InvalidArgument(L"no unit is open");
    }
    CStatus status = m_unitStatus;
    if (status.IsOk() && !m_failCommit.IsOk()) {
        status = m_failCommit;
        m_failCommit = CStatus::Ok();
    }
    if (status.IsOk()) {
        m_committed.insert(m_committed.end(), m_unit.begin(), m_unit.end());
        m_units.push_back(m_unit);
    }
    m_inUnit = false;
    m_unit.clear();
    m_unitStatus = CStatus::Ok();
    m_last = status;
    return status;
}

void CFakeConnection::RollbackUnit()
{
    m_inUnit = false;
    m_unit.clear();
    m_unitStatus = CStatus::Ok();
}

}  // namespace kroDB
