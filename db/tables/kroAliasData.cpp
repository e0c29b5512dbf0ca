#include "db/tables/kroAliasData.h"

namespace kroDB {

std::wstring kroAliasData::CreateText() const
{
    return L"CREATE TABLE aliasdata (idalias integer not null , idplayer integer not null)";
}

}  // namespace kroDB
