#include "live/CRoomTable.h"

CRoomTable::CRoomTable()
{
    for (int i = 0; i < kRoomCount; ++i) {
        m_rooms[static_cast<size_t>(i)].roomNumber = i;
    }
}
