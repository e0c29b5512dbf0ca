#include "db/tables/kroActions.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/WideText.h"

#include <vector>

namespace kroDB {

const std::array<CActionRow, 33> kDefaultActions = {{
    {1, L"ante", L"A"},
    {2, L"small blind", L"SB"},
    {3, L"secondsb", L"SSB"},
    {4, L"big blind", L"BB"},
    {5, L"both", L"SBBB"},
    {6, L"calls", L"C"},
    {7, L"raises", L"R"},
    {8, L"bets", L"B"},
    {9, L"stands pat", L"S"},
    {10, L"folds", L"F"},
    {11, L"checks", L"K"},
    {12, L"discards", L"D"},
    {13, L"bringin", L"I"},
    {14, L"completes", L"P"},
    {15, L"uncalled bet returns", L"UB"},
    {16, L"show down", L"SD"},
    {17, L"collects", L"CP"},
    {18, L"flop-et", L"FET"},
    {19, L"flop cards", L"FC"},
    {20, L"turn cards", L"TC"},
    {21, L"river cards", L"RC"},
    {22, L"first flop cards", L"FFC"},
    {23, L"first turn cards", L"FTC"},
    {24, L"first river cards", L"FRC"},
    {25, L"second flop cards", L"SFC"},
    {26, L"second turn cards", L"STC"},
    {27, L"second river cards", L"SRC"},
    {28, L"mucks", L"MC"},
    {29, L"dealt", L"DC"},
    {30, L"all-in cash out", L"ACO"},
    {31, L"third flop cards", L"TFC"},
    {32, L"third turn cards", L"TTC"},
    {33, L"third river cards", L"TRC"},
}};

std::wstring kroActions::CreateText() const
{
    return L"CREATE TABLE actions (id integer not null, name character varying(255) null, code "
           L"character varying(10) null, PRIMARY KEY(id))";
}

void kroActions::FillDefaults()
{
    std::vector<std::wstring> statements;
    for (const auto& row : kDefaultActions) {
        statements.push_back(FormatW(
            L"INSERT INTO \"actions\" (\"id\", \"name\", \"code\") VALUES (%d, '%ls', '%ls')",
            row.id, row.name, row.code));
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (connection) {
        connection->ExecuteBatch(statements);
    }
}

bool kroActions::data::Load()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection->OpenRecordset(FormatW(L"SELECT * FROM actions where id=%d;", id), rs) ||
        rs->IsEOF()) {
        return false;
    }
    id = rs->Field(L"id").AsInt();
    name = Trim(rs->Field(L"name").AsString());
    code = Trim(rs->Field(L"code").AsString());
    return true;
}

}  // namespace kroDB
