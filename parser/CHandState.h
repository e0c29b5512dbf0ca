// The parsed record of one hand while its lines are read: the rows to store
// and the working values of the line loop. Reset at every hand start.
#pragma once

#include "foundation/records/CGameTypeRecord.h"
#include "foundation/records/CHandPlayerRecord.h"
#include "foundation/records/CHandRecord.h"
#include "foundation/records/CHandRows.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kroHandParser {

struct CHandState
{
    CGameTypeRecord gameType;
    CHandRecord hand;
    std::vector<CHandPlayerRecord> players;
    std::vector<CActionRecord> actions;
    // Pot amounts in pot order, for all-in EV.
    std::vector<int32_t> potList;
    int32_t lastPotAmount = 0;
    CRunItTwiceRecord runItTwice;
    bool runItTwiceStored = false;

    std::wstring handNumberText;
    int currency = -1;

    // Per player, by index in `players`: the street of the last voluntary
    // action + 1 (0 after a fold), and 0 none / 1 folded / 2 showed or mucked.
    std::vector<int> streetState;
    std::vector<int> showdownState;
    // What each player put in (by name): posts and the four streets; and what
    // each collected.
    std::map<std::wstring, int32_t> posts;
    std::array<std::map<std::wstring, int32_t>, 4> streets;
    std::map<std::wstring, int32_t> collected;

    int street = 0;
    int buttonSeat = 0;
    int32_t bigBlindPosted = 0;
    int heroIndex = -1;
    // Line numbers (less the discount) at which flop, turn, river and show
    // down began; the discount counts "shows" lines and hero cash-out lines.
    std::array<int, 4> streetLine{};
    int discount = 0;
    int lineNumber = 0;
    int firstSplitStreet = 0;
    int showsCount = 0;
    bool showdownSeen = false;
    bool summarySeen = false;
    bool seatsAccepted = false;
    bool firstSmallBlind = true;
    bool firstBigBlind = true;
    bool club = false;
    bool gg = false;
    bool rupees = false;  // amounts written "Rs. 12.50"
    // A pot line was read (total pot and rake are known); the hand was
    // cancelled ("Hand cancelled"); why the hand must not be stored, when its
    // lines were found damaged (the first reason found).
    bool potLineSeen = false;
    bool cancelled = false;
    std::wstring rejectReason;
    int32_t cashOutFee = 0;
    // What each player paid the room as cash-out risk, by name.
    std::map<std::wstring, int32_t> riskPaid;
    int cashOutMode = 0;
    int32_t lastAnte = 0;
    int antePosts = 0;

    // Index of the player named `name`, or -1 (exact, case-sensitive).
    int PlayerIndex(std::wstring_view name) const
    {
        for (size_t i = 0; i < players.size(); ++i) {
            if (players[i].name == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
};

}  // namespace kroHandParser
