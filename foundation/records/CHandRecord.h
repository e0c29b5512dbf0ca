// The fields of one hand: file, room hand number, game type, times, board,
// showdown and run-it-twice marks, pot and rake, and the hand's statistics.
#pragma once

#include "foundation/records/CStatMaps.h"

#include <cstdint>
#include <vector>

struct CHandRecord
{
    int64_t id = 0;
    int64_t idfile = 0;
    uint64_t sitehandnumber = 0;
    int32_t idgametype = 0;
    int64_t et = 0;
    int64_t localtime = 0;
    int64_t utc = 0;
    int32_t seats = 0;
    // The board common to all runs, 0 to 5 cards.
    std::vector<int> board;
    int32_t boardtype = 0;
    int32_t streetAllin = 0;
    bool showdown = false;
    bool runittwice = false;
    int32_t totalpot = 0;
    int32_t rake = 0;
    CStatMaps stats;
};
