#include "db/tables/kroStatCache.h"

#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/IConnection.h"

#include <vector>

namespace kroStats {

std::wstring kroStatCache::CreateText() const
{
    return L"CREATE TABLE statcache (id bigint not null, idplayer integer null, month integer "
           L"null, idgametype integer null, bb integer null, activeseats smallint null, position "
           L"smallint null, handscount integer null, netwin integer null, winrate integer null, "
           L"complete boolean null, PRIMARY KEY(id))";
}

bool kroStatCache::UpgradeColumns()
{
    return UpgradeFromSections({{L"handplayerstats", true}, {L"statcache", false}});
}

}  // namespace kroStats
