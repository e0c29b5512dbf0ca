// What lets several writers (the desktop program's live tracking, a manual
// import, veltrix-cli, in any number of processes) store into one database at
// once: row ids from database sequences, and unique keys that the database
// itself enforces for the same hand (room, room hand number, utc), the same
// player (room, name), game type, file (name, room) and alias member. Made by
// CreateDatabase and UpgradeDatabase; an existing database that already holds
// the same hand, player, game type or file twice is repaired first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kroDB {

class CDbContext;

// What the preparation repaired in a database written before it.
struct CRepairCounts
{
    // Later copies of hands stored twice, removed with all their rows.
    int64_t handsRemoved = 0;
    // Player, game type and file rows stored twice, merged into the first
    // (their hands and actions now name the first).
    int64_t playersMerged = 0;
    int64_t gameTypesMerged = 0;
    int64_t filesMerged = 0;
    // Alias member rows stored twice, removed.
    int64_t aliasMembersRemoved = 0;
};

// The sequences, named <table>_<id column>_seq, of the tables whose ids the
// program chooses: hands, handsplayers, players, gametypes, files, aliases.
std::vector<std::wstring> IdSequenceNames();

// True when the database has every sequence, unique key and column that
// PrepareForSeveralWriters makes (read from the catalogue, without locks).
bool ReadyForSeveralWriters(CDbContext& context);

// Makes what is missing, in one transaction under a lock of its own, so that
// two programs starting at once do it once: the columns hands.idsite (filled
// from the game types), files.finishsize and files.finishcrc; each sequence,
// set past the largest id stored; and each unique key, after the rows stored
// twice were repaired (the first copy stays). Nothing happens when all is
// there. False (everything rolled back) when a statement fails; `repaired`
// (may be null) receives what was repaired, which is also written to the log.
bool PrepareForSeveralWriters(CDbContext& context, CRepairCounts* repaired = nullptr);

}  // namespace kroDB
