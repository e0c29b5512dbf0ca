#include "companion/OdbcText.h"

#include "foundation/SqlState.h"

std::vector<SQLWCHAR> ToSqlWide(const std::wstring& text)
{
    std::vector<SQLWCHAR> out;
    out.reserve(text.size() + 1);
    for (wchar_t wc : text) {
        auto c = static_cast<char32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = 0xFFFD;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<SQLWCHAR>(0xD800 + (c >> 10)));
            out.push_back(static_cast<SQLWCHAR>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<SQLWCHAR>(c));
        }
    }
    out.push_back(0);
    return out;
}

std::wstring FromSqlWide(const SQLWCHAR* text, size_t units)
{
    std::wstring out;
    out.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        const char32_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const char32_t v = text[i + 1];
            if (v >= 0xDC00 && v <= 0xDFFF) {
                out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00)));
                ++i;
                continue;
            }
        }
        out.push_back(static_cast<wchar_t>(u >= 0xD800 && u <= 0xDFFF ? 0xFFFD : u));
    }
    return out;
}

std::wstring DiagnosticText(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::wstring text;
    for (SQLSMALLINT rec = 1; rec < 20; ++rec) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[2048] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, rec, state, &native, message,
                                            static_cast<SQLSMALLINT>(std::size(message)), &length);
        if (!SQL_SUCCEEDED(rc)) {
            break;
        }
        if (!text.empty()) {
            text += L'\n';
        }
        const size_t units = std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(length, 0)),
                                              std::size(message) - 1);
        text += FromSqlWide(message, units);
    }
    return text;
}

CStatus DiagnosticStatus(SQLSMALLINT handleType, SQLHANDLE handle)
{
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLWCHAR message[2] = {};
    std::wstring code;
    const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, 1, state, &native, message, 1, &length);
    if (SQL_SUCCEEDED(rc)) {
        code = FromSqlWide(state, 5);
    }
    return CStatus::Error(CodeOfSqlState(code), DiagnosticText(handleType, handle));
}

CStatus WithLostConnection(CStatus status, SQLHDBC dbc)
{
    if (status.IsOk() || status.GetCode() != CStatus::Code::DatabaseError || dbc == SQL_NULL_HDBC) {
        return status;
    }
    SQLUINTEGER dead = SQL_CD_FALSE;
    const SQLRETURN rc = SQLGetConnectAttrW(dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
    if (SQL_SUCCEEDED(rc) && dead == SQL_CD_TRUE) {
        return CStatus::Error(CStatus::Code::Unavailable, status.Message());
    }
    return status;
}
