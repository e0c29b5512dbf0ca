#include "parser/kroParseStrategyI.h"

#include "db/CDbContext.h"
#include "db/CHandTransaction.h"
#include "db/HandHistoryArchive.h"
#include "db/tables/kroAliasData.h"
#include "db/tables/kroGameTypes.h"
#include "db/tables/kroHandHistory.h"
#include "db/tables/kroHands.h"
#include "db/tables/kroPlayers.h"
#include "foundation/ILogSink.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"

#include <cstring>
#include <exception>

namespace kroHandParser {

kroParseStrategyI::kroParseStrategyI(CParserEnvironment& env, int32_t siteId, std::wstring fileName)
    : m_env(env)
    , m_siteId(siteId)
    , m_fileName(std::move(fileName))
{}

bool kroParseStrategyI::ParseHandAsUnit(std::vector<std::wstring>& lines,
                                        int64_t fileId,
                                        int& currency,
                                        int32_t aliasId)
{
    bool handled = false;
    if (m_env.databaseLost || m_env.stop.stop_requested()) {
        ++m_env.counts.unreached;
    } else {
        handled = StoreHand(lines, fileId, currency, aliasId);
    }
    if (m_env.afterHand) {
        m_env.afterHand();
    }
    return handled;
}

CStatus kroParseStrategyI::TryUnit(std::vector<std::wstring>& lines,
                                   int64_t fileId,
                                   int& currency,
                                   int32_t aliasId,
                                   bool mayGoAhead,
                                   bool& handled,
                                   int64_t& handId,
                                   bool& wentAhead)
{
    handled = false;
    handId = 0;
    wentAhead = false;
    kroDB::CHandTransaction unit(m_env.db, m_env.settings.asyncCommit);
    if (!unit.IsActive()) {
        return unit.StartStatus();
    }
    m_env.context.BeginUnit();
    m_outcome = HandOutcome::Failed;
    try {
        handled = ParseHand(lines, fileId, currency, aliasId);
    } catch (const std::exception& e) {
        // A hand that breaks the parser must not stop the rest of the file.
        m_env.log.Log(L"hand parse failed: " + std::wstring(e.what(), e.what() + strlen(e.what())));
        handled = false;
    }
    handId = m_env.db.UnitHand();
    // A statement that failed decides, whatever the parser made of it.
    CStatus status = unit.Status();
    if (status.IsOk() && handled) {
        wentAhead = mayGoAhead;
        status = mayGoAhead ? unit.CommitAhead() : unit.Commit();
    }
    if (status.IsOk() && handled) {
        if (wentAhead) {
            m_env.context.CommitUnitAhead();
        } else {
            m_env.context.CommitUnit();
        }
    } else {
        wentAhead = false;
        m_env.context.RollbackUnit();
    }
    return status;
}

bool kroParseStrategyI::StoreHand(std::vector<std::wstring>& lines,
                                  int64_t fileId,
                                  int& currency,
                                  int32_t aliasId)
{
    return StoreHandFrom(1, lines, fileId, currency, aliasId);
}

bool kroParseStrategyI::StoreHandFrom(int firstAttempt,
                                      std::vector<std::wstring>& lines,
                                      int64_t fileId,
                                      int& currency,
                                      int32_t aliasId)
{
    // Another writer storing the same hand or player at the same moment makes
    // the unit fail; tried again, it finds their rows.
    constexpr int kAttempts = 5;
    std::vector<std::wstring> asRead = lines;
    for (int attempt = firstAttempt;; ++attempt) {
        if (attempt > firstAttempt) {
            lines = asRead;
        }
        bool handled = false;
        int64_t handId = 0;
        bool wentAhead = false;
        m_lookFirst = attempt > 1 || m_lastWasStored;
        // Only a first try goes ahead: a hand tried again is a rare one.
        const bool mayGoAhead = m_env.settings.sendAhead && attempt == 1;
        const CStatus status =
            TryUnit(lines, fileId, currency, aliasId, mayGoAhead, handled, handId, wentAhead);
        if (wentAhead) {
            m_lastWasStored = m_outcome == HandOutcome::AlreadyStored;
            m_ahead.push_back(
                CAheadHand{std::move(asRead), fileId, &currency, aliasId, m_outcome, handId});
        }
        if (!SettleAheadHands(false)) {
            // A hand sent before failed and was done again. This one, when
            // it was refused for resting on that hand's rows (a player it
            // added), is done again now; sent, its own outcome comes later.
            if (wentAhead) {
                return handled;
            }
            if (m_env.databaseLost) {
                ++m_env.counts.unreached;
                return false;
            }
            lines = asRead;
            attempt = firstAttempt - 1;
            continue;
        }
        if (wentAhead) {
            return handled;
        }
        if (status.IsOk()) {
            m_lastWasStored = m_outcome == HandOutcome::AlreadyStored;
            if (!handled) {
                ++(m_outcome == HandOutcome::Skipped ? m_env.counts.skipped
                                                     : m_env.counts.rejected);
                return false;
            }
            CountHandled(m_outcome, handId);
            return true;
        }
        if (status.GetCode() == CStatus::Code::Conflict && attempt < kAttempts) {
            continue;
        }
        if (status.GetCode() == CStatus::Code::Unavailable) {
            ServerWentAway(m_outcome, handId);
            return false;
        }
        if (status.GetCode() == CStatus::Code::Conflict) {
            m_env.log.Log(L"hand not stored, other writers kept it busy: " + status.Message() +
                          L": " + (asRead.empty() ? std::wstring() : asRead[0]));
        }
        ++m_env.counts.rejected;
        return false;
    }
}

void kroParseStrategyI::CountHandled(HandOutcome outcome, int64_t handId)
{
    switch (outcome) {
    case HandOutcome::Stored:
        ++m_env.counts.stored;
        if (m_env.ownHands != nullptr && handId > 0) {
            m_env.ownHands->insert(handId);
        }
        break;
    case HandOutcome::AlreadyStored:
        // Stored by this import before the server went away.
        if (m_env.ownHands != nullptr && m_env.ownHands->count(handId) != 0) {
            ++m_env.counts.stored;
        } else {
            ++m_env.counts.alreadyStored;
        }
        break;
    case HandOutcome::Skipped:
        ++m_env.counts.skipped;
        break;
    case HandOutcome::Failed:
        ++m_env.counts.rejected;
        break;
    }
}

void kroParseStrategyI::ServerWentAway(HandOutcome outcome, int64_t handId)
{
    // The commit may have reached the server before it went away.
    if (outcome == HandOutcome::Stored && m_env.ownHands != nullptr && handId > 0) {
        m_env.ownHands->insert(handId);
    }
    m_env.databaseLost = true;
    ++m_env.counts.unreached;
    // The broken connection goes; the next use opens a new one.
    m_env.db.ResetConnection();
}

bool kroParseStrategyI::SettleAheadHands(bool wait)
{
    bool allStored = true;
    while (!m_ahead.empty()) {
        std::optional<CStatus> outcome = m_env.db.TakeAheadOutcome(wait);
        if (!outcome) {
            if (!wait) {
                break;
            }
            // Nothing on its way after waiting: the connection committed it
            // at once.
            outcome = CStatus::Ok();
        }
        CAheadHand hand = std::move(m_ahead.front());
        m_ahead.pop_front();
        if (outcome->IsOk()) {
            m_env.context.ConfirmAhead();
            CountHandled(hand.outcome, hand.handId);
            continue;
        }
        allStored = false;
        // Nothing of it was stored; of the hands sent after it, those that
        // rested on it were refused and are done again by their outcomes.
        m_env.context.RollbackAhead();
        if (outcome->GetCode() == CStatus::Code::Unavailable) {
            ServerWentAway(hand.outcome, hand.handId);
        } else if (outcome->GetCode() == CStatus::Code::Conflict) {
            // Another writer stored it, or the file holds it twice: tried
            // again, it finds the stored copy.
            (void)StoreHandFrom(2, hand.lines, hand.fileId, *hand.currency, hand.aliasId);
        } else {
            ++m_env.counts.rejected;
        }
    }
    return allStored;
}

void kroParseStrategyI::FinishHands()
{
    (void)SettleAheadHands(true);
}

bool kroParseStrategyI::FindOrInsertGameType(CGameTypeRecord& gameType)
{
    if (const auto cached = m_env.context.CachedGameType(gameType)) {
        gameType.id = *cached;
        return true;
    }
    kroDB::kroGameTypes::data row(m_env.db);
    static_cast<CGameTypeRecord&>(row) = gameType;
    row.id = 0;
    if (!row.FindOrInsert()) {
        return false;
    }
    // The row read back may differ in fields outside the key (small blind).
    m_env.context.CacheGameType(gameType, row.id);
    gameType.id = row.id;
    return true;
}

int32_t kroParseStrategyI::ResolvePlayer(const std::wstring& name)
{
    if (const auto cached = m_env.context.CachedPlayer(m_siteId, name)) {
        return *cached;
    }
    if (m_env.settings.loadRoomPlayers && m_env.settings.asyncCommit &&
        !m_env.context.RoomPlayersCached(m_siteId)) {
        CacheRoomPlayers();
        if (const auto cached = m_env.context.CachedPlayer(m_siteId, name)) {
            return *cached;
        }
    }
    kroDB::kroPlayers::data player(m_env.db);
    player.idsite = m_siteId;
    player.name = name;
    // A room whose players were read: one not among them is new, unless
    // another writer added him since; then the insert is refused. Only an
    // insert beside the unit is refused at once; one held in the unit would
    // fail it.
    kroDB::CConnectionLease connection(m_env.db.AcquireConnection(true));
    const bool newUnlessJustAdded =
        m_env.context.RoomPlayersCached(m_siteId) && connection && connection->WritesAside();
    if (newUnlessJustAdded || !player.Load()) {
        player.idplayer = 0;
        player.hero = false;
        if (!player.InsertUnseen()) {
            // Another writer stored the player since it was looked for: its
            // row is the one.
            player.idplayer = 0;
            if (!player.Load()) {
                return 0;
            }
        }
    }
    if (player.hero) {
        m_env.context.AddHeroId(player.idplayer);
    }
    m_env.context.CachePlayer(m_siteId, name, player.idplayer);
    return player.idplayer;
}

void kroParseStrategyI::CacheRoomPlayers()
{
    std::vector<CPlayerRecord> stored;
    if (!kroDB::kroPlayers::data::LoadRoom(m_env.db, m_siteId, stored)) {
        return;
    }
    std::vector<std::pair<std::wstring, int32_t>> players;
    players.reserve(stored.size());
    for (CPlayerRecord& player : stored) {
        if (player.hero) {
            m_env.context.AddHeroId(player.idplayer);
        }
        players.emplace_back(std::move(player.name), player.idplayer);
    }
    m_env.context.CacheRoomPlayers(m_siteId, players);
}

void kroParseStrategyI::MarkHero(int32_t playerId, int32_t aliasId, bool addToAlias)
{
    if (m_env.context.IsHeroId(playerId)) {
        return;
    }
    kroDB::kroPlayers::data player(m_env.db);
    if (!player.SetHero(playerId)) {
        return;
    }
    m_env.context.AddHeroId(playerId);
    if (addToAlias && aliasId != 0) {
        kroDB::kroAliasData::data member(m_env.db);
        member.idalias = aliasId;
        member.idplayer = playerId;
        if (!member.Exists()) {
            (void)member.Insert();
        }
    }
}

int64_t kroParseStrategyI::StoredCopy(kroDB::kroHands::data& row)
{
    if (!m_lookFirst) {
        row.idsite = m_siteId;
        return 0;
    }
    return row.FindStored(m_siteId);
}

bool kroParseStrategyI::StoreHandHistory(int64_t handId, const std::vector<std::wstring>& lines)
{
    kroDB::kroHandHistory::data history(m_env.db);
    history.id = handId;
    history.nvar = kroDB::StorageModeFromIndex(m_env.settings.handHistoryFormat);
    history.Encode(lines);
    return history.Insert();
}

void kroParseStrategyI::Trace(const std::wstring& text)
{
    m_env.log.Trace(text);
}

}  // namespace kroHandParser
