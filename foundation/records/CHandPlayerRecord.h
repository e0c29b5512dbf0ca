// The fields of one player of one hand: seat, stack, position, money, cards,
// evaluated hands, all-in EV and the player's statistics. Money is in cents.
#pragma once

#include "foundation/records/CStatMaps.h"

#include <cstdint>
#include <string>
#include <vector>

struct CHandPlayerRecord
{
    int64_t id = 0;
    int64_t idhand = 0;
    int32_t idplayer = 0;
    int32_t startcashincents = 0;
    int32_t seat = 0;
    int32_t position = 0;
    std::wstring handtype;
    int32_t totalwin = 0;
    int32_t bet = 0;
    int32_t netwin = 0;
    int32_t rakeincents = 0;
    int32_t showdownwin = 0;
    int32_t nonshowdownwin = 0;
    int32_t allinev = 0;
    // The name as written in the hand.
    std::wstring name;
    std::vector<int> cards;
    int32_t combination = 0;
    int32_t lowcombination = 0;
    // An all-in cash out: its amount (no column of its own) and whether one was seen.
    int32_t cashOutAmount = 0;
    bool cashOutFlag = false;
    // What the room paid the player outside the pot (a cash out, an EV cash
    // out, insurance), less what the player paid it for cashing out; part of
    // total win, but not won from the pot.
    int32_t paidOutsidePot = 0;
    bool hero = false;
    bool folded = false;
    CStatMaps stats;
};
