#include "db/tables/kroGameTypes.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/WideText.h"

namespace kroDB {

std::wstring kroGameTypes::CreateText() const
{
    return L"CREATE TABLE gametypes (id integer not null, idsite integer null, currency smallint "
           L"null, type smallint null, idgamekind smallint null, maxseats smallint null, mix "
           L"smallint null, smallblind integer null, bigblind integer null, ante integer null, "
           L"fast boolean null, PRIMARY KEY(id))";
}

std::wstring kroGameTypes::data::NaturalKeyQuery() const
{
    return FormatW(
        L"select * from gametypes where idsite=%d and currency=%d and idgamekind=%d and "
        L"bigblind=%ld and ante = %ld and maxseats = %ld and fast=%ls;",
        idsite, currency, idgamekind, static_cast<long>(bigblind), static_cast<long>(ante),
        static_cast<long>(maxseats), SqlBool(fast));
}

bool kroGameTypes::data::LoadFrom(const std::wstring& sql)
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection->OpenRecordset(sql, rs) || rs->IsEOF()) {
        return false;
    }
    id = rs->Field(L"id").AsInt();
    idsite = rs->Field(L"idsite").AsInt();
    currency = rs->Field(L"currency").AsInt();
    type = rs->Field(L"type").AsInt();
    idgamekind = rs->Field(L"idgamekind").AsInt();
    maxseats = rs->Field(L"maxseats").AsInt();
    mix = rs->Field(L"mix").AsInt() != 0;
    smallblind = rs->Field(L"smallblind").AsInt();
    bigblind = rs->Field(L"bigblind").AsInt();
    ante = rs->Field(L"ante").AsInt();
    fast = rs->Field(L"fast").AsBool();
    return true;
}

bool kroGameTypes::data::Load()
{
    if (id > 0) {
        return LoadFrom(FormatW(L"select * from gametypes where id=%ld;", static_cast<long>(id)));
    }
    if (idsite != 0 && idgamekind != 0) {
        return LoadFrom(NaturalKeyQuery());
    }
    return false;
}

bool kroGameTypes::data::Exists()
{
    if (id <= 0) {
        return false;
    }
    return QueryHasRow(m_context,
                       FormatW(L"SELECT 1 from gametypes where id=%ld;", static_cast<long>(id))) ||
           QueryHasRow(m_context, NaturalKeyQuery());
}

bool kroGameTypes::data::Insert()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    auto lock = m_context.LockConnection();
    if (id < 1) {
        const int64_t next = m_context.TakeId(L"gametypes_id_seq", 1);
        if (next < 0) {
            return false;
        }
        id = static_cast<int32_t>(next);
    }
    if (Exists()) {
        return false;
    }
    return connection->Execute(
        FormatW(L"insert into gametypes "
                L"(id,idsite,currency,type,idgamekind,maxseats,mix,smallblind,bigblind,ante,fast) "
                L"values(%ld,%d,%d,%d,%d,%d,%d,%ld,%ld,%d,%ls);",
                static_cast<long>(id), idsite, currency, type, idgamekind, maxseats, mix ? 1 : 0,
                static_cast<long>(smallblind), static_cast<long>(bigblind), ante, SqlBool(fast)));
}

bool kroGameTypes::data::SetMaxSeats(int32_t n)
{
    if (id == 0) {
        return false;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection ||
        !connection->Execute(
            FormatW(L"update gametypes set maxseats=%d where id=%ld", n, static_cast<long>(id)))) {
        return false;
    }
    maxseats = n;
    return true;
}

bool kroGameTypes::data::FindOrInsert()
{
    auto lock = m_context.LockConnection();
    // The natural key is searched even for a game kind of 0 (a game no table
    // knows): Load() would skip it and every such hand would then fail.
    if (LoadFrom(NaturalKeyQuery())) {
        return true;
    }
    id = 0;
    if (Insert()) {
        return true;
    }
    // Another writer stored the same type since it was looked for.
    return LoadFrom(NaturalKeyQuery());
}

}  // namespace kroDB
