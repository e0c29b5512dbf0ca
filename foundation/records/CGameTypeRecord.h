// The fields of one game type: room, currency, game kind, stakes, seats, speed.
#pragma once

#include <cstdint>

struct CGameTypeRecord
{
    int32_t id = 0;
    int32_t idsite = 0;
    int32_t currency = -1;
    int32_t type = 0;
    int32_t idgamekind = -1;
    int32_t maxseats = 0;
    bool mix = false;
    int32_t smallblind = 0;
    int32_t bigblind = 0;
    int32_t ante = 0;
    bool fast = false;
};
