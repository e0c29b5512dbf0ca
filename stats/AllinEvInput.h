// What the all-in EV computation of one hand works on, and the game-kind facts it
// needs. Plain values; the parse strategy fills one per all-in hand.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct AllinEvPlayer
{
    int32_t handPlayerId = 0;
    int32_t startCash = 0;  // cents
    uint64_t cardsMask = 0;
};

struct AllinEvInput
{
    int32_t heroIndex = -1;  // into players
    int32_t gameKind = 0;
    double heroNetWin = 0;  // cents
    double ev = 0;          // result: expected net win, currency units
    double diff = 0;        // result: heroNetWin / 100 - ev
    int32_t heroInvested = 0;
    int32_t totalPot = 0;
    int32_t rake = 0;
    std::wstring handNumber;
    uint64_t boardMask = 0;                               // board cards known at the all-in
    std::array<int32_t, 5> board = {-1, -1, -1, -1, -1};  // those cards, -1 beyond them
    int32_t allinStreet = 0;                              // 1 preflop, 2 flop, 3 turn
    int32_t holeCount = 0;
    int32_t variant = 0;
    std::vector<int32_t> pots;  // cents, the main pot first
    std::vector<AllinEvPlayer> players;
};

// Hole cards per player and equity variant of a game kind: 0 high, 1 hi-lo, and
// 10 and 11 for the games that show one board card before the flop.
struct CHoleCards
{
    int holeCount = 0;
    int variant = 0;
};

// The equity facts of `gameKind`; empty for a kind without all-in equity.
std::optional<CHoleCards> HoleCardsForKind(int gameKind);

// Board cards known at an all-in on `street` (1 preflop, 2 flop, 3 turn): none
// before the flop unless the variant shows a card early, then 3 and 4.
int KnownBoardCards(int street, int variant);
