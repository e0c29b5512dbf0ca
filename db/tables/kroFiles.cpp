#include "db/tables/kroFiles.h"

namespace kroDB {

std::wstring kroFiles::CreateText() const
{
    return L"CREATE TABLE files (id bigint not null, path text null, idsite integer null, timestart integer null, timeupdate integer null, timeend integer null, hands integer null, finish boolean, PRIMARY KEY(id))";
}

}  // namespace kroDB
