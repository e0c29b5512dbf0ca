#include "db/tables/kroAliases.h"

namespace kroDB {

std::wstring kroAliases::CreateText() const
{
    return L"CREATE TABLE aliases (id integer PRIMARY KEY not null , name character varying(255) UNIQUE)";
}

}  // namespace kroDB
