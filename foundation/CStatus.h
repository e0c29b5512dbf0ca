// A success-or-failure value with a wide message, returned below the surfaces
// whose results are fixed. Cheap to copy; thread-compatible.
#pragma once

#include <string>
#include <utility>

class [[nodiscard]] CStatus
{
public:
    enum class Code
    {
        Ok = 0,
        NotFound = 1,
        InvalidArgument = 2,
        IoError = 3,
        DatabaseError = 4,
        Corruption = 5,
        // Another writer stored or holds the same rows (a unique key, a
        // deadlock): the unit may be tried again.
        Conflict = 6,
        // The database server cannot be reached or went away.
        Unavailable = 7,
    };

    CStatus() = default;
    static CStatus Ok() { return CStatus(); }
    static CStatus Error(Code code, std::wstring message)
    {
        return CStatus(code, std::move(message));
    }
    static CStatus NotFound(std::wstring message)
    {
        return CStatus(Code::NotFound, std::move(message));
    }
    static CStatus IoError(std::wstring message)
    {
        return CStatus(Code::IoError, std::move(message));
    }
    static CStatus InvalidArgument(std::wstring message)
    {
        return CStatus(Code::InvalidArgument, std::move(message));
    }
    static CStatus DatabaseError(std::wstring message)
    {
        return CStatus(Code::DatabaseError, std::move(message));
    }

    bool IsOk() const { return m_code == Code::Ok; }
    Code GetCode() const { return m_code; }
    const std::wstring& Message() const { return m_message; }

private:
    CStatus(Code code, std::wstring message)
        : m_code(code)
        , m_message(std::move(message))
    {}

    Code m_code = Code::Ok;
    std::wstring m_message;
};
