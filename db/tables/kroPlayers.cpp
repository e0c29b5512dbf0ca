#include "db/tables/kroPlayers.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/WideText.h"

namespace kroDB {

namespace {

const wchar_t* const kSequence = L"players_idplayer_seq";
constexpr int kIdBlock = 16;

}  // namespace

std::wstring kroPlayers::CreateText() const
{
    return L"CREATE TABLE players (idplayer integer null, name character varying(255) null, "
           L"idsite integer null, hero boolean null, comment text null, PRIMARY KEY(idplayer))";
}

bool kroPlayers::data::Insert()
{
    auto lock = m_context.LockConnection();
    return !Exists() && InsertUnseen();
}

bool kroPlayers::data::InsertUnseen()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    auto lock = m_context.LockConnection();
    if (idplayer < 1) {
        const int64_t next = m_context.TakeId(kSequence, kIdBlock);
        if (next < 0) {
            return false;
        }
        idplayer = static_cast<int32_t>(next);
    }
    // Committed on its own when the hand's unit allows it, so that the hand
    // can still be sent behind those on their way. A player row outlives a
    // hand that fails: it only names someone seen at the table.
    return connection->ExecuteAside(
        FormatW(L"insert into players (idplayer,name,idsite,hero) values(%ld,'%ls',%ld,%ls)",
                static_cast<long>(idplayer), SqlEscape(name).c_str(), static_cast<long>(idsite),
                SqlBool(hero)));
}

bool kroPlayers::data::Load()
{
    std::wstring sql;
    if (idplayer >= 1) {
        sql = FormatW(L"select * from players where idplayer=%ld;", static_cast<long>(idplayer));
    } else if (idsite != 0) {
        sql = FormatW(L"select * from players where idsite=%ld and name='%ls';",
                      static_cast<long>(idsite), SqlEscape(name).c_str());
    } else {
        return false;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection || !connection->OpenRecordsetAside(sql, rs) || rs->IsEOF()) {
        return false;
    }
    idplayer = rs->Field(L"idplayer").AsInt();
    name = Trim(rs->Field(L"name").AsString());
    idsite = rs->Field(L"idsite").AsInt();
    hero = rs->Field(L"hero").AsBool();
    return true;
}

bool kroPlayers::data::LoadRoom(CDbContext& context,
                                int32_t siteId,
                                std::vector<CPlayerRecord>& players)
{
    players.clear();
    CConnectionLease connection(context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection || !connection->OpenRecordsetAside(
                           FormatW(L"select idplayer,name,hero from players where idsite=%ld;",
                                   static_cast<long>(siteId)),
                           rs)) {
        return false;
    }
    for (; !rs->IsEOF(); (void)rs->MoveNext()) {
        CPlayerRecord player;
        player.idplayer = rs->Field(size_t{0}).AsInt();
        player.name = Trim(rs->Field(size_t{1}).AsString());
        player.idsite = siteId;
        player.hero = rs->Field(size_t{2}).AsBool();
        players.push_back(std::move(player));
    }
    return true;
}

bool kroPlayers::data::Exists()
{
    return QueryHasRowAside(
        m_context,
        FormatW(L"SELECT 1 from players where idplayer=%ld or (idsite=%ld and name='%ls');",
                static_cast<long>(idplayer), static_cast<long>(idsite), SqlEscape(name).c_str()));
}

bool kroPlayers::data::SetHero(int32_t playerId)
{
    if (playerId == 0) {
        return false;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection &&
           connection->Execute(FormatW(L"update players set hero=%ls where idplayer=%ld;",
                                       SqlBool(true), static_cast<long>(playerId)));
}

}  // namespace kroDB
