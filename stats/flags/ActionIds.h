// Ids of the rows of the actions table that the flag passes tell apart, and the
// two questions every pass asks of an action: is it a player's decision, and
// does it deal a street.
#pragma once

namespace kroStats {

enum ActionId : int
{
    kActAnte = 1,
    kActSmallBlind = 2,
    kActSecondSmallBlind = 3,
    kActBigBlind = 4,
    kActBothBlinds = 5,
    kActCalls = 6,
    kActRaises = 7,
    kActBets = 8,
    kActFolds = 10,
    kActChecks = 11,
    kActCompletes = 14,
    kActUncalledBet = 15,
    kActShowDown = 16,
    kActFlopEt = 18,
    kActFlopCards = 19,
    kActTurnCards = 20,
    kActRiverCards = 21,
    kActFirstFlopCards = 22,
    kActFirstTurnCards = 23,
    kActFirstRiverCards = 24,
    kActSecondFlopCards = 25,
    kActSecondTurnCards = 26,
    kActSecondRiverCards = 27,
    kActThirdFlopCards = 31,
    kActThirdTurnCards = 32,
    kActThirdRiverCards = 33,
};

// True for the betting decisions a player makes in turn. Posts, dealt cards,
// uncalled bets, collections, shows, mucks and cash-outs are not decisions.
bool IsDecision(int idaction);

// The street (1 flop, 2 turn, 3 river) that a board event deals, on any of the
// boards of a hand run more than once; 0 for every other action.
int BoardStreet(int idaction);

}  // namespace kroStats
