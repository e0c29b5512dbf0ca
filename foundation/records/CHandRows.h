// The smaller rows of a hand: one action, one pot, the extra boards of a hand
// run more than once, and the stored hand text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct CActionRecord
{
    int64_t idhand = 0;
    int32_t actionno = 0;
    int32_t idaction = 0;
    // -1 for board cards and other actions of no player.
    int32_t idplayer = -1;
    int32_t amount = 0;
};

struct CPotRecord
{
    int64_t idhand = 0;
    int32_t potnum = 0;
    int32_t amt = 0;
};

struct CRunItTwiceRecord
{
    int64_t idhand = 0;
    int32_t nb = 2;
    // Five entries per board; a card shared with the common board is -1.
    std::array<std::vector<int>, 3> boards;
};

struct CHandHistoryRecord
{
    int64_t id = 0;
    wchar_t nvar = L'0';
    std::wstring hh;
};
