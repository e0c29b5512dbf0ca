// The settings the parsers read: how hand texts are stored, the all-in dump,
// and the local offset from UTC measured at start.
#pragma once

#include <cstdint>
#include <string>

namespace kroHandParser {

struct CParseSettings
{
    // 0..3: '0' nothing, 'U' text, '8' UTF-8 in hex, 'z' zipped in hex.
    int handHistoryFormat = 0;
    // Write each evaluated all-in hand to <allinDumpFolder><hand number>.dat.
    bool allinDump = false;
    std::wstring allinDumpFolder;
    // L: now - (now's UTC broken-down time read as local time), in seconds.
    int64_t localOffset = 0;
    // Hands are committed without waiting for the server's disk (each is still
    // one transaction); whoever imports makes them durable with MakeDurable
    // before counting them as stored for good.
    bool asyncCommit = false;
    // The client prepares the next hand while the server stores this one
    // (each hand still one transaction). Whoever imports calls FinishHands
    // after each file.
    bool sendAhead = false;
    // The room's players are read once per import, in one query; a player
    // not among them is then added without being looked for first (when
    // another writer added him since, his row is read). Needs asyncCommit:
    // the player is added beside the hand's unit.
    bool loadRoomPlayers = false;
};

}  // namespace kroHandParser
