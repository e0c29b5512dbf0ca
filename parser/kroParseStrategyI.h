// The interface of a room format's parse strategy, and what all strategies
// share: storing each hand as one unit, and finding or inserting the game
// type, the hand row, its text and the players. One object per imported file;
// it borrows the environment, which must outlive it.
#pragma once

#include "db/tables/kroHands.h"
#include "foundation/CStatus.h"
#include "foundation/records/CGameTypeRecord.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace kroHandParser {

struct CParserEnvironment;

// How a header line was read.
enum class HeaderStatus
{
    Ok,
    // No pattern matched: the game type stays as initialised, the times 0.
    NoMatch,
    // A date or time out of range: the hand must not be stored.
    InvalidDateTime,
};

// What became of the hand that ParseHand handled last.
enum class HandOutcome
{
    Stored,
    AlreadyStored,
    Skipped,
    Failed,
};

class kroParseStrategyI
{
public:
    // `siteId` is the database id of the room; `fileName` the imported file's
    // name (some rooms mark game kinds through it).
    kroParseStrategyI(CParserEnvironment& env, int32_t siteId, std::wstring fileName);
    virtual ~kroParseStrategyI() = default;
    kroParseStrategyI(const kroParseStrategyI&) = delete;
    kroParseStrategyI& operator=(const kroParseStrategyI&) = delete;

    // Splits the file's lines into hands and parses each; the number of hands
    // handled. `currency` receives the currency of the last hand.
    virtual int ParseFile(const std::vector<std::wstring>& lines,
                          int64_t fileId,
                          int& currency,
                          int32_t aliasId) = 0;
    // Parses and stores one hand; true when it was handled (stored, found
    // already stored, or deliberately left out).
    virtual bool ParseHand(std::vector<std::wstring>& lines,
                           int64_t fileId,
                           int& currency,
                           int32_t aliasId) = 0;
    virtual uint64_t ValueFromText(const std::wstring& /*text*/) { return 0; }
    // Reads a header line into the game type and the three times; returns
    // localtime. LastHeaderStatus() tells whether it was valid.
    virtual int64_t ParseHeader(const std::wstring& header,
                                CGameTypeRecord& gameType,
                                int64_t& et,
                                int64_t& utc) = 0;

    int32_t SiteId() const { return m_siteId; }
    HeaderStatus LastHeaderStatus() const { return m_headerStatus; }
    HandOutcome LastOutcome() const { return m_outcome; }

    // Waits for the hand sent ahead and counts it (with sendAhead the last
    // hand of a file is on its way when ParseFile returns). Call after
    // ParseFile, before the connection serves anything else.
    void FinishHands();

private:
    bool StoreHand(std::vector<std::wstring>& lines,
                   int64_t fileId,
                   int& currency,
                   int32_t aliasId);
    // The attempts of storing one hand, counted from `firstAttempt`.
    bool StoreHandFrom(int firstAttempt,
                       std::vector<std::wstring>& lines,
                       int64_t fileId,
                       int& currency,
                       int32_t aliasId);
    // One attempt: the unit's status, whether ParseHand handled the hand, the
    // id of the hand row it inserted or found, and whether its commit went
    // ahead (then its outcome is known later).
    CStatus TryUnit(std::vector<std::wstring>& lines,
                    int64_t fileId,
                    int& currency,
                    int32_t aliasId,
                    bool mayGoAhead,
                    bool& handled,
                    int64_t& handId,
                    bool& wentAhead);
    void CountHandled(HandOutcome outcome, int64_t handId);
    // A unit met a server that went away: the import stops reaching it.
    void ServerWentAway(HandOutcome outcome, int64_t handId);
    // Counts the hands sent ahead whose outcomes are known, oldest first
    // (waiting for every one with `wait`). False when one failed: it was
    // dealt with (done again, counted), and a unit prepared after it that was
    // refused must be done again.
    bool SettleAheadHands(bool wait);

protected:
    // Runs ParseHand inside one database transaction and parse-context unit,
    // and counts what became of the hand; true when it was handled and
    // everything it wrote was committed. A unit that met another writer is
    // tried again. When the database cannot be reached the environment is
    // marked (databaseLost), and from then on, as after a stop, hands are only
    // counted as unreached.
    bool ParseHandAsUnit(std::vector<std::wstring>& lines,
                         int64_t fileId,
                         int& currency,
                         int32_t aliasId);

    // The game type's id, found by its key (remembered for the run) or
    // inserted; false when neither works.
    bool FindOrInsertGameType(CGameTypeRecord& gameType);
    // The player id of `name` in this room, from the run's cache or the
    // players table (inserted when missing); 0 when neither works.
    int32_t ResolvePlayer(const std::wstring& name);
    // Reads the room's stored players into the run's cache, once.
    void CacheRoomPlayers();
    // Marks the player as hero once per run (and adds it to the alias).
    void MarkHero(int32_t playerId, int32_t aliasId, bool addToAlias);
    // The id of the stored copy of the hand in `row` (room, room hand number
    // and utc), or 0 when it is to be inserted. While hands turn out new the
    // server is not asked first: the unique key makes the insert of a stored
    // hand fail the unit, and the unit tried again looks first.
    int64_t StoredCopy(kroDB::kroHands::data& row);
    // Stores the hand's text in the configured mode.
    bool StoreHandHistory(int64_t handId, const std::vector<std::wstring>& lines);
    // A line of the debug trace file.
    void Trace(const std::wstring& text);

    CParserEnvironment& m_env;
    const int32_t m_siteId;
    const std::wstring m_fileName;
    HeaderStatus m_headerStatus = HeaderStatus::Ok;
    HandOutcome m_outcome = HandOutcome::Failed;

private:
    // A hand whose commit went ahead and is not answered yet.
    struct CAheadHand
    {
        std::vector<std::wstring> lines;
        int64_t fileId = 0;
        int* currency = nullptr;
        int32_t aliasId = 0;
        HandOutcome outcome = HandOutcome::Failed;
        int64_t handId = 0;
    };

    bool m_lookFirst = true;
    bool m_lastWasStored = true;
    // Oldest first, as their outcomes come.
    std::deque<CAheadHand> m_ahead;
};

}  // namespace kroHandParser
