#include "db/tables/kroHands.h"

#include "companion/BoardTexture.h"
#include "companion/CODBCRecordset.h"
#include "companion/CardMasks.h"
#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/IConnection.h"
#include "db/RowValueUpdate.h"
#include "db/SqlText.h"
#include "foundation/WideText.h"

#include <vector>

namespace kroDB {

namespace {

// Ids come from the database, a block at a time, so that no other writer
// can take the same one.
const wchar_t* const kSequence = L"hands_id_seq";
constexpr int kIdBlock = 128;

}  // namespace

std::wstring kroHands::CreateText() const
{
    return L"CREATE TABLE hands (id bigint not null, idfile bigint null, sitehandnumber bigint "
           L"null, idgametype integer null, et integer null, \"localtime\" integer null, utc "
           L"integer null, seats smallint null, boardcard1 smallint null, boardcard2 smallint "
           L"null, boardcard3 smallint null, boardcard4 smallint null, boardcard5 smallint null, "
           L"boardcard64 bigint null, boardtype integer null, streetAllin integer null, showdown "
           L"boolean null, runittwice boolean null, totalpot integer null, rake integer null, "
           L"PRIMARY KEY(id)); ";
}

bool kroHands::UpgradeColumns()
{
    return UpgradeFromSections({{L"handstats", false}});
}

std::wstring kroHands::data::BoardUpdate(bool withTexture) const
{
    std::vector<std::wstring> columns;
    std::vector<std::wstring> values;
    for (size_t i = 0; i < board.size() && i < 5; ++i) {
        columns.push_back(FormatW(L"boardcard%d", static_cast<int>(i + 1)));
        values.push_back(std::to_wstring(board[i]));
    }
    columns.push_back(L"boardcard64");
    values.push_back(FormatW(L"%llu", static_cast<unsigned long long>(VecToInt64(board))));
    if (withTexture) {
        columns.push_back(L"boardtype");
        values.push_back(std::to_wstring(boardtype));
    }
    return RowValueUpdate(L"hands", columns, values, FormatW(L"id=%ld", static_cast<long>(id)));
}

bool kroHands::data::Insert()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    auto lock = m_context.LockConnection();
    if (id < 1) {
        id = m_context.TakeId(kSequence, kIdBlock);
        if (id < 0) {
            return false;
        }
    }
    // The room makes the same hand unique together with its number and utc;
    // without it, the game type's room is taken.
    const std::wstring site = idsite > 0 ? std::to_wstring(idsite)
                                         : FormatW(L"(select idsite from gametypes where id=%ld)",
                                                   static_cast<long>(idgametype));
    if (!connection->Execute(
            FormatW(L"insert into hands (id,idfile,sitehandnumber,idgametype,et,\"localtime\",utc, "
                    L"seats,streetAllin,showdown,runittwice,totalpot,rake,idsite) "
                    L"values(%ld,%ld,%llu,%ld,%ld,%ld,%ld,%d,%d,%ls,%ls,%ld,%ld,%ls);",
                    static_cast<long>(id), static_cast<long>(idfile),
                    static_cast<unsigned long long>(sitehandnumber), static_cast<long>(idgametype),
                    static_cast<long>(et), static_cast<long>(localtime), static_cast<long>(utc),
                    seats, streetAllin, SqlBool(showdown), SqlBool(runittwice),
                    static_cast<long>(totalpot), static_cast<long>(rake), site.c_str()))) {
        return false;
    }
    m_context.NoteUnitHand(id);
    if (!board.empty()) {
        return connection->Execute(BoardUpdate(false));
    }
    return true;
}

bool kroHands::data::LoadFrom(const std::wstring& sql)
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection || !connection->OpenRecordset(sql, rs) || rs->IsEOF()) {
        return false;
    }
    id = rs->Field(L"id").AsLong();
    idfile = rs->Field(L"idfile").AsLong();
    sitehandnumber = rs->Field(L"sitehandnumber").AsUnsignedLong();
    idgametype = rs->Field(L"idgametype").AsInt();
    et = rs->Field(L"et").AsLong();
    localtime = rs->Field(L"localtime").AsLong();
    utc = rs->Field(L"utc").AsLong();
    seats = rs->Field(L"seats").AsInt();
    board.clear();
    for (int i = 1; i <= 5; ++i) {
        const CDBField& card = rs->Field(FormatW(L"boardcard%d", i));
        if (card.IsNull()) {
            break;
        }
        board.push_back(card.AsInt());
    }
    boardtype = rs->Field(L"boardtype").AsInt();
    streetAllin = rs->Field(L"streetallin").AsInt();
    showdown = rs->Field(L"showdown").AsBool();
    runittwice = rs->Field(L"runittwice").AsBool();
    totalpot = rs->Field(L"totalpot").AsInt();
    rake = rs->Field(L"rake").AsInt();
    return true;
}

bool kroHands::data::Load()
{
    if (id >= 1) {
        return LoadFrom(FormatW(L"select * from hands where id=%ld;", static_cast<long>(id)));
    }
    if (idfile != 0 && sitehandnumber != 0) {
        return LoadFrom(
            FormatW(L"select * from hands where idfile=%ld and sitehandnumber=%llu AND utc = %ld;",
                    static_cast<long>(idfile), static_cast<unsigned long long>(sitehandnumber),
                    static_cast<long>(utc)));
    }
    if (sitehandnumber != 0) {
        return LoadFrom(FormatW(L"select * from hands where sitehandnumber=%llu;",
                                static_cast<unsigned long long>(sitehandnumber)));
    }
    return false;
}

bool kroHands::data::Exists()
{
    if (id <= 0) {
        return false;
    }
    return QueryHasRow(m_context,
                       FormatW(L"SELECT 1 from hands where id=%ld;", static_cast<long>(id))) ||
           QueryHasRow(
               m_context,
               FormatW(L"SELECT 1 from hands where idfile=%ld and sitehandnumber=%llu AND "
                       L" utc = %ld;",
                       static_cast<long>(idfile), static_cast<unsigned long long>(sitehandnumber),
                       static_cast<long>(utc)));
}

int64_t kroHands::data::FindStored(int32_t siteId)
{
    idsite = siteId;
    CConnectionLease connection(m_context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    // The unique key on these three columns answers this from its index.
    if (!connection ||
        !connection->OpenRecordset(
            FormatW(L"select id from hands where sitehandnumber=%llu and idsite=%d and utc=%ld;",
                    static_cast<unsigned long long>(sitehandnumber), siteId,
                    static_cast<long>(utc)),
            rs) ||
        rs->IsEOF()) {
        return 0;
    }
    const int64_t found = rs->Field(L"id").AsLong();
    m_context.NoteUnitHand(found);
    return found;
}

bool kroHands::data::StoreBoard()
{
    if (id == 0) {
        return false;
    }
    boardtype = ClassifyBoard(board);
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->ExecuteBatch({BoardUpdate(true)});
}

bool kroHands::data::StoreStats()
{
    std::wstring list;
    const auto known = m_context.TableColumns(L"hands");
    const auto add = [&list, &known](const std::wstring& name, const std::wstring& value) {
        if (!known->empty() && known->count(ToLowerAscii(name)) == 0) {
            return;
        }
        if (!list.empty()) {
            list += L',';
        }
        list += name + L"=" + value;
    };
    for (const auto& [name, value] : stats.flags) {
        add(name, SqlBool(value));
    }
    for (const auto& [name, value] : stats.counts) {
        add(name, std::to_wstring(value));
    }
    for (const auto& [name, value] : stats.values) {
        add(name, std::to_wstring(value));
    }
    for (const auto& [name, value] : stats.texts) {
        add(name, L"'" + SqlEscape(value) + L"'");
    }
    if (list.empty()) {
        return true;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->Execute(FormatW(L"update hands set %ls where id=%ld",
                                                     list.c_str(), static_cast<long>(id)));
}

bool kroHands::data::Update(const std::wstring& assignment)
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->Execute(L"update hands set " + assignment +
                                             FormatW(L" where id=%ld", static_cast<long>(id)));
}

bool kroHands::data::SetGameType(int32_t value)
{
    idgametype = value;
    return Update(FormatW(L"idgametype=%ld", static_cast<long>(value)));
}

bool kroHands::data::SetShowdown(bool value)
{
    showdown = value;
    return Update(std::wstring(L"showdown=") + SqlBool(value));
}

bool kroHands::data::SetTotalPot(int32_t value)
{
    totalpot = value;
    return Update(FormatW(L"totalpot=%ld", static_cast<long>(value)));
}

bool kroHands::data::SetRake(int32_t value)
{
    rake = value;
    return Update(FormatW(L"rake=%ld", static_cast<long>(value)));
}

bool kroHands::data::SetRunItTwice(bool value)
{
    runittwice = value;
    return Update(std::wstring(L"runittwice=") + SqlBool(value));
}

bool kroHands::data::SetStreetAllin(int32_t value)
{
    streetAllin = value;
    return Update(FormatW(L"streetAllin=%d", value));
}

bool kroHands::data::SetSeats(int32_t value)
{
    seats = value;
    return Update(FormatW(L"seats=%d", value));
}

}  // namespace kroDB
