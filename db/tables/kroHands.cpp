#include "db/tables/kroHands.h"

#include "companion/BoardTexture.h"
#include "companion/CODBCRecordset.h"
#include "companion/CardMasks.h"
#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/IConnection.h"
#include "db/RowValueUpdate.h"
#include "db/SqlText.h"
#include "foundation/NumberText.h"
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

RowValues kroHands::data::BoardValues(bool withTexture) const
{
    RowValues values;
    for (size_t i = 0; i < board.size() && i < 5; ++i) {
        values.emplace_back(FormatW(L"boardcard%d", static_cast<int>(i + 1)), NumberText(board[i]));
    }
    values.emplace_back(L"boardcard64",
                        FormatW(L"%llu", static_cast<unsigned long long>(VecToInt64(board))));
    if (withTexture) {
        values.emplace_back(L"boardtype", NumberText(boardtype));
    }
    return values;
}

bool kroHands::data::SetValues(const RowValues& values)
{
    if (values.empty()) {
        return true;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    auto lock = m_context.LockConnection();
    if (m_context.CompleteRows() && connection->ChangeHeldRow(L"hands", id, values)) {
        return true;
    }
    std::vector<std::wstring> columns;
    std::vector<std::wstring> texts;
    for (const auto& [column, value] : values) {
        columns.push_back(column);
        texts.push_back(value);
    }
    return connection->Execute(
        RowValueUpdate(L"hands", columns, texts, FormatW(L"id=%ld", static_cast<long>(id))));
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
    const std::wstring site = idsite > 0 ? NumberText(idsite)
                                         : FormatW(L"(select idsite from gametypes where id=%ld)",
                                                   static_cast<long>(idgametype));
    RowValues row{
        {L"id", NumberText(id)},
        {L"idfile", NumberText(idfile)},
        {L"sitehandnumber", NumberText(static_cast<unsigned long long>(sitehandnumber))},
        {L"idgametype", NumberText(idgametype)},
        {L"et", NumberText(et)},
        {L"\"localtime\"", NumberText(localtime)},
        {L"utc", NumberText(utc)},
        {L"seats", NumberText(seats)},
        {L"streetAllin", NumberText(streetAllin)},
        {L"showdown", SqlBool(showdown)},
        {L"runittwice", SqlBool(runittwice)},
        {L"totalpot", NumberText(totalpot)},
        {L"rake", NumberText(rake)},
        {L"idsite", site},
    };
    if (m_context.CompleteRows()) {
        if (!board.empty()) {
            for (auto& value : BoardValues(false)) {
                row.push_back(std::move(value));
            }
        }
        if (!connection->InsertRow(L"hands", id, std::move(row))) {
            return false;
        }
        m_context.NoteUnitHand(id);
        return true;
    }
    if (!connection->Execute(RowInsertText(L"hands", row))) {
        return false;
    }
    m_context.NoteUnitHand(id);
    return board.empty() || SetValues(BoardValues(false));
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
    return SetValues(BoardValues(true));
}

bool kroHands::data::StoreStats()
{
    RowValues values;
    const auto known = m_context.TableColumns(L"hands");
    const auto add = [&values, &known](const std::wstring& name, std::wstring value) {
        if (!known->empty() && known->count(name) == 0 && known->count(ToLowerAscii(name)) == 0) {
            return;
        }
        values.emplace_back(name, std::move(value));
    };
    for (const auto& [name, value] : stats.flags) {
        add(name, SqlBool(value));
    }
    for (const auto& [name, value] : stats.counts) {
        add(name, NumberText(value));
    }
    for (const auto& [name, value] : stats.values) {
        add(name, NumberText(value));
    }
    for (const auto& [name, value] : stats.texts) {
        add(name, L"'" + SqlEscape(value) + L"'");
    }
    return SetValues(values);
}

bool kroHands::data::Update(const std::wstring& column, const std::wstring& value)
{
    return SetValues({{column, value}});
}

bool kroHands::data::SetGameType(int32_t value)
{
    idgametype = value;
    return Update(L"idgametype", NumberText(value));
}

bool kroHands::data::SetShowdown(bool value)
{
    showdown = value;
    return Update(L"showdown", SqlBool(value));
}

bool kroHands::data::SetTotalPot(int32_t value)
{
    totalpot = value;
    return Update(L"totalpot", NumberText(value));
}

bool kroHands::data::SetRake(int32_t value)
{
    rake = value;
    return Update(L"rake", NumberText(value));
}

bool kroHands::data::SetRunItTwice(bool value)
{
    runittwice = value;
    return Update(L"runittwice", SqlBool(value));
}

bool kroHands::data::SetStreetAllin(int32_t value)
{
    streetAllin = value;
    return Update(L"streetAllin", NumberText(value));
}

bool kroHands::data::SetSeats(int32_t value)
{
    seats = value;
    return Update(L"seats", NumberText(value));
}

}  // namespace kroDB
