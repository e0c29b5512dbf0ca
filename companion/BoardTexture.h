// Board texture: how suited, paired, low and connected a board is on the flop,
// the turn and the river, packed into one 32-bit value stored with every hand.
// Thread-safe.
#pragma once

#include "companion/OstrandExport.h"

#include <vector>

// The texture of `board` (card numbers, dealing order): the OR of four parts,
// each the OR of a flop, a turn and a river value.
//   suits      0x3F       flop 2 two-suited, 3 monotone; turn 4, 8, 12; river 16, 32, 48
//   pairs      0x3FC0     flop 128 paired, 192 trips; turn 384..1216; river 2048..14336
//   low cards  0xFC000    distinct ranks ace to eight: flop 0x4000 per rank; turn, river
//   straights  0xFF00000  flop 0x100000..0x300000; turn 0x400000..0x1400000; river
//                         0x2000000..0xE000000 by the two-card rank pairs that straighten
// 0 for fewer than three or more than five cards, and for a card that is not
// 0..51 or appears twice.
VX_COMPANION_EXPORT int ClassifyBoard(const std::vector<int>& board);
