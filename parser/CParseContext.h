// What the parsers keep across hands and files for the whole run: the player
// ids by room and name, the game-type ids by their key, the players already
// marked as hero, the last GGPoker blinds and the hero rows of stored hands for
// live import. Shared by the main thread and the folder-import worker; every
// method is thread-safe. Entries made while a hand is being stored are undone
// when that hand is rolled back, so that no cached id points to a row that was
// never stored.
#pragma once

#include "foundation/records/CGameTypeRecord.h"
#include "foundation/records/CHandPlayerRecord.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace kroHandParser {

// The hero's row of one newly stored hand, with its currency.
struct CStoredHeroHand
{
    CHandPlayerRecord hero;
    int32_t currency = -1;
    int64_t handId = 0;
    // Whether the hero's all-in EV was worked out (the hand went all in and
    // every card needed was known); without it the hand's EV is its money.
    bool allinEvComputed = false;
};

class CParseContext
{
public:
    std::optional<int32_t> CachedPlayer(int32_t siteId, const std::wstring& name) const;
    void CachePlayer(int32_t siteId, const std::wstring& name, int32_t playerId);
    // Whether the room's stored players were cached with CacheRoomPlayers.
    bool RoomPlayersCached(int32_t siteId) const;
    // Caches the room's stored players (committed rows: no unit drops them).
    void CacheRoomPlayers(int32_t siteId,
                          const std::vector<std::pair<std::wstring, int32_t>>& players);

    std::optional<int32_t> CachedGameType(const CGameTypeRecord& key) const;
    void CacheGameType(const CGameTypeRecord& key, int32_t id);

    bool IsHeroId(int32_t playerId) const;
    void AddHeroId(int32_t playerId);

    void LastGGBlinds(int32_t& smallBlind, int32_t& bigBlind) const;
    void SetLastGGBlinds(int32_t smallBlind, int32_t bigBlind);

    // The hero row of a newly stored hand; kept until taken, unless nothing
    // takes them (KeepPublishedHeroes(false)).
    void PublishHero(CStoredHeroHand hand);
    // Whether published rows are kept for TakePublishedHeroes (the default).
    // An import that never takes them turns it off, so that they do not pile
    // up over a long import.
    void KeepPublishedHeroes(bool keep);
    // Every hero row published since the last call, oldest first.
    std::vector<CStoredHeroHand> TakePublishedHeroes();
    // The last one published (also after it was taken), if any.
    std::optional<CStoredHeroHand> LastPublishedHero() const;

    // The unit of one hand: entries added after BeginUnit are dropped by
    // RollbackUnit and kept by CommitUnit.
    void BeginUnit();
    void CommitUnit();
    void RollbackUnit();
    // Units whose commit was sent but not answered yet: their entries stay
    // until the answer, oldest first. CommitUnitAhead ends the open unit that
    // way; ConfirmAhead keeps the oldest such unit's entries, RollbackAhead
    // drops those of every one.
    void CommitUnitAhead();
    void ConfirmAhead();
    void RollbackAhead();

    // Forgets every cached id (another database was chosen or created).
    void Clear();

private:
    using GameKey = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, bool>;
    static GameKey KeyOf(const CGameTypeRecord& r);

    // Guards everything below.
    mutable std::mutex m_mutex;
    std::map<std::pair<int32_t, std::wstring>, int32_t> m_players;
    std::map<GameKey, int32_t> m_gameTypes;
    std::set<int32_t> m_heroIds;
    std::set<int32_t> m_roomsCached;
    int32_t m_lastSmallBlind = 0;
    int32_t m_lastBigBlind = 0;
    // Shared: the last one is also what every unit since would go back to.
    std::vector<std::shared_ptr<const CStoredHeroHand>> m_published;
    std::shared_ptr<const CStoredHeroHand> m_lastPublished;
    bool m_keepPublished = true;

    // What one unit added, to be undone when it is rolled back.
    struct CUnitEntries
    {
        std::vector<std::pair<int32_t, std::wstring>> players;
        std::vector<GameKey> gameTypes;
        std::vector<int32_t> heroes;
        size_t published = 0;
        std::shared_ptr<const CStoredHeroHand> lastBefore;
    };
    void Undo(const CUnitEntries& entries);

    bool m_inUnit = false;
    CUnitEntries m_unit;
    std::vector<CUnitEntries> m_ahead;
};

}  // namespace kroHandParser
