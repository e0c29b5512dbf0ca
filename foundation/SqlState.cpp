#include "foundation/SqlState.h"

CStatus::Code CodeOfSqlState(std::wstring_view state)
{
    if (state == L"23505" || state == L"40001" || state == L"40P01") {
        return CStatus::Code::Conflict;
    }
    // Class 08 is a lost or refused connection; 57P01..57P03 a server that is
    // shutting down, crashed or still starting.
    if (state.rfind(L"08", 0) == 0 || state == L"57P01" || state == L"57P02" || state == L"57P03") {
        return CStatus::Code::Unavailable;
    }
    return CStatus::Code::DatabaseError;
}
