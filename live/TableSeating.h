// Who sits where on a client's table as the HUD sees it, and which client
// window shows the table. The PokerStars client turns its tables so that the
// hero sits on his preferred seat; the HUD numbers its boxes by that turned
// view (position 0 is the first seat the client draws). Pure apart from the
// window search; main thread only.
#pragma once

#include "live/CAuditFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CPokerRoom;
class IWindowFinder;

// The hero's preferred seat for tables of `tableSize` seats, 0 when he has
// none. The client's nine numbers are kept by table size 0 to 8; sizes 2 to 8
// read their own entry, and the two entries no table size reads serve the
// tables the list leaves out: entry 1 the 9-seat tables, entry 0 the 10-seat
// ones.
int32_t PreferredSeat(const CPokerRoom& room, int tableSize);

// The names of `line` by position: the player on seat j + 1 goes to position
// preferred seat - hero seat + j, brought into 0 to n - 1. Without a preferred
// seat, with one larger than the table, or without a seated hero, the client
// draws the table as it is: seat s at position s - 1.
// Requires: 2 <= line.tableSize <= 10.
std::vector<std::wstring> NamesByPosition(const CAuditFile& line, int32_t preferredSeat);

// The client's window of table `tableName`: among the top-level windows of the
// room's client process whose class is one of the room's table window classes
// (for the PokerStars client under Wine, kPokerStarsTableWindowClasses),
// in the window system's order, the first whose title begins with the table
// name followed directly by " - " (class and title compared up to 99
// characters; the class without regard to ASCII case, as Wine keeps the case
// of the executable's name). 0 when there is none or the client is not
// running.
uint64_t FindTableWindow(IWindowFinder& windows,
                         const CPokerRoom& room,
                         const std::wstring& tableName);
