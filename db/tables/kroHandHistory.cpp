#include "db/tables/kroHandHistory.h"

namespace kroDB {

std::wstring kroHandHistory::CreateText() const
{
    return L"CREATE TABLE handhistory (id bigint not null, nvar char null, hh text null, PRIMARY KEY(id))";
}

}  // namespace kroDB
