#include "db/TableSet.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/tables/kroActions.h"
#include "db/tables/kroAliasData.h"
#include "db/tables/kroAliases.h"
#include "db/tables/kroFiles.h"
#include "db/tables/kroGameTypes.h"
#include "db/tables/kroHandHistory.h"
#include "db/tables/kroHandPlayers.h"
#include "db/tables/kroHands.h"
#include "db/tables/kroHandsActions.h"
#include "db/tables/kroPlayers.h"
#include "db/tables/kroPots.h"
#include "db/tables/kroRunittwice.h"
#include "db/tables/kroSites.h"
#include "db/tables/kroStatCache.h"

namespace kroDB {

std::vector<std::unique_ptr<kroTable>> AllTablesInCreationOrder(CDbContext& context)
{
    std::vector<std::unique_ptr<kroTable>> tables;
    tables.push_back(std::make_unique<kroActions>(context));
    tables.push_back(std::make_unique<kroSites>(context));
    tables.push_back(std::make_unique<kroFiles>(context));
    tables.push_back(std::make_unique<kroHands>(context));
    tables.push_back(std::make_unique<kroHandHistory>(context));
    tables.push_back(std::make_unique<kroHandsActions>(context));
    tables.push_back(std::make_unique<kroPlayers>(context));
    tables.push_back(std::make_unique<kroAliases>(context));
    tables.push_back(std::make_unique<kroAliasData>(context));
    tables.push_back(std::make_unique<kroHandPlayers>(context));
    tables.push_back(std::make_unique<kroRunittwice>(context));
    tables.push_back(std::make_unique<kroPots>(context));
    tables.push_back(std::make_unique<kroGameTypes>(context));
    tables.push_back(std::make_unique<kroStats::kroStatCache>(context));
    return tables;
}

bool CreateAllTables(CDbContext& context)
{
    bool ok = true;
    for (const auto& table : AllTablesInCreationOrder(context)) {
        ok = table->Create() && ok;
    }
    return ok;
}

std::wstring IndexScript()
{
    return L"CREATE INDEX IF NOT EXISTS handsindex1 ON hands (idfile,sitehandnumber);"
           L"CREATE INDEX IF NOT EXISTS handsindex2 ON hands (idgametype);"
           L"CREATE INDEX IF NOT EXISTS handsindex3 ON hands (et);"
           L"CREATE INDEX IF NOT EXISTS handsindex4 ON hands (\"localtime\");"
           L"CREATE INDEX IF NOT EXISTS handsindex5 ON hands (utc);"
           L"CREATE INDEX IF NOT EXISTS haindex1 ON handsactions (idhand,actionno);"
           L"CREATE INDEX IF NOT EXISTS haindex2 ON handsactions (idaction);"
           L"CREATE INDEX IF NOT EXISTS haindex3 ON handsactions (idplayer);"
           L"CREATE INDEX IF NOT EXISTS plindex1 ON players (idsite, name);"
           L"CREATE INDEX IF NOT EXISTS hpindex1 ON handsplayers (idhand);"
           L"CREATE INDEX IF NOT EXISTS hpindex2 ON handsplayers (idplayer);";
}

bool IndexesPresent(CDbContext& context)
{
    CConnectionLease connection(context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    return connection && connection->IsOpen() &&
           connection->OpenRecordset(
               L"SELECT count(*) AS n FROM pg_indexes WHERE schemaname = 'public' AND indexname IN "
               L"('handsindex1','handsindex2','handsindex3','handsindex4','handsindex5',"
               L"'haindex1','haindex2','haindex3','plindex1','hpindex1','hpindex2');",
               rs) &&
           !rs->IsEOF() && rs->Field(L"n").AsInt() == 11;
}

}  // namespace kroDB
