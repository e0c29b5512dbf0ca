// The room table: one record per room number 0 to 19. Room numbers are the
// program's own numbering of the rooms it can watch; they are neither site
// codes nor database ids. What each room is (its name, where its folders come
// from, whether it is watched) is in the room registry (foundation/Rooms.h);
// the constants below name the registry's room numbers. Main thread only.
#pragma once

#include "foundation/Rooms.h"
#include "live/CPokerRoom.h"

#include <array>

enum RoomNumber : int
{
    kRoomPartyPoker = 0,
    kRoomPokerStars = 1,
    kRoomPoker888 = 2,
    kRoomRedStar = 4,
    kRoomTitan = 8,
    kRoomIPoker = 9,
    kRoomUpoker = 10,
    kRoomPPPoker = 11,
    kRoomPokerBros = 12,
    kRoomSuprema = 16,
};

inline constexpr int kRoomCount = 20;

class CRoomTable
{
public:
    // Twenty empty records, each knowing its room number.
    CRoomTable();

    // Requires: 0 <= number < kRoomCount.
    CPokerRoom& Room(int number) { return m_rooms.at(static_cast<size_t>(number)); }
    const CPokerRoom& Room(int number) const { return m_rooms.at(static_cast<size_t>(number)); }

    // The registry's row of room `number`; null for a number no room has.
    static const CRoomInfo* Info(int number) { return RoomOfNumber(number); }

private:
    std::array<CPokerRoom, kRoomCount> m_rooms;
};
