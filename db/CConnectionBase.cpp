#include "db/CConnectionBase.h"

#include "companion/CDatabase.h"
#include "db/CDbContext.h"
#include "foundation/ILogSink.h"
#include "foundation/WideText.h"

#include <chrono>
#include <new>

namespace kroDB {

namespace {

uint64_t Elapsed(std::chrono::steady_clock::time_point start)
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
}

}  // namespace

CConnectionBase::CConnectionBase(CDbContext& context)
    : m_context(context)
{}

bool CConnectionBase::OpenDatabase(const std::wstring& connectString)
{
    auto lock = m_context.LockConnection();
    try {
        auto db = std::make_unique<CDatabase>(m_context.Environment());
        const CStatus status = db->Open(connectString, m_context.LoginTimeoutSeconds());
        if (!status.IsOk()) {
            m_context.ShowError(FormatW(L"OpenDB error [%ls], file: <%ls> ",
                                        status.Message().c_str(),
                                        MaskPassword(connectString).c_str()));
            return false;
        }
        // Quotes are doubled in every text value and backslashes stay literal.
        (void)db->ExecuteSQL(L"SET standard_conforming_strings = on");
        m_db = std::move(db);
        return true;
    } catch (const std::bad_alloc&) {
        m_context.ShowError(
            FormatW(L"OpenDB memory error, file: <%ls> ", MaskPassword(connectString).c_str()));
        return false;
    }
}

void CConnectionBase::CloseDatabase()
{
    auto lock = m_context.LockConnection();
    m_deferred.clear();
    m_deferredChars = 0;
    m_db.reset();
}

bool CConnectionBase::OpenRecordset(const std::wstring& sql,
                                    std::unique_ptr<CODBCRecordset>& recordset)
{
    auto lock = m_context.LockConnection();
    if (sql.empty() || !m_db || !m_db->IsOpen()) {
        return false;
    }
    recordset.reset();
    // Queued statements travel in front of the query: one round trip for both.
    std::wstring text = TakeDeferredText();
    text += sql;
    try {
        auto rs = std::make_unique<CODBCRecordset>(*m_db);
        const auto start = std::chrono::steady_clock::now();
        const CStatus status = rs->Open(text, 2, 0x2004);
        m_context.AddTraffic(Elapsed(start));
        if (!status.IsOk()) {
            ++m_failures;
            m_context.ShowError(FormatW(L"Ошибка [%ls] при выполнении <%ls> ",
                                        status.Message().c_str(),
                                        MaskPassword(m_db->ConnectString()).c_str()));
            m_context.Log().Log(L"SQL: " + sql.substr(0, 4000));
            return false;
        }
        recordset = std::move(rs);
        return true;
    } catch (const std::bad_alloc&) {
        m_context.ShowError(FormatW(L"Ошибка памяти при выполнении <%ls> ",
                                    MaskPassword(m_db->ConnectString()).c_str()));
        return false;
    }
}

bool CConnectionBase::Run(const std::wstring& sql)
{
    try {
        const auto start = std::chrono::steady_clock::now();
        const CStatus status = m_db->ExecuteSQL(sql);
        m_context.AddTraffic(Elapsed(start));
        if (!status.IsOk()) {
            ++m_failures;
            m_context.ShowError(FormatW(L"Ошибка [%ls] при выполнении <%ls> ",
                                        status.Message().c_str(),
                                        MaskPassword(m_db->ConnectString()).c_str()));
            m_context.Log().Log(L"SQL: " + sql.substr(0, 4000));
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        m_context.ShowError(FormatW(L"Ошибка памяти при выполнении <%ls> ",
                                    MaskPassword(m_db->ConnectString()).c_str()));
        return false;
    }
}

bool CConnectionBase::Execute(const std::wstring& sql)
{
    auto lock = m_context.LockConnection();
    if (!m_db || !m_db->IsOpen()) {
        return false;
    }
    if (m_deferDepth > 0) {
        m_deferred.push_back(sql);
        m_deferredChars += sql.size();
        // Bounded, so that a huge hand cannot build an endless text.
        return m_deferredChars < (1u << 20) || FlushDeferred();
    }
    return Run(sql);
}

void CConnectionBase::BeginDeferred()
{
    auto lock = m_context.LockConnection();
    ++m_deferDepth;
}

bool CConnectionBase::EndDeferred()
{
    auto lock = m_context.LockConnection();
    const bool ok = FlushDeferred();
    if (m_deferDepth > 0) {
        --m_deferDepth;
    }
    return ok;
}

void CConnectionBase::DiscardDeferred()
{
    auto lock = m_context.LockConnection();
    m_deferred.clear();
    m_deferredChars = 0;
    if (m_deferDepth > 0) {
        --m_deferDepth;
    }
}

std::wstring CConnectionBase::TakeDeferredText()
{
    std::wstring text;
    text.reserve(m_deferredChars + m_deferred.size() * 2);
    for (const auto& sql : m_deferred) {
        text += sql;
        if (sql.empty() || sql.back() != L';') {
            text += L';';
        }
        text += L'\n';
    }
    m_deferred.clear();
    m_deferredChars = 0;
    return text;
}

bool CConnectionBase::FlushDeferred()
{
    auto lock = m_context.LockConnection();
    if (m_deferred.empty()) {
        return true;
    }
    const std::wstring text = TakeDeferredText();
    if (!m_db || !m_db->IsOpen()) {
        return false;
    }
    return Run(text);
}

bool CConnectionBase::ExecuteBatch(const std::vector<std::wstring>& statements)
{
    auto lock = m_context.LockConnection();
    if (!m_db || !m_db->IsOpen()) {
        return false;
    }
    if (m_deferDepth > 0) {
        // Queued behind what came before, so that the order stays.
        for (const auto& sql : statements) {
            if (!Execute(sql)) {
                return false;
            }
        }
        return true;
    }
    const int previous = m_db->QueryTimeout();
    m_db->SetQueryTimeout(600);
    bool ok = true;
    for (const auto& sql : statements) {
        if (!Run(sql)) {
            ok = false;
            break;
        }
    }
    m_db->SetQueryTimeout(previous);
    return ok;
}

}  // namespace kroDB
