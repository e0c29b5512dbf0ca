// Turns the facts a parse strategy knows at the end of an all-in hand into the
// input of the all-in EV computation. Pure function; thread-safe.
#pragma once

#include "stats/AllinEvInput.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CAllinHandPlayer
{
    int32_t handPlayerId = 0;
    int32_t startCash = 0;   // cents
    std::vector<int> cards;  // hole cards as dealt or shown, in hand-history order
    uint64_t cards64 = 0;    // the stored card mask, 0 when none was stored
    bool hero = false;
    bool stillIn = false;  // had not folded when the all-in was called
    int32_t netWin = 0;    // cents
    int32_t bet = 0;       // cents, everything put in
};

struct CAllinHandFacts
{
    int32_t gameKind = 0;
    int32_t allinStreet = 0;  // 1 preflop, 2 flop, 3 turn
    std::wstring handNumber;
    int32_t totalPot = 0;
    int32_t rake = 0;
    std::vector<int> board;     // the common board, dealing order
    std::vector<int32_t> pots;  // the hand's pot list, main pot first; may be empty
    int32_t lastPotAmount = 0;  // the last pot row written, used without a pot list
    std::vector<CAllinHandPlayer> players;
};

// The input for ComputeAllinEv; empty when the game kind has no all-in equity
// (game kind 2 among them) or when the hero and at least one opponent are not
// still in with known cards.
std::optional<AllinEvInput> BuildAllinEvInput(const CAllinHandFacts& facts);
