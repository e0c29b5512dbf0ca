#include "db/tables/kroHandPlayers.h"

#include "companion/CODBCRecordset.h"
#include "companion/CardMasks.h"
#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/IConnection.h"
#include "db/RowValueUpdate.h"
#include "db/SqlText.h"
#include "foundation/NumberText.h"
#include "foundation/WideText.h"

#include <utility>

namespace kroDB {

namespace {

const wchar_t* const kSequence = L"handsplayers_id_seq";
constexpr int kIdBlock = 1024;

void AddCards(const std::vector<int>& cards,
              std::vector<std::wstring>& columns,
              std::vector<std::wstring>& values)
{
    for (size_t i = 0; i < cards.size() && i < 7; ++i) {
        columns.push_back(FormatW(L"card%d", static_cast<int>(i + 1)));
        values.push_back(NumberText(cards[i]));
    }
    columns.push_back(L"cards64");
    values.push_back(FormatW(L"%llu", static_cast<unsigned long long>(VecToInt64(cards))));
}

}  // namespace

std::wstring kroHandPlayers::CreateText() const
{
    return L"CREATE TABLE handsplayers (id bigint not null, idhand bigint not null, idplayer "
           L"integer null, startcashincents integer null, seat smallint null, position smallint "
           L"null, card1 smallint null, card2 smallint null, card3 smallint null, card4 smallint "
           L"null, card5 smallint null, card6 smallint null, card7 smallint null, cards64 bigint "
           L"null, combination integer null, lowcombination integer null, handtype char(10) null, "
           L"totalwin integer null, bet integer null, netwin integer null, rakeincents integer "
           L"null, showdownwin integer null, nonshowdownwin integer null,allinev integer null, "
           L"PRIMARY KEY(id));";
}

bool kroHandPlayers::UpgradeColumns()
{
    return UpgradeFromSections({{L"handplayerstats", false}});
}

bool kroHandPlayers::data::Exists()
{
    if (id > 0 && QueryHasRow(m_context, FormatW(L"SELECT 1 from handsplayers where id=%ld;",
                                                 static_cast<long>(id)))) {
        return true;
    }
    return QueryHasRow(m_context,
                       FormatW(L"SELECT 1 from handsplayers where idhand=%ld and idplayer=%ld;",
                               static_cast<long>(idhand), static_cast<long>(idplayer)));
}

bool kroHandPlayers::data::Insert()
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
    if (!m_knownNew && Exists()) {
        return false;
    }
    RowValues row{
        {L"id", NumberText(id)},
        {L"idhand", NumberText(idhand)},
        {L"idplayer", NumberText(idplayer)},
        {L"startcashincents", NumberText(startcashincents)},
        {L"seat", NumberText(seat)},
        {L"position", NumberText(position)},
        {L"handtype", L"'" + SqlEscape(handtype) + L"'"},
        {L"totalwin", NumberText(totalwin)},
        {L"bet", NumberText(bet)},
        {L"netwin", NumberText(netwin)},
        {L"rakeincents", NumberText(rakeincents)},
        {L"showdownwin", NumberText(showdownwin)},
        {L"nonshowdownwin", NumberText(nonshowdownwin)},
        {L"cards64", NumberText(static_cast<unsigned long long>(VecToInt64(cards)))},
        {L"combination", NumberText(combination)},
        {L"lowcombination", NumberText(lowcombination)},
    };
    const size_t fixed = row.size();
    std::vector<std::wstring> columns;
    std::vector<std::wstring> values;
    const size_t statCount = stats.flags.size() + stats.counts.size() + stats.values.size() + 8;
    columns.reserve(statCount);
    values.reserve(statCount);
    const auto known = m_context.TableColumns(L"handsplayers");
    const auto keep = [&known](const std::wstring& column) {
        return known->empty() || known->count(column) != 0 ||
               known->count(ToLowerAscii(column)) != 0;
    };
    for (const auto& [column, value] : stats.flags) {
        if (keep(column)) {
            columns.push_back(column);
            values.push_back(SqlBool(value));
        }
    }
    for (const auto& [column, value] : stats.counts) {
        if (keep(column)) {
            columns.push_back(column);
            values.push_back(NumberText(value));
        }
    }
    for (const auto& [column, value] : stats.values) {
        if (keep(column)) {
            columns.push_back(column);
            values.push_back(NumberText(value));
        }
    }
    // The cards last, so that the players of a hand, shown cards or not,
    // carry the same columns at the same places.
    if (!cards.empty()) {
        AddCards(cards, columns, values);
    }
    if (!m_context.CompleteRows()) {
        // The row first, its cards and statistics after, as older builds
        // stored it.
        if (!connection->Execute(RowInsertText(L"handsplayers", row))) {
            return false;
        }
        return values.empty() ||
               connection->Execute(RowValueUpdate(L"handsplayers", columns, values,
                                                  FormatW(L"id=%ld", static_cast<long>(id))));
    }
    row.reserve(row.size() + columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        // cards64 is among the first columns and again among the cards.
        bool replaced = false;
        for (size_t j = fixed; columns[i] == L"cards64" && j-- > 0;) {
            if (row[j].first == columns[i]) {
                row[j].second = std::move(values[i]);
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            row.emplace_back(std::move(columns[i]), std::move(values[i]));
        }
    }
    return connection->InsertRow(L"handsplayers", id, std::move(row));
}

bool kroHandPlayers::data::Load()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    const std::wstring sql =
        id > 0 ? FormatW(L"select * from handsplayers where id=%ld;", static_cast<long>(id))
               : FormatW(L"select * from handsplayers where idhand=%ld and idplayer=%ld;",
                         static_cast<long>(idhand), static_cast<long>(idplayer));
    if (!connection || !connection->OpenRecordset(sql, rs) || rs->IsEOF()) {
        return false;
    }
    id = rs->Field(L"id").AsLong();
    idhand = rs->Field(L"idhand").AsLong();
    idplayer = rs->Field(L"idplayer").AsInt();
    startcashincents = rs->Field(L"startcashincents").AsInt();
    seat = rs->Field(L"seat").AsInt();
    position = rs->Field(L"position").AsInt();
    handtype = Trim(rs->Field(L"handtype").AsString());
    totalwin = rs->Field(L"totalwin").AsInt();
    bet = rs->Field(L"bet").AsInt();
    netwin = rs->Field(L"netwin").AsInt();
    rakeincents = rs->Field(L"rakeincents").AsInt();
    showdownwin = rs->Field(L"showdownwin").AsInt();
    nonshowdownwin = rs->Field(L"nonshowdownwin").AsInt();
    allinev = rs->Field(L"allinev").AsInt();
    combination = rs->Field(L"combination").AsInt();
    lowcombination = rs->Field(L"lowcombination").AsInt();
    cards.clear();
    for (int i = 1; i <= 7; ++i) {
        const CDBField& card = rs->Field(FormatW(L"card%d", i));
        if (card.IsNull()) {
            break;
        }
        cards.push_back(card.AsInt());
    }
    return true;
}

bool kroHandPlayers::data::Update(const std::wstring& column, const std::wstring& value)
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    auto lock = m_context.LockConnection();
    if (m_context.CompleteRows() &&
        connection->ChangeHeldRow(L"handsplayers", id, {{column, value}})) {
        return true;
    }
    return connection->Execute(L"update handsplayers set " + column + L"=" + value +
                               FormatW(L" where id=%ld", static_cast<long>(id)));
}

bool kroHandPlayers::data::SetCombination(int32_t value)
{
    combination = value;
    return Update(L"combination", NumberText(value));
}

bool kroHandPlayers::data::SetLowCombination(int32_t value)
{
    lowcombination = value;
    return Update(L"lowcombination", NumberText(value));
}

bool kroHandPlayers::data::SetAllinEV()
{
    if (id == 0) {
        return false;
    }
    return Update(L"allinev", NumberText(allinev));
}

bool kroHandPlayers::data::StoreCards(int64_t handId,
                                      int32_t playerId,
                                      const std::vector<int>& shown)
{
    std::vector<std::wstring> columns;
    std::vector<std::wstring> values;
    AddCards(shown, columns, values);
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->Execute(RowValueUpdate(
                             L"handsplayers", columns, values,
                             FormatW(L"idhand=%ld and idplayer=%ld", static_cast<long>(handId),
                                     static_cast<long>(playerId))));
}

}  // namespace kroDB
