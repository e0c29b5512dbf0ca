#include "db/CConnectionBase.h"

#include "companion/CDatabase.h"
#include "db/CDbContext.h"
#include "foundation/ILogSink.h"
#include "foundation/WideText.h"

#include <new>

namespace kroDB {

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
    if (!FlushDeferred()) {
        return false;
    }
    try {
        auto rs = std::make_unique<CODBCRecordset>(*m_db);
        const CStatus status = rs->Open(sql, 2, 0x2004);
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
        const CStatus status = m_db->ExecuteSQL(sql);
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

bool CConnectionBase::FlushDeferred()
{
    auto lock = m_context.LockConnection();
    if (m_deferred.empty()) {
        return true;
    }
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
