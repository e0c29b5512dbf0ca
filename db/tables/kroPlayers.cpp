#include "db/tables/kroPlayers.h"

namespace kroDB {

std::wstring kroPlayers::CreateText() const
{
    return L"CREATE TABLE players (idplayer integer null, name character varying(255) null, idsite integer null, hero boolean null, comment text null, PRIMARY KEY(idplayer))";
}

}  // namespace kroDB
