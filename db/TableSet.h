// The whole schema: every table in creation order, and the index script.
#pragma once

#include "db/kroTable.h"

#include <memory>
#include <string>
#include <vector>

namespace kroDB {

// actions, sites, files, hands, handhistory, handsactions, players, aliases,
// aliasdata, handsplayers, runittwice, pots, gametypes, statcache.
std::vector<std::unique_ptr<kroTable>> AllTablesInCreationOrder(CDbContext& context);

// Creates every missing table (with its default rows) and upgrades every
// table's columns; false when a table could not be created.
bool CreateAllTables(CDbContext& context);

// The index statements as one text.
std::wstring IndexScript();

// True when every index of the index script exists.
bool IndexesPresent(CDbContext& context);

}  // namespace kroDB
